#pragma once
#include <string>

class Scene;

namespace hlvtool {

// A hidden 800x600 window with the player's device; true once it stands.
bool openHiddenWindow();

// Reads the scene file and writes one frame of it as a PNG picture; false
// with `error` naming the file on any failure.
bool renderFrame(const std::string& scenePath, int camera, float seconds, const std::string& picturePath,
                 std::string& error);

// The same for a scene in memory (post-loaded); `name` names it in errors.
bool renderSceneFrame(Scene& scene, const std::string& name, int camera, float seconds,
                      const std::string& picturePath, std::string& error);

// Writes what the window's 800x600 frame holds as a PNG picture.
bool writeFramePicture(const std::string& picturePath, std::string& error);

} // namespace hlvtool
