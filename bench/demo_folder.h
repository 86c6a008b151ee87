#pragma once
// Benchmarks that play the show run from build/ or build/bench: they look
// for demo/ there and one folder up.
#include <cstdio>
#include <filesystem>

// Makes the folder holding demo/ the working folder; false, with a message
// naming `program`, when there is none.
inline bool enterDemoFolder(const char* program)
{
    namespace fs = std::filesystem;
    if (!fs::is_directory("demo") && fs::is_directory("../demo"))
        fs::current_path("..");
    if (fs::is_directory("demo"))
        return true;
    std::fprintf(stderr, "%s: no demo/ here or one folder up\n", program);
    return false;
}
