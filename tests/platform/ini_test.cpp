#include <gtest/gtest.h>

#include <cstdio>

#include "platform/ini.h"

namespace {

void writeFile(const char* path, const char* text)
{
    FILE* file = std::fopen(path, "wb");
    ASSERT_NE(file, nullptr);
    std::fputs(text, file);
    std::fclose(file);
}

} // namespace

TEST(Ini, ReadsTheKeyOfItsOwnSectionOnly)
{
    writeFile("ini_test.ini",
              "; display\r\n"
              "[Other]\r\n"
              "Freq=50\r\n"
              "[ sky_drift ]\r\n"
              "  FREQ = 75 \r\n"
              "Bad=abc\r\n"
              "Huge=99999999999\r\n");
    EXPECT_EQ(platform::readIniInt("ini_test.ini", "Sky_Drift", "Freq", 60), 75);
    EXPECT_EQ(platform::readIniInt("ini_test.ini", "Sky_Drift", "Bad", 60), 0);
    EXPECT_EQ(platform::readIniInt("ini_test.ini", "Sky_Drift", "Huge", 60), 2147483647);
    EXPECT_EQ(platform::readIniInt("ini_test.ini", "Sky_Drift", "Missing", 60), 60);
    EXPECT_EQ(platform::readIniInt("ini_test.ini", "Absent", "Freq", 60), 60);
    EXPECT_EQ(platform::readIniInt("no_such_file.ini", "Sky_Drift", "Freq", 60), 60);
    std::remove("ini_test.ini");
}
