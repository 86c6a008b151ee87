#include "tools/hlvtool/json_object.h"

#include <cmath>

#include "tools/hlvtool/utf8_text.h"

namespace hlvtool {

namespace {

nlohmann::ordered_json number(double value)
{
    return std::isfinite(value) ? nlohmann::ordered_json(value) : nlohmann::ordered_json(nullptr);
}

} // namespace

JsonObject& JsonObject::add(const char* key, const std::string& text)
{
    value_[key] = utf8Text(text);
    return *this;
}

JsonObject& JsonObject::add(const char* key, const std::vector<std::string>& texts)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const std::string& text : texts)
        list.push_back(utf8Text(text));
    value_[key] = std::move(list);
    return *this;
}

JsonObject& JsonObject::add(const char* key, const JsonObject& object)
{
    value_[key] = object.value_;
    return *this;
}

JsonObject& JsonObject::addNull(const char* key)
{
    value_[key] = nullptr;
    return *this;
}

JsonObject& JsonObject::add(const char* key, long long number)
{
    value_[key] = number;
    return *this;
}

JsonObject& JsonObject::add(const char* key, double value)
{
    value_[key] = number(value);
    return *this;
}

JsonObject& JsonObject::add(const char* key, bool value)
{
    value_[key] = value;
    return *this;
}

JsonObject& JsonObject::add(const char* key, const std::vector<double>& numbers)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (double value : numbers)
        list.push_back(number(value));
    value_[key] = std::move(list);
    return *this;
}

JsonObject& JsonObject::add(const char* key, const std::vector<JsonObject>& objects)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const JsonObject& object : objects)
        list.push_back(object.value_);
    value_[key] = std::move(list);
    return *this;
}

// Invalid UTF-8 in names read from files is replaced rather than refused.
std::string JsonObject::text() const { return value_.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace); }

} // namespace hlvtool
