#include "tools/render/frame_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::string frameTimeSummary(std::vector<double> milliseconds)
{
    if (milliseconds.empty())
        return "frames 0";
    std::sort(milliseconds.begin(), milliseconds.end());
    size_t count = milliseconds.size();
    double median = count % 2 ? milliseconds[count / 2]
                              : 0.5 * (milliseconds[count / 2 - 1] + milliseconds[count / 2]);
    // Nearest-rank percentile: the smallest time that 99% of the frames do not exceed.
    size_t rank = static_cast<size_t>(std::ceil(0.99 * static_cast<double>(count)));
    double p99 = milliseconds[std::max<size_t>(rank, 1) - 1];
    char line[160];
    std::snprintf(line, sizeof line, "frames %zu, median %.2f ms, p99 %.2f ms, max %.2f ms", count, median, p99,
                  milliseconds.back());
    return line;
}
