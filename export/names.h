#pragma once
// Names as glTF readers take them: UTF-8 (LightWave writes Latin-1 or
// Windows-1252, which JSON cannot carry) and, within one list, each once.

#include <set>
#include <string>

namespace gltf_export {

// `text` unchanged when it is valid UTF-8, else read as Windows-1252.
std::string utf8Of(const std::string& text);

// Hands out names unique within one list: the first "Default" stays
// "Default", the next is "Default (2)", and so on.
class UniqueNames {
public:
    std::string take(const std::string& name);

private:
    std::set<std::string> taken_;
};

} // namespace gltf_export
