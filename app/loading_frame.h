#pragma once

// Draws and shows the one loading frame ("demo\loading.jpg" as a backdrop),
// then empties the timeline and the layer list again.
void showLoadingFrame();
