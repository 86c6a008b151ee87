#include "tools/assetgen/synth.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/noise.h"

namespace assetgen {

namespace {

using writers::XmInstrument;

constexpr double kRate = 44100.0;
constexpr double kTwoPi = 6.283185307179586;
// A period of 168 samples (262.5 Hz) loops cleanly; it sits 5.8 cents above
// C-4, which the finetune takes back.
constexpr int kPeriod = 168;
constexpr double kLoopPitch = kRate / kPeriod;
// 44.1 kHz is 28.79 semitones above the 8363 Hz of C-4.
constexpr int8_t kRelativeNote = 29;
constexpr int8_t kFinetuneNative = -27;
constexpr int8_t kFinetuneLooped = -34;

std::vector<int16_t> toSamples(const std::vector<double>& wave, double peak)
{
    double top = 1e-9;
    for (double v : wave)
        top = std::max(top, std::fabs(v));
    std::vector<int16_t> out(wave.size());
    for (size_t i = 0; i < wave.size(); ++i)
        out[i] = int16_t(std::lround(wave[i] / top * peak * 32767.0));
    return out;
}

XmInstrument base(const char* name, std::vector<int16_t> sample, bool looped)
{
    XmInstrument instrument;
    instrument.name = name;
    instrument.sample = std::move(sample);
    instrument.relativeNote = kRelativeNote;
    instrument.finetune = looped ? kFinetuneLooped : kFinetuneNative;
    if (looped) {
        instrument.loop = XmInstrument::Loop::Forward;
        instrument.loopStart = 0;
        instrument.loopLength = uint32_t(instrument.sample.size());
    }
    return instrument;
}

// A sum of harmonics with the given amplitudes over `cycles` periods of the
// loop pitch; detuned copies run a whole number of extra cycles per loop so
// the loop stays seamless.
std::vector<double> additiveLoop(int periods, const std::vector<double>& harmonics, const std::vector<int>& detuneCycles)
{
    std::vector<double> wave(size_t(periods) * kPeriod, 0.0);
    const double length = double(wave.size());
    for (int detune : detuneCycles)
        for (size_t h = 0; h < harmonics.size(); ++h) {
            double cycles = double((periods + detune) * int(h + 1));
            double phase = double(h * 7 + detune * 3) * 0.37;  // fixed phase spread
            for (size_t i = 0; i < wave.size(); ++i)
                wave[i] += harmonics[h] * std::sin(kTwoPi * cycles * double(i) / length + phase);
        }
    return wave;
}

XmInstrument kick()
{
    std::vector<double> wave(size_t(0.45 * kRate));
    double phase = 0;
    for (size_t i = 0; i < wave.size(); ++i) {
        double t = double(i) / kRate;
        double frequency = 44.0 + 120.0 * std::exp(-t * 28.0);
        phase += kTwoPi * frequency / kRate;
        double body = std::sin(phase) * std::exp(-t * 7.0);
        double click = (i < 90 ? std::sin(double(i) * 0.9) * (1 - double(i) / 90.0) * 0.35 : 0.0);
        wave[i] = std::tanh((body + click) * 1.6);
    }
    return base("kick", toSamples(wave, 0.95), false);
}

// Noise through a two-pole resonant band-pass (state-variable filter).
struct BandPass {
    double low = 0, band = 0;
    double run(double in, double cutoff, double q)
    {
        double f = 2 * std::sin(3.14159265 * std::min(cutoff, kRate / 6) / kRate);
        low += f * band;
        double high = in - low - q * band;
        band += f * high;
        return band;
    }
};

XmInstrument snare()
{
    Sequence random(44);
    std::vector<double> wave(size_t(0.35 * kRate));
    BandPass filter;
    for (size_t i = 0; i < wave.size(); ++i) {
        double t = double(i) / kRate;
        double noise = filter.run(random.next() * 2 - 1, 3200, 0.7) * std::exp(-t * 14.0);
        double tone = std::sin(kTwoPi * 185.0 * t) * std::exp(-t * 30.0) * 0.6;
        wave[i] = noise + tone;
    }
    return base("snare", toSamples(wave, 0.8), false);
}

XmInstrument hat(const char* name, double seconds, double decay, uint32_t seed)
{
    Sequence random(seed);
    std::vector<double> wave(size_t(seconds * kRate));
    double previous = 0;
    for (size_t i = 0; i < wave.size(); ++i) {
        double t = double(i) / kRate;
        double noise = random.next() * 2 - 1;
        double high = noise - previous;  // a first difference: only the top of the spectrum
        previous = noise;
        wave[i] = high * std::exp(-t * decay);
    }
    return base(name, toSamples(wave, 0.55), false);
}

XmInstrument bass()
{
    // Sine with a little odd-harmonic body, warm and round.
    XmInstrument instrument = base("bass", toSamples(additiveLoop(4, {1.0, 0.18, 0.22, 0.05, 0.07}, {0}), 0.9), true);
    instrument.volumeEnvelope = {{0, 64}, {12, 54}, {60, 44}};
    instrument.sustainPoint = 2;
    instrument.fadeout = 2400;
    return instrument;
}

XmInstrument pad()
{
    // Three detuned saws with their top rolled off: a soft string-like pad.
    std::vector<double> harmonics;
    for (int h = 1; h <= 18; ++h)
        harmonics.push_back(1.0 / h * std::exp(-double(h) * 0.16));
    std::vector<double> wave = additiveLoop(200, harmonics, {-1, 0, 1});
    XmInstrument instrument = base("pad", toSamples(wave, 0.7), true);
    instrument.volumeEnvelope = {{0, 0}, {40, 56}, {90, 64}, {200, 58}};
    instrument.sustainPoint = 3;
    instrument.fadeout = 500;
    return instrument;
}

XmInstrument lead()
{
    // A breathy flute: strong fundamental, soft even harmonics, a detuned
    // twin for width.
    std::vector<double> wave = additiveLoop(100, {1.0, 0.32, 0.12, 0.06, 0.03}, {0, 1});
    XmInstrument instrument = base("lead", toSamples(wave, 0.8), true);
    instrument.volumeEnvelope = {{0, 0}, {5, 64}, {24, 52}, {80, 46}};
    instrument.sustainPoint = 3;
    instrument.fadeout = 1100;
    return instrument;
}

XmInstrument pluck()
{
    // Karplus-Strong string at the loop pitch, tuned like the looped samples.
    Sequence random(808);
    std::vector<double> line(kPeriod);
    for (double& v : line)
        v = random.next() * 2 - 1;
    std::vector<double> wave(size_t(1.6 * kRate));
    for (size_t i = 0; i < wave.size(); ++i) {
        size_t k = i % kPeriod;
        double next = line[(k + 1) % kPeriod];
        double out = line[k];
        line[k] = 0.4985 * (out + next);
        wave[i] = out;
    }
    XmInstrument instrument = base("pluck", toSamples(wave, 0.85), false);
    instrument.finetune = kFinetuneLooped;
    return instrument;
}

XmInstrument bell()
{
    // Two-operator FM: a glassy bell whose brightness fades faster than its body.
    std::vector<double> wave(size_t(2.8 * kRate));
    for (size_t i = 0; i < wave.size(); ++i) {
        double t = double(i) / kRate;
        double index = 2.2 * std::exp(-t * 3.0);
        double modulator = std::sin(kTwoPi * kLoopPitch * 3.5 * t) * index;
        wave[i] = std::sin(kTwoPi * kLoopPitch * t + modulator) * std::exp(-t * 1.6) * std::min(1.0, t * 400);
    }
    XmInstrument instrument = base("bell", toSamples(wave, 0.8), false);
    instrument.finetune = kFinetuneLooped;
    return instrument;
}

XmInstrument riser()
{
    // 3.2 s of noise swept upwards through a resonant band, swelling.
    Sequence random(97);
    std::vector<double> wave(size_t(3.2 * kRate));
    BandPass filter;
    for (size_t i = 0; i < wave.size(); ++i) {
        double t = double(i) / wave.size();
        double cutoff = 300.0 * std::pow(30.0, t);
        double swell = t * t * (1.0 - std::pow(t, 40.0));
        wave[i] = filter.run(random.next() * 2 - 1, cutoff, 0.35) * swell;
    }
    return base("riser", toSamples(wave, 0.7), false);
}

XmInstrument crash()
{
    Sequence random(1234);
    std::vector<double> wave(size_t(2.6 * kRate));
    BandPass filter;
    double previous = 0;
    for (size_t i = 0; i < wave.size(); ++i) {
        double t = double(i) / kRate;
        double noise = random.next() * 2 - 1;
        double bright = noise - 0.6 * previous;
        previous = noise;
        wave[i] = (bright * 0.7 + filter.run(noise, 5200, 0.5) * 0.6) * std::exp(-t * 1.7);
    }
    return base("crash", toSamples(wave, 0.6), false);
}

} // namespace

std::vector<XmInstrument> showInstruments()
{
    std::vector<XmInstrument> list = {
        kick(), snare(), hat("hat closed", 0.09, 60.0, 7), hat("hat open", 0.45, 9.0, 8), bass(), pad(),
        lead(), pluck(), bell(), riser(), crash(),
    };
    // A little spread: plucks to the left, bells to the right.
    list[kPluck - 1].panning = 96;
    list[kBell - 1].panning = 168;
    list[kHatClosed - 1].panning = 150;
    list[kHatOpen - 1].panning = 150;
    return list;
}

} // namespace assetgen
