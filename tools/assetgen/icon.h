#pragma once
// The program's icon: the sun emblem of the shadow section (a twelve-rayed
// star with a round window, a bead in it and a halo ring) on a dusk disc.

#include <string>
#include <vector>

namespace assetgen {

// The pixel sizes desktops ask for, each written as a PNG.
extern const std::vector<int> kIconSizes;

// Writes FOLDER/hicolor/NxN/apps/NAME.png for each size and
// FOLDER/hicolor/scalable/apps/NAME.svg, laid out as the icon theme is.
void writeIcons(const std::string& folder, const std::string& name);

} // namespace assetgen
