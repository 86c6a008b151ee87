#pragma once
// The tool tests read numbers out of hlvtool's JSON lines.

#include <regex>
#include <string>

// The number after "key": in a JSON line, -1 when absent.
inline long jsonNumber(const std::string& json, const std::string& key)
{
    std::smatch match;
    if (!std::regex_search(json, match, std::regex("\"" + key + "\": (-?[0-9]+)")))
        return -1;
    return std::stol(match[1]);
}
