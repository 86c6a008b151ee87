#include "import/lws_motion.h"

#include "import/importer_context.h"

#include <algorithm>

namespace LW {

namespace {

void expectKeyword(LineReader& lines, const char* keyword)
{
    lines.require();
    if (lines.token(0) != keyword)
        parseError("\n%sIncoherency, expecting '%s', found '%s'", indent(), keyword, lines.token(0).c_str());
}

// A line holding a key count.
int readKeyCount(LineReader& lines)
{
    lines.require();
    const int keyCount = readInteger(lines.token(0));
    if (keyCount < 0)
        parseError("\n%sNegative key count (%d).", indent(), keyCount);
    return keyCount;
}

// Versions 1 and 2: a line holding the channel count.
void expectChannelCount(LineReader& lines, int expected)
{
    lines.require();
    const int channels = readInteger(lines.token(0));
    if (channels != expected)
        parseError("\n%sExpected %d channels, found %d channels.", indent(), expected, channels);
}

Key readKey(const LineReader& lines)
{
    if (lines.token(0) != "Key" || lines.count() < 4)
        parseError("\n%sUnsupported keyframe format (%s)", indent(), lines.rest(0).c_str());
    Key key;
    key.value = readNumber(lines.token(1));
    key.time = readNumber(lines.token(2));
    key.shape = readInteger(lines.token(3));
    // LightWave writes six span parameters. A 2D Bezier key gives its two
    // handles first: incoming time and value offsets, then outgoing; the
    // other spans give tension, continuity and bias, then the tangents.
    float* const tcbFirst[7] = {&key.tension, &key.continuity, &key.bias, &key.params[0], &key.params[1],
                                &key.params[2], &key.params[3]};
    float* const handlesFirst[7] = {&key.params[0], &key.params[1], &key.params[2], &key.params[3],
                                    &key.tension, &key.continuity, &key.bias};
    float* const* order = key.shape == Envelope::Bezier2D ? handlesFirst : tcbFirst;
    for (size_t i = 4; i < lines.count() && i - 4 < 7; ++i)
        *order[i - 4] = readNumber(lines.token(i));
    return key;
}

} // namespace

Envelope readEnvelope(LineReader& lines)
{
    lines.require();
    if (lines.token(0) != "{" || lines.count() < 2 || lines.token(1) != "Envelope")
        parseError("\n%sUnsupported channel format", indent());
    const int keyCount = readKeyCount(lines);
    Envelope envelope;
    for (int k = 0; k < keyCount; ++k) {
        lines.require();
        envelope.appendKey(readKey(lines));
    }
    lines.require();
    if (lines.token(0) != "Behaviors")
        parseError("\n%sExpected 'Behaviors', found '%s'.", indent(), lines.token(0).c_str());
    envelope.preBehaviour = readInteger(lines.token(1));
    envelope.postBehaviour = readInteger(lines.token(2));
    lines.require();
    if (lines.token(0) != "}")
        parseError("\n%sExpected '}', found '%s'.", indent(), lines.token(0).c_str());
    return envelope;
}

void readMotionBlock(LineReader& lines, LwsScene::Object& item, int expectedChannels)
{
    expectKeyword(lines, "NumChannels");
    const int channels = readInteger(lines.token(1));
    if (channels != expectedChannels)
        parseError("\n%sExpected %d channels, found %d channels.", indent(), expectedChannels, channels);
    item.channels.clear();
    for (int c = 0; c < channels; ++c) {
        // Channel modifiers are plugin blocks between the channels.
        lines.require();
        while (lines.token(0) == "Plugin") {
            lines.skipBlock();
            lines.require();
        }
        lines.keep();
        expectKeyword(lines, "Channel");
        const int number = readInteger(lines.token(1));
        if (number != c)
            parseError("\n%sExpected channel %d, found channel %d.", indent(), c, number);
        item.channels.push_back(readEnvelope(lines));
    }
}

Envelope readLw5Envelope(LineReader& lines, float framesPerSecond)
{
    expectChannelCount(lines, 1);
    const int keyCount = readKeyCount(lines);
    const float secondsPerFrame = framesPerSecond > 0 ? 1.0f / framesPerSecond : 1.0f / 30.0f;
    Envelope envelope;
    for (int k = 0; k < keyCount; ++k) {
        lines.require();
        Key key;
        key.value = readNumber(lines.token(0));
        lines.require();
        key.time = readNumber(lines.token(0)) * secondsPerFrame;
        key.shape = readInteger(lines.token(1)) != 0 ? Envelope::Linear : Envelope::TCB;
        key.tension = readNumber(lines.token(2));
        key.continuity = readNumber(lines.token(3));
        key.bias = readNumber(lines.token(4));
        envelope.appendKey(key);
    }
    expectKeyword(lines, "EndBehavior");
    return envelope;
}

namespace {

// A version-2 key's span column. Version 2 keys carry tension, continuity
// and bias only, so every curved span is a TCB span (LightWave 6 shows the
// same keys as TCB); only the linear and stepped codes mean otherwise.
int versionTwoShape(int code)
{
    if (code == Envelope::Linear || code == Envelope::Stepped)
        return code;
    return Envelope::TCB;
}

// "Pre/PostBehavior" with a pre and a post behaviour per channel, in channel
// order, or the older "EndBehavior" that holds for every channel after the
// last key. Neither line need be there.
void readChannelBehaviours(LineReader& lines, std::vector<Envelope>& channels)
{
    if (!lines.next())
        return;
    if (lines.token(0) == "Pre/PostBehavior") {
        for (size_t c = 0; c < channels.size() && 2 + 2 * c < lines.count(); ++c) {
            channels[c].preBehaviour = std::clamp(readInteger(lines.token(1 + 2 * c)), 0, 5);
            channels[c].postBehaviour = std::clamp(readInteger(lines.token(2 + 2 * c)), 0, 5);
        }
    } else if (lines.token(0) == "EndBehavior") {
        const int behaviour = readInteger(lines.token(1));
        for (Envelope& envelope : channels)
            envelope.postBehaviour = behaviour == LwsScene::EndRepeat ? Envelope::Repeat
                                     : behaviour == LwsScene::EndReset ? Envelope::Reset
                                                                       : Envelope::Constant;
    } else {
        lines.keep();
    }
}

// Version 2 as LightWave 5.6 writes it: each channel in turn, its key count
// then one line per key: value, time (seconds), span, tension, continuity
// and bias. `firstCount` is the first channel's key count, already read.
void readChannelMajorMotion(LineReader& lines, LwsScene::Object& item, int channels, int firstCount)
{
    item.channels.clear();
    for (int c = 0; c < channels; ++c) {
        const int keyCount = c == 0 ? firstCount : readKeyCount(lines);
        Envelope envelope;
        for (int k = 0; k < keyCount; ++k) {
            lines.require();
            Key key;
            key.value = readNumber(lines.token(0));
            key.time = readNumber(lines.token(1));
            key.shape = versionTwoShape(readInteger(lines.token(2)));
            key.tension = readNumber(lines.token(3));
            key.continuity = readNumber(lines.token(4));
            key.bias = readNumber(lines.token(5));
            envelope.appendKey(key);
        }
        item.channels.push_back(envelope);
    }
    readChannelBehaviours(lines, item.channels);
}

} // namespace

void readLw5Motion(LineReader& lines, LwsScene::Object& item, float framesPerSecond)
{
    // Nine channels (position, rotation, scale); LightWave 5.6 writes a
    // camera's six, which has no scale.
    lines.require();
    const int channels = readInteger(lines.token(0));
    if (channels != 9 && channels != 6)
        parseError("\n%sExpected 9 or 6 channels, found %d channels.", indent(), channels);
    const int keyCount = readKeyCount(lines);
    // Keys of all channels at once have nine values on their first line; a
    // channel's own keys have six, and an empty first channel is followed
    // by the next channel's count rather than "EndBehavior". Only
    // LightWave 5.6 writes six channels, and always a channel at a time.
    lines.require();
    const bool channelMajor =
        channels == 6 || (keyCount > 0 ? lines.count() == 6 : lines.token(0) != "EndBehavior");
    lines.keep();
    if (channelMajor) {
        readChannelMajorMotion(lines, item, channels, keyCount);
        return;
    }
    const float secondsPerFrame = framesPerSecond > 0 ? 1.0f / framesPerSecond : 1.0f / 30.0f;
    item.lw5Position.clear();
    item.lw5Rotation.clear();
    item.lw5Scale.clear();
    for (int k = 0; k < keyCount; ++k) {
        lines.require();
        float values[9];
        for (int i = 0; i < 9; ++i)
            values[i] = readNumber(lines.token(size_t(i)));
        lines.require();
        HermiteInterpolator::Ctrl ctrl;
        ctrl.time = readNumber(lines.token(0)) * secondsPerFrame;
        ctrl.linear = readInteger(lines.token(1)) != 0;
        ctrl.tension = readNumber(lines.token(2));
        ctrl.continuity = readNumber(lines.token(3));
        ctrl.bias = readNumber(lines.token(4));
        ctrl.value = {values[0], values[1], values[2]};
        item.lw5Position.push_back(ctrl);
        ctrl.value = {values[3], values[4], values[5]};  // heading, pitch, bank
        item.lw5Rotation.push_back(ctrl);
        ctrl.value = {values[6], values[7], values[8]};
        item.lw5Scale.push_back(ctrl);
    }
    lines.require();
    if (lines.token(0) != "EndBehavior")
        parseError("\n%sIncoherency, expecting '%s', found '%s'", indent(), "EndBehavior", lines.token(0).c_str());
    item.lw5Motion = true;
    item.lw5EndBehaviour = readInteger(lines.token(1));
}

} // namespace LW
