#pragma once
// Motion blocks of LightWave scene files: the channel envelopes of version 3
// and the keyframe lists of versions 1 and 2.

#include "import/lws_line_reader.h"
#include "import/lws_scene.h"

namespace LW {

// After "ObjectMotion", "CameraMotion" or "LightMotion": "NumChannels" and
// that many "Channel" envelopes, which must number `expectedChannels`.
void readMotionBlock(LineReader& lines, LwsScene::Object& item, int expectedChannels);

// "{ Envelope", the key count, the "Key" lines, "Behaviors" and "}": one
// channel, or the value of a keyword written "(envelope)".
Envelope readEnvelope(LineReader& lines);
// The same in versions 1 and 2: channel count 1, key count, per key a line
// with the value and one with frame, linear flag, tension, continuity and
// bias, then "EndBehavior".
Envelope readLw5Envelope(LineReader& lines, float framesPerSecond);

// Versions 1 and 2: a channel-count line, a key count, per key one line of
// nine values and one of frame, linear flag, tension, continuity and bias,
// and "EndBehavior". Frames become seconds; values stay as written. Or, as
// LightWave 5.6 writes version 2, each channel's keys in turn (six channels
// for a camera) and "Pre/PostBehavior" (see lws_motion.cpp), read into the
// item's channels.
void readLw5Motion(LineReader& lines, LwsScene::Object& item, float framesPerSecond);

} // namespace LW
