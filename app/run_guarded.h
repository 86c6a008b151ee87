#pragma once
#include <functional>

// Runs the program's body. A failure that escapes it (a file that cannot be
// loaded, a scene file that cannot be read) ends the program as a start-up
// failure does: desktop mode restored, an error box, exit code -1.
int runGuarded(const std::function<int()>& body);
