#include "app/show_script.h"

// The show's sections are added here as their brushes and assets arrive.
void BuildShow(bool) {}
