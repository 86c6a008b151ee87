#pragma once
// Deterministic value noise: the same seed gives the same field on every
// machine (integer hashing, no library random generator). Optional periods
// make a field tile so it can wrap on a repeating texture.

#include <cstdint>

namespace assetgen {

// A hash of three integers to 0..1.
float hash01(int32_t x, int32_t y, uint32_t seed);

struct NoiseField {
    uint32_t seed = 1;
    int periodX = 0;  // lattice cells before the field repeats; 0 = never
    int periodY = 0;

    // Smooth noise in 0..1 on a unit lattice.
    float value(float x, float y) const;
    // Sum of `octaves` layers, each twice the frequency and `gain` the weight
    // of the one before; normalised to 0..1.
    float fbm(float x, float y, int octaves, float gain = 0.5f) const;
};

// A small counter-based generator for placing things (stars, windows).
class Sequence {
public:
    explicit Sequence(uint32_t seed) : state_(seed) {}
    float next();                        // 0..1
    float range(float lo, float hi) { return lo + (hi - lo) * next(); }
    int below(int n);

private:
    uint32_t state_;
};

} // namespace assetgen
