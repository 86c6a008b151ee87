#pragma once
// hlvtool's command line: the commands, the options each one takes, their
// help, and the words a mistake is told in. A command refuses an option it
// does not take, so that nothing given is silently ignored.

#include <string>
#include <vector>

namespace hlvtool {

struct Arguments {
    std::string command;
    std::vector<std::string> files;
    bool help = false;  // the command's own help, nothing else
    bool json = false;
    bool verbose = false;
    bool strict = false;
    bool sampled = false;        // export: motion as straight steps
    bool blenderLights = false;  // export: light intensities as Blender reads them
    std::vector<std::string> search;  // every --search, in the order given
    std::string out;
    std::string camera;
    std::string time;
    std::string frame;
    std::string fps;
    std::string size;
    std::string samples;
    std::string subdivide;
};

// Reads `hlvtool COMMAND [FILE | --option VALUE | --option=VALUE]...`;
// false with `error` (one line) on a usage problem.
bool parseCommandLine(int argc, char** argv, Arguments& args, std::string& error);

bool findsCommand(const std::string& name);

// Every command's help, as `hlvtool --help` prints it.
std::string fullHelp();
// One command's help (`hlvtool COMMAND --help`), empty for an unknown one.
std::string commandHelp(const std::string& command);

} // namespace hlvtool
