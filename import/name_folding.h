#pragma once
// File names as LightWave's own file systems compared them: without regard
// to case, and written in Latin-1 where the disk now holds UTF-8.

#include <map>
#include <string>

namespace LW {

// The name in UTF-8: as it is when it is valid UTF-8, else read as Latin-1.
std::string utf8Name(const std::string& name);

// The name with its letters folded to lower case (ASCII and the Latin-1
// letters), for comparing; a Latin-1 name folds as its UTF-8 form.
std::string foldedName(const std::string& name);

// Folders' entries by their folded names, each folder listed once.
class FoldedFolders {
public:
    // The entry of `folder` (a file-system path) whose name folds as
    // `name` does: the exact name when it is there, else the first such
    // entry in byte order. Empty when there is none.
    std::string entry(const std::string& folder, const std::string& name);

private:
    std::map<std::string, std::map<std::string, std::string>> listings_;
};

} // namespace LW
