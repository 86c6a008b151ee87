#pragma once
#include <cstddef>
#include <vector>

// The sections of the show by their start times: for reports, and for the
// player, which changes its frame's size only where one section cuts to the next.
struct ShowSection {
    const char* name;
    float start;  // seconds
};
const std::vector<ShowSection>& showSections();

// The index in showSections() of the section playing at `seconds`.
size_t sectionAt(float seconds);
