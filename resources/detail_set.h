#pragma once
// The high-detail set: the show's pictures and scenes drawn again by the
// asset generator at twice the size (scene textures included), kept under
// hd\ beside demo\ with the same names. A frame larger than the 800x600
// layout reads its files from there; the 800x600 frame always reads the pack
// as it is. Names stay the keys everywhere: only the file read changes.

#include <string>

namespace detailset {

// Picture pixels per layout pixel in the set.
constexpr unsigned kScale = 2;
// Prefix of a name's twin in the set: "demo\backs\1.jpg" -> "hd\demo\backs\1.jpg".
constexpr const char* kFolder = "hd\\";

// In use for a frame of width x height pixels larger than the layout on
// either side, from now on. Chosen once the frame is made, before anything
// is loaded; loader threads only read the choice.
void chooseFor(unsigned frameWidth, unsigned frameHeight);
void use(bool inUse);
bool inUse();

// The file to read for resource `name`: its twin in the set when the set is
// in use and holds one, else `name` itself.
std::string fileOf(const std::string& name);

// True when `file` (as fileOf returned it) is a twin from the set.
bool isTwin(const std::string& file);

} // namespace detailset
