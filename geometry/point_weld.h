#pragma once
#include <cstdint>
#include <vector>

#include "math/vector3.h"

namespace hlv {

// Coordinates closer than this on every axis are one point.
constexpr float kWeldTolerance = 0.00001f;

inline bool withinWeldTolerance(float a, float b)
{
    const float d = a - b;
    return d < kWeldTolerance && d > -kWeldTolerance;
}

// Welds points that sort next to each other by z, y, x and lie within the
// tolerance on every axis. Each run of such neighbours becomes one point at
// the position of the run's last member; welded points are numbered in sorted
// order and weldMap[i] gives the welded number of point i. Logs the counts
// before and after.
std::vector<Vector3f> weldPoints(const std::vector<Vector3f>& points, std::vector<uint32_t>& weldMap);

// Logs the size of a list before and after duplicates were merged.
void logMerge(size_t before, size_t after);

} // namespace hlv
