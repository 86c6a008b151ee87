#include "tools/assetgen/noise.h"

#include <cmath>

namespace assetgen {

namespace {

uint32_t mixBits(uint32_t h)
{
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

int wrap(int v, int period) { return period > 0 ? ((v % period) + period) % period : v; }

float fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }

} // namespace

float hash01(int32_t x, int32_t y, uint32_t seed)
{
    uint32_t h = mixBits(uint32_t(x) * 0x9E3779B1U ^ mixBits(uint32_t(y) * 0x85EBCA77U ^ mixBits(seed)));
    return float(h >> 8) / float(1u << 24);
}

float NoiseField::value(float x, float y) const
{
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float tx = fade(x - fx), ty = fade(y - fy);
    int x0 = wrap(ix, periodX), x1 = wrap(ix + 1, periodX);
    int y0 = wrap(iy, periodY), y1 = wrap(iy + 1, periodY);
    float a = hash01(x0, y0, seed), b = hash01(x1, y0, seed);
    float c = hash01(x0, y1, seed), d = hash01(x1, y1, seed);
    float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float NoiseField::fbm(float x, float y, int octaves, float gain) const
{
    NoiseField layer = *this;
    float sum = 0, weight = 1, total = 0, scale = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += layer.value(x * scale, y * scale) * weight;
        total += weight;
        weight *= gain;
        scale *= 2;
        layer.seed = layer.seed * 747796405U + 2891336453U;
        layer.periodX *= 2;
        layer.periodY *= 2;
    }
    return sum / total;
}

float Sequence::next()
{
    state_ = mixBits(state_ + 0x9E3779B9U);
    return float(state_ >> 8) / float(1u << 24);
}

int Sequence::below(int n)
{
    int v = int(next() * float(n));
    return v < n ? v : n - 1;
}

} // namespace assetgen
