#pragma once
// Small writers of LightWave scene files for the export tests, laid out as
// LightWave writes them: version 3 ("LWSC" 3, LightWave 6) with one envelope
// per channel, and version 1 (LightWave 5) with one key line of nine values
// and one of frame, linear flag, tension, continuity and bias per key.
#include <sstream>
#include <string>
#include <vector>

namespace lwsgen {

// "Key value time shape tension continuity bias p0 p1 p2 p3"; times in
// seconds. Hermite and Bezier keys hold their tangents in p0 (in) and p1 (out).
struct Key {
    float value = 0, time = 0;
    int shape = 0;
    float tension = 0, continuity = 0, bias = 0;
    float p[4] = {0, 0, 0, 0};
};

struct Channel {
    std::vector<Key> keys;
    int pre = 1, post = 1;  // Behaviors: 0 reset, 1 constant, 2 repeat, 3 oscillate, 4 offset, 5 linear
};

inline Channel still(float value)
{
    Channel c;
    c.keys.push_back(Key{value, 0});
    return c;
}

// One item: its adding line, motion keyword, nine channels (x, y, z,
// heading, pitch, bank in radians, scale x, y, z; cameras write the first
// six) and the lines after.
struct Item {
    std::string add, motion = "ObjectMotion", after;
    Channel channels[9] = {still(0), still(0), still(0), still(0), still(0), still(0), still(1), still(1), still(1)};
};

inline std::string envelopeText(const Channel& channel)
{
    std::ostringstream out;
    out << "{ Envelope\n  " << channel.keys.size() << "\n";
    for (const Key& k : channel.keys)
        out << "  Key " << k.value << " " << k.time << " " << k.shape << " " << k.tension << " " << k.continuity << " "
            << k.bias << " " << k.p[0] << " " << k.p[1] << " " << k.p[2] << " " << k.p[3] << "\n";
    out << "  Behaviors " << channel.pre << " " << channel.post << "\n}\n";
    return out.str();
}

inline std::string sceneV3(const std::vector<Item>& items, int firstFrame, int lastFrame, int framesPerSecond)
{
    std::ostringstream out;
    out.precision(9);
    out << "LWSC\n3\n\nFirstFrame " << firstFrame << "\nLastFrame " << lastFrame << "\nFrameStep 1\nFramesPerSecond "
        << framesPerSecond << "\n\n";
    for (const Item& item : items) {
        // Cameras have no scale channels.
        const int channels = item.motion == "CameraMotion" ? 6 : 9;
        out << item.add << "\n" << item.motion << "\nNumChannels " << channels << "\n";
        for (int c = 0; c < channels; ++c)
            out << "Channel " << c << "\n" << envelopeText(item.channels[c]);
        out << item.after << "\n";
    }
    return out.str();
}

// Version 1: one control point per key with all nine values.
struct Lw5Key {
    float values[9] = {0, 0, 0, 0, 0, 0, 1, 1, 1};  // x y z, heading pitch bank in degrees, scale
    int frame = 0;
    bool linear = false;
    float tension = 0, continuity = 0, bias = 0;
};

inline std::string lw5Motion(const std::string& keyword, const std::vector<Lw5Key>& keys, int endBehaviour)
{
    std::ostringstream out;
    out.precision(9);
    out << keyword << " (unnamed)\n  9\n  " << keys.size() << "\n";
    for (const Lw5Key& k : keys) {
        out << " ";
        for (float v : k.values)
            out << " " << v;
        out << "\n  " << k.frame << " " << (k.linear ? 1 : 0) << " " << k.tension << " " << k.continuity << " "
            << k.bias << "\n";
    }
    out << "EndBehavior " << endBehaviour << "\n";
    return out.str();
}

} // namespace lwsgen
