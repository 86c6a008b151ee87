#pragma once
// Names in LightWave files are bytes in the code page of the machine that
// saved them (Windows-1252 on most); a terminal shows UTF-8.

#include <string>

namespace hlvtool {

// `text` with its valid UTF-8 kept and every other byte read as
// Windows-1252, so that "Caf\xE9" prints as "Café".
std::string utf8Text(const std::string& text);

} // namespace hlvtool
