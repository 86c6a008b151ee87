#pragma once
#include <string>

#include "render/frame_layout.h"

class Scene;

namespace hlvtool {

// The frame the hidden window draws into: 800x600 with one sample unless
// set before the window opens.
void setFrame(FrameSize size, int samples);

// A hidden window with the player's device drawing into the frame; true
// once it stands.
bool openHiddenWindow();
// "no OpenGL window for <purpose>: <what failed>", after openHiddenWindow failed.
std::string noWindowMessage(const std::string& purpose);

// Reads the scene file and writes one frame of it as a PNG picture; false
// with `error` naming the file on any failure.
bool renderFrame(const std::string& scenePath, int camera, float seconds, const std::string& picturePath,
                 std::string& error);

// The same for a scene in memory (post-loaded); `name` names it in errors.
bool renderSceneFrame(Scene& scene, const std::string& name, int camera, float seconds,
                      const std::string& picturePath, std::string& error);

// Clockwise front faces only, nearest surfaces in front: how LightWave
// objects are drawn.
void startSolidDrawing();

// Writes what the frame holds as a PNG picture of its size.
bool writeFramePicture(const std::string& picturePath, std::string& error);

} // namespace hlvtool
