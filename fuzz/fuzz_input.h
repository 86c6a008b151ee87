#pragma once
// Helpers shared by the fuzz targets.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "log/logger.h"

namespace fuzz {

// Readers log every refusal; at a hundred thousand inputs a second that
// output would cost more than the reading.
inline void silenceLogs()
{
    hlv::setLogger(new hlv::Logger, true);
}

// A file of this process for readers that only take paths; several fuzzing
// jobs may run at once, so each process picks its own names.
inline std::string scratchPath(const char* suffix)
{
    static const std::string stem = [] {
        std::random_device random;
        return (std::filesystem::temp_directory_path() / ("skydrift-fuzz-" + std::to_string(random()))).string();
    }();
    return stem + suffix;
}

inline bool writeScratch(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace fuzz
