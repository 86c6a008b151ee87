#pragma once
// Motion blocks of LightWave scene files: the channel envelopes of version 3
// and the keyframe lists of version 1.

#include "import/lws_line_reader.h"
#include "import/lws_scene.h"

namespace LW {

// After "ObjectMotion", "CameraMotion" or "LightMotion": "NumChannels" and
// that many "Channel" envelopes, which must number `expectedChannels`.
void readMotionBlock(LineReader& lines, LwsScene::Object& item, int expectedChannels);

// Version 1: a channel-count line, a key count, per key one line of nine
// values and one of frame, linear flag, tension, continuity and bias, and
// "EndBehavior". Rotations are in degrees there.
void readLw5Motion(LineReader& lines, LwsScene::Object& item, float framesPerSecond);

} // namespace LW
