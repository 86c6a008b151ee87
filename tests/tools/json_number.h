#pragma once
// The tool tests read values out of hlvtool's JSON lines.

#include <string>

#include <nlohmann/json.hpp>

namespace json_detail {

// The first value named `key` anywhere in the document, depth first.
inline const nlohmann::json* find(const nlohmann::json& value, const std::string& key)
{
    if (value.is_object()) {
        if (value.contains(key))
            return &value[key];
        for (const auto& item : value.items())
            if (const nlohmann::json* found = find(item.value(), key))
                return found;
    } else if (value.is_array()) {
        for (const auto& item : value)
            if (const nlohmann::json* found = find(item, key))
                return found;
    }
    return nullptr;
}

inline const nlohmann::json* find(const std::string& json, const std::string& key, nlohmann::json& document)
{
    document = nlohmann::json::parse(json, nullptr, false);
    return document.is_discarded() ? nullptr : find(document, key);
}

} // namespace json_detail

// The integer named `key` in a JSON text, -1 when absent.
inline long jsonNumber(const std::string& json, const std::string& key)
{
    nlohmann::json document;
    const nlohmann::json* found = json_detail::find(json, key, document);
    return found && found->is_number_integer() ? found->get<long>() : -1;
}

// The text named `key` in a JSON text; empty when absent, "<present>" for
// a value that is not text.
inline std::string jsonText(const std::string& json, const std::string& key)
{
    nlohmann::json document;
    const nlohmann::json* found = json_detail::find(json, key, document);
    if (!found)
        return "";
    return found->is_string() ? found->get<std::string>() : "<present>";
}
