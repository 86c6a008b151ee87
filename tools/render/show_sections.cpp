#include "tools/render/show_sections.h"

#include <cstdio>

#include "tools/render/frame_stats.h"

std::string SectionTimes::report() const
{
    std::string text;
    for (size_t i = 0; i < times_.size(); ++i) {
        if (times_[i].empty())
            continue;
        char head[64];
        std::snprintf(head, sizeof head, "section %-10s from %6.1f s: ", showSections()[i].name,
                      static_cast<double>(showSections()[i].start));
        text += head + frameTimeSummary(times_[i]) + "\n";
    }
    return text;
}
