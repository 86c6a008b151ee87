#pragma once
#include <string>

// Makes `folder`/demo with the assets start-up reads before the show
// (the loading picture), so that the program and the tools can run there.
// Returns `folder`.
std::string makeDemoFolder(const std::string& folder);
