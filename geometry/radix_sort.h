#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace hlv {

// A stable radix sort, lowest byte first, that produces a permutation instead
// of moving data: after a sort, ranks()[i] is the index of the i-th smallest
// key. Each sort starts from the order the previous one left, so sorting
// points by x, then y, then z orders them by z, then y, then x. The order
// restarts from the identity when the key count changes or after reset().
//
// Keys are read with a stride (in keys) so that one field of a record array,
// such as the x of a Vector3<float> array, can be sorted in place.
class RadixSort {
public:
    // Unsigned 32-bit keys.
    RadixSort& sort(const uint32_t* keys, size_t count, size_t stride = 1);
    // Floats by their IEEE bits, negative values ordered correctly.
    RadixSort& sort(const float* keys, size_t count, size_t stride = 1);

    const std::vector<uint32_t>& ranks() const { return ranks_; }
    void reset() { ranks_.clear(); }

    // The unsigned key whose order matches the float's numeric order.
    static uint32_t floatKey(float value);

private:
    template <typename KeyOf>
    void sortKeys(size_t count, KeyOf keyOf);

    std::vector<uint32_t> ranks_;
    std::vector<uint32_t> keys_;  // in rank order during a sort
    std::vector<uint32_t> scratchRanks_;
    std::vector<uint32_t> scratchKeys_;
};

} // namespace hlv
