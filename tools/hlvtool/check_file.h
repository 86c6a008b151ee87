#pragma once
// What `hlvtool check` finds out about one file: which kind of file it is,
// whether it opens, what it holds, and what it needs that is missing or
// cannot be read.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace hlvtool {

struct FileCheck {
    std::string path;     // as the survey names it: relative to the folder surveyed
    std::string kind;     // "object", "scene", "scene file"; empty for a file of no kind hlvtool reads
    std::string version;  // "LWO2", "LWSC 3", ...
    bool opened = false;
    std::string contents;  // what opened: counts of points, triangles, items, ...
    std::string error;     // why it did not open
    std::vector<std::string> missing;     // files it needs that are not found, each with what needs it
    std::vector<std::string> unreadable;  // files found that cannot be read
    std::vector<std::string> warnings;

    nlohmann::ordered_json toJson() const;
    static FileCheck fromJson(const nlohmann::json& json);
};

// The file's kind and version as its content says, without opening it (an
// empty kind for a file of no kind hlvtool reads).
FileCheck kindOfFile(const std::string& path);

// Opens the file at `path` as its content says (a file of no known kind
// comes back with an empty kind). Every failure is caught into the result.
// Scene files need the hidden window, opened here when one is found.
FileCheck checkFile(const std::string& path);

} // namespace hlvtool
