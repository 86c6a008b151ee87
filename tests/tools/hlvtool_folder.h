#pragma once
// A fresh folder for one test of hlvtool, named after the test, removed
// afterwards; the tool runs in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/run_program.h"

struct HlvtoolFolder {
    explicit HlvtoolFolder(const std::string& prefix)
    {
        path = (std::filesystem::current_path() /
                (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                   .string();
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~HlvtoolFolder() { std::filesystem::remove_all(path); }
    ProgramRun run(const std::string& arguments) const
    {
        return runInFolder(path, std::string(SKYDRIFT_HLVTOOL) + " " + arguments);
    }
    std::string path;
};
