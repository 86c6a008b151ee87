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

std::string numberText(double number)
{
    if (!std::isfinite(number))
        return "null";
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", number);
    return text;
}

template <typename T, typename Text>
std::string listText(const std::vector<T>& items, Text text)
{
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i)
        out += (i ? ", " : "") + text(items[i]);
    return out + "]";
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

JsonObject& JsonObject::add(const char* key, double number) { return raw(key, numberText(number)); }

JsonObject& JsonObject::add(const char* key, bool value) { return raw(key, value ? "true" : "false"); }

JsonObject& JsonObject::add(const char* key, const std::vector<double>& numbers)
{
    return raw(key, listText(numbers, numberText));
}

JsonObject& JsonObject::add(const char* key, const std::vector<JsonObject>& objects)
{
    return raw(key, listText(objects, [](const JsonObject& object) { return object.text(); }));
}

} // namespace hlvtool
