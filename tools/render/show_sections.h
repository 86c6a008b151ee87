#pragma once
#include <string>
#include <vector>

// The sections of the show by their start times, for reports.
struct ShowSection {
    const char* name;
    float start;  // seconds
};
const std::vector<ShowSection>& showSections();

// The index in showSections() of the section playing at `seconds`.
size_t sectionAt(float seconds);

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
