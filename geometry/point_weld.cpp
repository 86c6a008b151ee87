#include "geometry/point_weld.h"

#include "geometry/radix_sort.h"
#include "geometry/sorted_runs.h"
#include "log/logger.h"

namespace hlv {

static_assert(sizeof(Vector3f) == 3 * sizeof(float), "positions are sorted as strided float arrays");

void logMerge(size_t before, size_t after)
{
    log("\r\npoint cloud : %d pts => %d pts", static_cast<int>(before), static_cast<int>(after));
}

std::vector<Vector3f> weldPoints(const std::vector<Vector3f>& points, std::vector<uint32_t>& weldMap)
{
    std::vector<Vector3f> welded;
    weldMap.clear();
    if (!points.empty()) {
        RadixSort sorter;
        const float* coordinates = &points[0].x;
        sorter.sort(coordinates, points.size(), 3).sort(coordinates + 1, points.size(), 3).sort(coordinates + 2, points.size(), 3);

        auto close = [&points](uint32_t a, uint32_t b) {
            return withinWeldTolerance(points[a].x, points[b].x) && withinWeldTolerance(points[a].y, points[b].y) &&
                   withinWeldTolerance(points[a].z, points[b].z);
        };
        std::vector<uint32_t> lastOfRun;
        numberRuns(sorter.ranks(), close, weldMap, &lastOfRun);
        welded.reserve(lastOfRun.size());
        for (uint32_t member : lastOfRun)
            welded.push_back(points[member]);
    }
    logMerge(points.size(), welded.size());
    return welded;
}

} // namespace hlv
