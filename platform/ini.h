#pragma once

namespace platform {

// Reads one integer from a Windows-style ini file, or `fallback` when the
// file, section or key is missing.
int readIniInt(const char* path, const char* section, const char* key, int fallback);

} // namespace platform
