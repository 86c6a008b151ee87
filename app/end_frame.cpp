#include "app/end_frame.h"

// Surfaces do not exist yet, so no surface can still be applied.
void endFrame() {}
