#include <gtest/gtest.h>

#include "audio/id3_chapters.h"
#include "tools/writers/mp3_writer.h"

TEST(Id3Chapters, MarksAreReadInTimeOrderAndBadTagsAreSafe)
{
    writers::Mp3Audio audio;
    audio.samples.assign(4410 * 2, 0);
    const std::vector<uint8_t> file = writers::encodeMp3(audio, {{"late", 900, 950}, {"early", 100, 200}});
    ASSERT_FALSE(file.empty());

    const std::vector<audio::ChapterMark> marks = audio::readChapterMarks(file.data(), file.size());
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].name, "early");
    EXPECT_EQ(marks[0].startMilliseconds, 100u);
    EXPECT_EQ(marks[1].name, "late");
    EXPECT_EQ(marks[1].startMilliseconds, 900u);

    // Every truncation of the tag reads only what is there.
    for (size_t size = 0; size < 120; ++size)
        EXPECT_LE(audio::readChapterMarks(file.data(), size).size(), 2u);

    // A frame claiming more bytes than the tag holds ends the reading.
    std::vector<uint8_t> oversized(file.begin(), file.end());
    oversized[10 + 4] = 0x7F;
    EXPECT_TRUE(audio::readChapterMarks(oversized.data(), oversized.size()).empty());

    // An unsynchronised tag is not read; a file without a tag has no marks.
    std::vector<uint8_t> unsynchronised(file.begin(), file.end());
    unsynchronised[5] = 0x80;
    EXPECT_TRUE(audio::readChapterMarks(unsynchronised.data(), unsynchronised.size()).empty());
    const std::vector<uint8_t> plain = writers::encodeMp3(audio);
    EXPECT_TRUE(audio::readChapterMarks(plain.data(), plain.size()).empty());
}
