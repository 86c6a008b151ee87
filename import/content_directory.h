#pragma once
// Finding the files a LightWave scene names as LightWave's content directory
// finds them. Scenes name objects and images by the path on the machine that
// saved them ("D:\ship.lwo", "C:studio/props/lamp/lamp.lwo",
// "HD1:Objects/ship.lwo", "Objects/ship.lwo" while the scene is in
// "Scenes/"), so the path as written is only the first of many tries.

#include <string>
#include <vector>

namespace LW {

struct LwsScene;

// How the warning about a file not found begins in the log.
constexpr const char* kMissingFileWarning = "** Warning: the file ";
// How the warning about an object found but not read begins.
constexpr const char* kUnreadableObjectWarning = "** Warning: the object ";
// How the warning about a picture found but not decoded begins.
constexpr const char* kUndecodablePictureWarning = "** Warning: the picture ";

// Where the file named `written` is: as written when that is an absolute
// path; then with its drive or volume dropped and its leading folders
// dropped one at a time, under each search folder, the scene's folder and
// up to three folders above it (one of them is the content directory), each of
// those also with "Objects" and "Images" appended, which ends with the file
// name alone in the same folders. Names are matched exactly first; where no
// place has the exact name, each folder and file name is matched without
// regard to case, a Latin-1 name also as UTF-8, as LightWave's file systems
// did. Never from the working folder; an empty `sceneFolder` adds no folder. Empty when none exists. The result can
// be opened with platform::openResource.
std::string findContentFile(const std::string& written, const std::string& sceneFolder,
                            const std::vector<std::string>& searchFolders);

// The same for a file the scene at hand needs, with `neededBy` saying what
// needs it ("object item 3", "surface 'Hull'"). The file and where it was
// found are added to the scene's list of files. A file not found is one
// warning naming it and what needed it, and an empty result; with the
// scene's `strict` set, it is a load failure instead.
std::string locateSceneFile(LwsScene& scene, const std::string& written, const std::string& neededBy);

} // namespace LW
