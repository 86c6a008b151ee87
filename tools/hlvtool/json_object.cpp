#include "tools/hlvtool/json_object.h"

#include <cmath>
#include <cstdio>

namespace hlvtool {

namespace {

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

} // namespace

JsonObject& JsonObject::raw(const char* key, const std::string& value)
{
    if (!body_.empty())
        body_ += ", ";
    body_ += quoted(key) + ": " + value;
    return *this;
}

JsonObject& JsonObject::add(const char* key, const std::string& text) { return raw(key, quoted(text)); }

JsonObject& JsonObject::add(const char* key, long long number) { return raw(key, std::to_string(number)); }

JsonObject& JsonObject::add(const char* key, double number)
{
    if (!std::isfinite(number))
        return raw(key, "null");
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", number);
    return raw(key, text);
}

JsonObject& JsonObject::add(const char* key, bool value) { return raw(key, value ? "true" : "false"); }

} // namespace hlvtool
