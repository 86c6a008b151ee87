#pragma once
// hlvtool check: surveys a folder of content. Every file that is a
// LightWave object or scene, or a scene file, by its content is opened on
// its own, in a process of its own, so that no file can stop the survey.

#include <string>

namespace hlvtool {

struct CheckRequest {
    std::string folder;
    bool json = false;     // one JSON object a line instead of text
    bool verbose = false;  // the importer's log on standard error
};

// Prints one line a file and a last line of totals; 0 when every file
// opened, 1 when any did not or the folder cannot be read.
int checkFolder(const CheckRequest& request);

} // namespace hlvtool
