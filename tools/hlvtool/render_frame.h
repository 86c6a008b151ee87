#pragma once
#include <string>

namespace hlvtool {

// A hidden 800x600 window with the player's device; true once it stands.
bool openHiddenWindow();

// Reads the scene file and writes one frame of it as a PNG picture; false
// with `error` naming the file on any failure.
bool renderFrame(const std::string& scenePath, int camera, float seconds, const std::string& picturePath,
                 std::string& error);

} // namespace hlvtool
