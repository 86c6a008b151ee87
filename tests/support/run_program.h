#pragma once
// Runs a shell command line in a folder of its own and collects what it did,
// for tests of the program and the tools.

#include <string>

struct ProgramRun {
    int exitCode = -1;   // as the shell reports it: 255 for exit(-1)
    std::string output;  // standard output
    std::string errors;  // standard error
};

// Runs `command` with /bin/sh in `folder` (created when missing).
ProgramRun runInFolder(const std::string& folder, const std::string& command);

// The whole content of a file, empty when it cannot be read.
std::string readWholeFile(const std::string& path);
