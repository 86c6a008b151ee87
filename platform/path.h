#pragma once
#include <cstdio>
#include <string>

namespace platform {

// Resource names keep their backslashes ("demo\cubes.hlv") everywhere; only
// these functions turn them into file-system paths.
std::string filesystemPath(const std::string& resourceName);
FILE* openResource(const std::string& resourceName, const char* mode);

// The file-name part of a path (after the last '\' or '/').
const char* fileNamePart(const char* path);

// Replaces the extension of `path` (from its last '.' after the last
// separator) by `extension` (with its dot), or appends it.
std::string renameExtension(const std::string& path, const char* extension);

} // namespace platform
