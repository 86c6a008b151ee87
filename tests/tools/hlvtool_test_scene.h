#pragma once
// A LightWave scene written by the tests: two quad objects ("red.lwo" at
// (0, 0, 10), "green.lwo" at (20, 0, 10), each with a surface "Default"), a third item sharing "red.lwo"
// at (0, 100, 0) that carries the camera, and a camera that the envelopes
// move along x from 0 (at 0 s) to 20 (at 1 s), 100 below its carrier,
// looking along +z. Blue backdrop, fog far beyond the quads.
#include <string>

// Writes "scene.lws", "red.lwo" and "green.lwo" into `folder` (created).
// Returns the scene's path.
std::string writeTestLightWaveScene(const std::string& folder);

// The channels of a motion that holds an item at (x, y, z), unturned and
// unscaled: nine for an object, six (no scale) for a camera.
std::string placedMotion(float x, float y, float z, int channels = 9);
