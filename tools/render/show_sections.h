#pragma once
#include <string>
#include <vector>

#include "app/show_sections.h"

// Frame times gathered per section.
class SectionTimes {
public:
    SectionTimes() : times_(showSections().size()) {}
    void add(float seconds, double milliseconds) { times_[sectionAt(seconds)].push_back(milliseconds); }
    // One line per section that has frames: its name, start and frame-time summary.
    std::string report() const;

private:
    std::vector<std::vector<double>> times_;
};
