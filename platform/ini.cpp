#include "platform/ini.h"

#include <cctype>
#include <cerrno>
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

// The leading integer of a value, as the profile functions read it:
// decimal or 0x-hexadecimal, optional sign, 0 when there is no number.
int integerValue(const std::string& value)
{
    const char* text = value.c_str();
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    int base = (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) ? 16 : 10;
    errno = 0;
    long long number = std::strtoll(base == 16 ? text + 2 : text, nullptr, base);
    if (errno == ERANGE || number > 0x7FFFFFFFLL)
        number = 0x7FFFFFFFLL;
    return static_cast<int>(negative ? -number : number);
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
