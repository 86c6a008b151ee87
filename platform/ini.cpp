#include "platform/ini.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>
#include <strings.h>

namespace platform {

namespace {

std::string trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// The leading decimal integer of a value, 0 when there is none; clamped to
// the int range rather than wrapped.
int integerValue(const std::string& value)
{
    long long number = std::strtoll(value.c_str(), nullptr, 10);
    if (number > INT_MAX)
        return INT_MAX;
    if (number < INT_MIN)
        return INT_MIN;
    return static_cast<int>(number);
}

} // namespace

int readIniInt(const char* path, const char* section, const char* key, int fallback)
{
    std::ifstream file(path);
    if (!file)
        return fallback;
    bool inSection = false;
    std::string line;
    while (std::getline(file, line)) {
        std::string text = trimmed(line);
        if (text.empty() || text[0] == ';')
            continue;
        if (text[0] == '[') {
            size_t close = text.find(']');
            std::string name = trimmed(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inSection = strcasecmp(name.c_str(), section) == 0;
            continue;
        }
        size_t equals = text.find('=');
        if (!inSection || equals == std::string::npos)
            continue;
        if (strcasecmp(trimmed(text.substr(0, equals)).c_str(), key) == 0)
            return integerValue(trimmed(text.substr(equals + 1)));
    }
    return fallback;
}

} // namespace platform
