#include "tools/render/show_sections.h"

#include <cstdio>

#include "tools/render/frame_stats.h"

const std::vector<ShowSection>& showSections()
{
    static const std::vector<ShowSection> sections = {
        {"intro", 0.0f},     {"shadows", 15.5f},    {"mosque", 42.5f},  {"cubes", 75.1f},
        {"metaballs", 93.6f}, {"landscape", 126.6f}, {"ending", 166.1f}, {"logo", 241.1f},
    };
    return sections;
}

size_t sectionAt(float seconds)
{
    const std::vector<ShowSection>& sections = showSections();
    size_t index = 0;
    while (index + 1 < sections.size() && seconds >= sections[index + 1].start)
        ++index;
    return index;
}

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
