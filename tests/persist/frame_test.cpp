#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "persist/encoding.h"

namespace {

using Bytes = std::vector<uint8_t>;

int g_destroyed = 0;

// A leaf class that counts its destructions.
class Leaf : public persistent {
public:
    static constexpr const char* kClassName = "class FrameTestLeaf";
    ~Leaf() override { ++g_destroyed; }
    void serialize(pstream& s, bool write) override { io(s, write, value); }
    const char* class_name() const override { return kClassName; }
    int value = 0;
};

// A class holding fields of several encodings and nested leaves.
class Holder : public persistent {
public:
    static constexpr const char* kClassName = "class FrameTestHolder";
    ~Holder() override
    {
        for (Leaf* leaf : leaves)
            delete leaf;
        ++g_destroyed;
    }
    void serialize(pstream& s, bool write) override
    {
        io(s, write, name);
        io(s, write, position);
        unsigned int count = static_cast<unsigned int>(leaves.size());
        if (write)
            s.write(count);
        else
            count = read_count(s, 1);
        leaves.resize(count, nullptr);
        for (Leaf*& leaf : leaves)
            io_object(s, write, leaf);
    }
    const char* class_name() const override { return kClassName; }
    std::string name;
    Vector3f position;
    std::vector<Leaf*> leaves;
};

dynamic::factory<Leaf> g_leafFactory;
dynamic::factory<Holder> g_holderFactory;

Bytes frameHeader(const std::string& className, short version)
{
    Bytes bytes(className.begin(), className.end());
    bytes.push_back(0);
    bytes.push_back(static_cast<uint8_t>(version & 0xFF));
    bytes.push_back(static_cast<uint8_t>(version >> 8));
    return bytes;
}

persistent::exception readError(memory_pstream& s)
{
    try {
        delete read_object(s);
    } catch (persistent::exception error) {
        return error;
    }
    ADD_FAILURE() << "the frame was read";
    return persistent::exception(0);
}

persistent::exception readError(const Bytes& bytes)
{
    memory_pstream s(bytes);
    return readError(s);
}

class Frames : public testing::Test {
protected:
    void SetUp() override { g_destroyed = 0; }
};

} // namespace

TEST_F(Frames, HeaderFailures)
{
    EXPECT_EQ(readError(Bytes{0, 'x', 0, 0, 0}), persistent::no_class_name);

    // An unknown class is refused before anything after its name is read.
    Bytes unknown = frameHeader("class Nobody", 0);
    memory_pstream s(unknown);
    EXPECT_EQ(readError(s), persistent::class_not_registered);
    EXPECT_EQ(s.remaining(), 2u);

    // Ends right after the class name, or inside the version: the object
    // that was made is deleted again.
    Bytes nameOnly = frameHeader(Leaf::kClassName, 0);
    nameOnly.resize(nameOnly.size() - 2);
    EXPECT_EQ(readError(nameOnly), persistent::read_failed);
    nameOnly.push_back(0);
    EXPECT_EQ(readError(nameOnly), persistent::read_failed);
    EXPECT_EQ(g_destroyed, 2);

    EXPECT_EQ(readError(frameHeader(Leaf::kClassName, 1)), persistent::bad_version);
    EXPECT_EQ(g_destroyed, 3);

    // A name that runs into the end of the stream stops there.
    EXPECT_EQ(readError(Bytes{'c', 'l', 'a'}), persistent::read_failed);
    EXPECT_EQ(g_destroyed, 3);
}

TEST_F(Frames, NestedRoundTrip)
{
    Holder holder;
    holder.name = "outer";
    holder.position.set(1, 2, 3);
    for (int v : {7, -8}) {
        holder.leaves.push_back(new Leaf);
        holder.leaves.back()->value = v;
    }
    memory_pstream s;
    write_object(s, holder);

    Bytes expectedStart = frameHeader(Holder::kClassName, 0);
    ASSERT_GT(s.bytes().size(), expectedStart.size());
    EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), s.bytes().begin()));

    std::unique_ptr<persistent> read(read_object(s));
    Holder* back = dynamic_cast<Holder*>(read.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->name, "outer");
    EXPECT_EQ(back->position, Vector3f(1, 2, 3));
    ASSERT_EQ(back->leaves.size(), 2u);
    EXPECT_EQ(back->leaves[0]->value, 7);
    EXPECT_EQ(back->leaves[1]->value, -8);
    EXPECT_EQ(s.remaining(), 0u);
}

TEST_F(Frames, NestedErrorsDeleteEveryObjectOnTheWay)
{
    Holder holder;
    holder.leaves.push_back(new Leaf);
    memory_pstream good;
    write_object(good, holder);

    // The leaf's frame claims version 1: the leaf and then the holder are
    // deleted, and the leaf's error comes out unchanged.
    Bytes bytes = good.bytes();
    size_t leafVersion = bytes.size() - 4 - 2;
    bytes[leafVersion] = 1;
    g_destroyed = 0;
    EXPECT_EQ(readError(bytes), persistent::bad_version);
    EXPECT_EQ(g_destroyed, 2);

    // Cut inside the leaf's body.
    Bytes cut = good.bytes();
    cut.resize(cut.size() - 1);
    g_destroyed = 0;
    EXPECT_EQ(readError(cut), persistent::truncated);
    EXPECT_EQ(g_destroyed, 2);

    // A nested frame of the wrong class: a holder where a leaf belongs.
    // Each holder body: empty name, zero position, then its leaf count.
    auto holderWith = [](uint8_t packedCount) {
        Bytes frame = frameHeader(Holder::kClassName, 0);
        frame.insert(frame.end(), 13, 0);
        frame.push_back(packedCount);
        return frame;
    };
    Bytes wrongBytes = holderWith(0x81);
    Bytes inner = holderWith(0x80);
    wrongBytes.insert(wrongBytes.end(), inner.begin(), inner.end());
    g_destroyed = 0;
    EXPECT_EQ(readError(wrongBytes), persistent::bad_data);
    EXPECT_EQ(g_destroyed, 2);
}
