#pragma once
// The cosine and the sine of one angle, from one library call whatever the
// compiler. gcc turns a sin and a cos of the same angle into one sincosf,
// clang keeps the two calls, and glibc's answers differ in the last bit for
// some angles: the pack would then depend on the compiler that built the
// generator.

#include <cmath>

namespace assetgen {

struct CosSin {
    float cos;
    float sin;
};

inline CosSin cosSin(float angle)
{
    CosSin result;
    ::sincosf(angle, &result.sin, &result.cos);
    return result;
}

} // namespace assetgen
