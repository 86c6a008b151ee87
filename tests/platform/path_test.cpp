#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "platform/clock.h"
#include "platform/path.h"

TEST(Path, FileNamePartTakesWhatFollowsTheLastSeparatorOfEitherKind)
{
    EXPECT_STREQ(platform::fileNamePart("demo\\textures\\sky.jpg"), "sky.jpg");
    EXPECT_STREQ(platform::fileNamePart("demo/mixed\\sky.jpg"), "sky.jpg");
    EXPECT_STREQ(platform::fileNamePart("sky.jpg"), "sky.jpg");
    EXPECT_STREQ(platform::fileNamePart("demo\\"), "");
}

TEST(Path, RenameExtensionOnlyTouchesTheFileName)
{
    EXPECT_EQ(platform::renameExtension("demo\\sky.tga", ".jpg"), "demo\\sky.jpg");
    EXPECT_EQ(platform::renameExtension("demo\\sky", ".jpg"), "demo\\sky.jpg");
    // A dot in a folder name is not an extension.
    EXPECT_EQ(platform::renameExtension("demo.v2\\sky", ".jpg"), "demo.v2\\sky.jpg");
    EXPECT_EQ(platform::renameExtension("demo\\sky.old.tga", ".jpg"), "demo\\sky.old.jpg");
}

TEST(Path, ResourceNamesOpenThroughSlashes)
{
    EXPECT_EQ(platform::filesystemPath("demo\\objects\\cube.lwo"), "demo/objects/cube.lwo");

    mkdir("path_test_dir", 0755);
    FILE* out = std::fopen("path_test_dir/file.txt", "wb");
    ASSERT_NE(out, nullptr);
    std::fputs("x", out);
    std::fclose(out);
    FILE* in = platform::openResource("path_test_dir\\file.txt", "rb");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(std::fgetc(in), 'x');
    std::fclose(in);
    EXPECT_EQ(platform::openResource("path_test_dir\\missing.txt", "rb"), nullptr);
    std::remove("path_test_dir/file.txt");
    rmdir("path_test_dir");
}

TEST(Clock, ElapsedSecondsAcrossTheWrap)
{
    EXPECT_FLOAT_EQ(platform::elapsedSeconds(1000, 3500), 2.5f);
    EXPECT_FLOAT_EQ(platform::elapsedSeconds(0xFFFFFF00u, 0x100u), 0.511f);
    uint32_t a = platform::timeGetTime();
    uint32_t b = platform::timeGetTime();
    EXPECT_LT(platform::elapsedSeconds(a, b), 1.0f);
}
