#pragma once
// One JSON object, written field by field.

#include <string>
#include <vector>

namespace hlvtool {

class JsonObject {
public:
    JsonObject& add(const char* key, const std::string& text);
    JsonObject& add(const char* key, const char* text) { return add(key, std::string(text)); }
    JsonObject& add(const char* key, long long number);
    JsonObject& add(const char* key, int number) { return add(key, static_cast<long long>(number)); }
    JsonObject& add(const char* key, size_t number) { return add(key, static_cast<long long>(number)); }
    JsonObject& add(const char* key, unsigned number) { return add(key, static_cast<long long>(number)); }
    JsonObject& add(const char* key, double number);
    JsonObject& add(const char* key, bool value);
    // A list of numbers, or of objects.
    JsonObject& add(const char* key, const std::vector<double>& numbers);
    JsonObject& add(const char* key, const std::vector<JsonObject>& objects);
    std::string text() const { return "{" + body_ + "}"; }

private:
    JsonObject& raw(const char* key, const std::string& value);
    std::string body_;
};

} // namespace hlvtool
