#pragma once
#include <string>

// Finds the show's files (platform::findShowPack) and opens the show's
// names in them. When they are nowhere, says where it looked in one line
// on standard error, prefixed with `program`, and returns false.
bool openShowPack(const char* program, const std::string& chosenFolder);
