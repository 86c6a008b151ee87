#pragma once
// "1 camera", "2 cameras": counts as a person writes them.

#include <string>

namespace hlvtool {

inline std::string counted(size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace hlvtool
