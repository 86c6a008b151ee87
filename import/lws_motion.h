#pragma once
// Motion blocks of LightWave scene files: the channel envelopes of version 3
// and the keyframe lists of versions 1 and 2.

#include "import/lws_line_reader.h"
#include "import/lws_scene.h"

namespace LW {

// After "ObjectMotion", "CameraMotion" or "LightMotion": "NumChannels" and
// that many "Channel" envelopes, which must number `expectedChannels`.
void readMotionBlock(LineReader& lines, LwsScene::Object& item, int expectedChannels);

// Versions 1 and 2: a channel-count line, a key count, per key one line of
// nine values and one of frame, linear flag, tension, continuity and bias,
// and "EndBehavior". Frames become seconds; values stay as written.
void readLw5Motion(LineReader& lines, LwsScene::Object& item, float framesPerSecond);

} // namespace LW
