#pragma once
// Which name a surface's picture is found by. LightWave reads pictures in
// any format by their own name; the show keeps its pictures as JPEGs under
// the names its objects give with another extension.

#include <string>
#include <vector>

namespace LW {

// The picture's own name when the content directory finds it (see
// findContentFile); else the ".jpg" of that name when that is found; else
// the own name again, for the warning that names it.
std::string pictureName(const std::string& image, const std::string& folder, const std::vector<std::string>& search);

} // namespace LW
