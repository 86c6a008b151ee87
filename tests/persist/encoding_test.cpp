#include <gtest/gtest.h>

#include "persist/encoding.h"
#include "tests/support/stored_bytes.h"

namespace {

std::vector<uint8_t> packed(unsigned int value)
{
    memory_pstream s;
    s.write(value);
    return s.bytes();
}

using Bytes = std::vector<uint8_t>;

} // namespace

TEST(Encoding, PackedUnsigned)
{
    EXPECT_EQ(packed(0), (Bytes{0x80}));
    EXPECT_EQ(packed(5), (Bytes{0x85}));
    EXPECT_EQ(packed(127), (Bytes{0xFF}));
    EXPECT_EQ(packed(128), (Bytes{0x00, 0x81}));
    EXPECT_EQ(packed(300), (Bytes{0x2C, 0x82}));
    EXPECT_EQ(packed(static_cast<unsigned int>(-1)), (Bytes{0x7F, 0x7F, 0x7F, 0x7F, 0x8F}));

    for (unsigned int v : {0u, 5u, 127u, 128u, 300u, 0xFFFFFFFFu}) {
        memory_pstream s(packed(v));
        unsigned int back = 1;
        s.read(back);
        EXPECT_EQ(back, v);
    }
}

TEST(Encoding, IndexLists)
{
    memory_pstream empty;
    std::vector<unsigned int> none;
    io_index_list(empty, true, none);
    EXPECT_EQ(empty.bytes(), (Bytes{0x80}));

    memory_pstream s;
    std::vector<unsigned int> values{4, 4, 2};
    io_index_list(s, true, values);
    EXPECT_EQ(s.bytes(), (Bytes{0x83, 0x84, 0, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
    std::vector<unsigned int> back;
    io_index_list(s, false, back);
    EXPECT_EQ(back, values);

}

// The 16-bit list: a packed count, the first index as an unsigned short,
// then each difference to the index before as a short, modulo 65536.
TEST(Encoding, ShortIndexListBytes)
{
    StoredBytes expected;
    expected.packed(4).u16(65535).i16(2).i16(-1).i16(300);  // 65535, then +2 wraps to 1, -1, +300
    memory_pstream in(expected.bytes());
    std::vector<unsigned short> read{7, 7};
    io_short_index_list(in, false, read);
    EXPECT_EQ(read, (std::vector<unsigned short>{65535, 1, 0, 300}));
    EXPECT_EQ(in.remaining(), 0u);

    memory_pstream out;
    io_short_index_list(out, true, read);
    EXPECT_EQ(out.bytes(), expected.bytes());

    memory_pstream none;
    std::vector<unsigned short> empty;
    io_short_index_list(none, true, empty);
    EXPECT_EQ(none.bytes(), (Bytes{0x80}));
}

TEST(Encoding, EmptyBoxReadsBackEmptyWhateverCornersFollow)
{
    Bytes bytes{1};
    const float corners[6] = {1, 2, 3, 4, 5, 6};
    const uint8_t* c = reinterpret_cast<const uint8_t*>(corners);
    bytes.insert(bytes.end(), c, c + sizeof corners);
    memory_pstream s(bytes);
    BoundingBox box;
    box.extend({9, 9, 9});
    io(s, false, box);
    EXPECT_TRUE(box.empty);
}

TEST(Encoding, BadInputFailsCleanly)
{
    // A string that runs into the end of the stream.
    memory_pstream unterminated(Bytes{'a', 'b'});
    std::string text = "kept";
    EXPECT_THROW(io(unterminated, false, text), persistent::exception);
    EXPECT_EQ(text, "kept");

    // A count larger than the stream could hold is refused before allocating.
    memory_pstream huge(Bytes{0x7F, 0x7F, 0x7F, 0x7F, 0x8F, 0x80});
    std::vector<unsigned int> list;
    EXPECT_THROW(io_index_list(huge, false, list), persistent::exception);

    // A packed unsigned may not run past five bytes.
    memory_pstream endless(Bytes{0, 0, 0, 0, 0, 0, 0x80});
    unsigned int v;
    EXPECT_THROW(endless.read(v), persistent::exception);
}
