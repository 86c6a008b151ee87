#include "app/loading_frame.h"

// Needs the bitmap manager and the backdrop brush; until they exist no
// loading frame is shown.
void showLoadingFrame() {}
