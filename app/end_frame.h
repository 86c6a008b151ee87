#pragma once

// Ends a presented frame: un-applies the surface that is still applied.
void endFrame();
