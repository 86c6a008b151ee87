#pragma once
// Where the show's generated files (the pack) are. The show names them
// "demo\loading.jpg" as it always has; once a pack folder is chosen those
// names open inside it, wherever the program is started from.

#include <string>
#include <vector>

namespace platform {

struct PackSearch {
    std::string folder;               // the pack's folder; empty when none was found
    std::vector<std::string> looked;  // every folder tried, in order
    std::string error;                // one line for the user when none was found
};

// Finds the pack. A folder the user named (`chosen`: the --data option, else
// SKYDRIFT_DATA) is the only place looked: a named folder that is not there
// is an error, never a silent switch to another pack. Otherwise, in order:
// the installed pack beside the program (../share/skydrift), the current
// folder's demo/, and the build tree's demo/ beside or above the program.
PackSearch findShowPack(const std::string& chosen);

// Same search from a given program folder and current folder (for tests).
PackSearch findShowPackFrom(const std::string& chosen, const std::string& programFolder,
                            const std::string& currentFolder);

// The folder the running program's file is in.
std::string programFolder();

// From now on "demo\..." resource names open in `folder`, and their
// high-detail twins "hd\demo\..." in its hd/ (as installed) or in the hd/demo/
// beside it (a build tree). An empty folder leaves them relative to the
// current folder.
void usePackFolder(const std::string& folder);

} // namespace platform
