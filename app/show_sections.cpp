#include "app/show_sections.h"

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
