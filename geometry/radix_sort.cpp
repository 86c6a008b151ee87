#include "geometry/radix_sort.h"

#include <cstring>
#include <numeric>

namespace hlv {

uint32_t RadixSort::floatKey(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    // Negative floats grow in magnitude as their bits grow: flip them all so
    // they order backwards and below every positive value.
    return (bits & 0x80000000u) ? ~bits : bits | 0x80000000u;
}

template <typename KeyOf>
void RadixSort::sortKeys(size_t count, KeyOf keyOf)
{
    if (ranks_.size() != count) {
        ranks_.resize(count);
        std::iota(ranks_.begin(), ranks_.end(), 0u);
    }
    if (count < 2)
        return;

    // The keys travel with the ranks, so that only this gather reads them
    // out of order; the passes then stream through memory.
    keys_.resize(count);
    for (size_t i = 0; i < count; ++i)
        keys_[i] = keyOf(ranks_[i]);

    // One histogram per byte, all from a single walk over the keys.
    uint32_t histograms[4][256] = {};
    for (uint32_t key : keys_) {
        ++histograms[0][key & 0xFF];
        ++histograms[1][(key >> 8) & 0xFF];
        ++histograms[2][(key >> 16) & 0xFF];
        ++histograms[3][key >> 24];
    }

    scratchRanks_.resize(count);
    scratchKeys_.resize(count);
    for (int pass = 0; pass < 4; ++pass) {
        const uint32_t* histogram = histograms[pass];
        const unsigned shift = pass * 8;
        // A byte that every key shares cannot change the order.
        if (histogram[(keys_[0] >> shift) & 0xFF] == count)
            continue;
        uint32_t offsets[256];
        uint32_t sum = 0;
        for (int b = 0; b < 256; ++b) {
            offsets[b] = sum;
            sum += histogram[b];
        }
        for (size_t i = 0; i < count; ++i) {
            const uint32_t key = keys_[i];
            const uint32_t to = offsets[(key >> shift) & 0xFF]++;
            scratchRanks_[to] = ranks_[i];
            scratchKeys_[to] = key;
        }
        ranks_.swap(scratchRanks_);
        keys_.swap(scratchKeys_);
    }
}

RadixSort& RadixSort::sort(const uint32_t* keys, size_t count, size_t stride)
{
    sortKeys(count, [keys, stride](size_t i) { return keys[i * stride]; });
    return *this;
}

RadixSort& RadixSort::sort(const float* keys, size_t count, size_t stride)
{
    sortKeys(count, [keys, stride](size_t i) { return floatKey(keys[i * stride]); });
    return *this;
}

} // namespace hlv
