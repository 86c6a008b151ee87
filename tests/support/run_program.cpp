#include "tests/support/run_program.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string readWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

ProgramRun runInFolder(const std::string& folder, const std::string& command)
{
    std::filesystem::create_directories(folder);
    std::string absolute = std::filesystem::absolute(folder).string();
    // The exit code goes through a file: the shell's own status needs no decoding.
    std::string line = "cd '" + absolute + "' && { " + command + "; } >run.out 2>run.err; echo $? >run.rc";
    ProgramRun run;
    if (std::system(line.c_str()) != 0)
        return run;
    run.exitCode = std::atoi(readWholeFile(absolute + "/run.rc").c_str());
    run.output = readWholeFile(absolute + "/run.out");
    run.errors = readWholeFile(absolute + "/run.err");
    return run;
}
