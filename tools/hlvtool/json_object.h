#pragma once
// One JSON object, written field by field in order (nlohmann-json).

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace hlvtool {

class JsonObject {
public:
    // Names from files in a Windows code page are written as UTF-8.
    JsonObject& add(const char* key, const std::string& text);
    JsonObject& add(const char* key, const char* text) { return add(key, std::string(text)); }
    JsonObject& add(const char* key, long long number);
    JsonObject& add(const char* key, int number) { return add(key, static_cast<long long>(number)); }
    JsonObject& add(const char* key, size_t number) { return add(key, static_cast<long long>(number)); }
    JsonObject& add(const char* key, unsigned number) { return add(key, static_cast<long long>(number)); }
    // Non-finite numbers are written as null.
    JsonObject& add(const char* key, double number);
    JsonObject& add(const char* key, bool value);
    // A list of numbers, or of objects.
    JsonObject& add(const char* key, const std::vector<double>& numbers);
    JsonObject& add(const char* key, const std::vector<JsonObject>& objects);
    JsonObject& add(const char* key, const std::vector<std::string>& texts);
    JsonObject& add(const char* key, const JsonObject& object);
    JsonObject& addNull(const char* key);
    // Compact, numbers with every digit they need to read back the same.
    std::string text() const;

private:
    nlohmann::ordered_json value_ = nlohmann::ordered_json::object();
};

} // namespace hlvtool
