#include <gtest/gtest.h>

#include <random>

#include "tests/import/lwo2_test_files.h"

using writers::Lwo2Bytes;
using writers::Lwo2ImageBlock;
using writers::Lwo2Surface;
using writers::Lwo2Writer;

namespace {

// An object that uses every chunk the loader knows.
std::vector<uint8_t> richObject()
{
    Lwo2Surface surface;
    surface.name = "Skin";
    Lwo2ImageBlock planar;
    planar.clip = 1;
    surface.blocks.push_back(planar);
    Lwo2ImageBlock uv;
    uv.projection = 5;
    uv.uvMap = "uvs";
    uv.channel = "DIFF";
    surface.blocks.push_back(uv);
    Lwo2Writer w;
    w.tags({"Skin", "Other"})
        .points({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5f, 0.5f, 1}})
        .polygons({{0, 1, 2, 3}, {0, 1, 4}, {1, 2, 4}, {2, 3}})
        .surfaceTags({{0, 0}, {1, 1}, {2, 0}})
        .vertexMap("TXUV", 2, "uvs", {{0, 0, {0, 0}}, {1, 0, {1, 0}}, {4, 0, {0.5f, 0.5f}}})
        .vertexMap("RGBA", 4, "paint", {{2, 0, {1, 1, 1, 1}}})
        .polygonVertexMap("TXUV", 2, "uvs", {{1, 1, {0.2f, 0.2f}}})
        .clip(1, "skin.png")
        .surface(surface);
    return w.bytes();
}

// Loads, and builds what loads, whatever the bytes; returns whether it loaded.
bool survives(const std::string& name, const std::vector<uint8_t>& bytes)
{
    bool failed = false;
    std::unique_ptr<hlv::RobustMesh> mesh = loadBuilt(saveObject(name, bytes), &failed);
    EXPECT_TRUE(failed || mesh) << "a form of LWO2 type loaded as null";
    EXPECT_STREQ(LW::indent(), "");
    return !failed;
}

void setFormLength(std::vector<uint8_t>& bytes)
{
    const uint32_t length = static_cast<uint32_t>(bytes.size() - 8);
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = static_cast<uint8_t>(length >> (24 - 8 * i));
}

} // namespace

TEST(Lwo2BadInput, TruncatedAndCorruptFilesFailCleanly)
{
    LoadCapture capture;
    const std::vector<uint8_t> whole = richObject();
    ASSERT_TRUE(survives("rich.lwo", whole));

    // Cut anywhere, with the FORM length fixed up so that the cut lands
    // inside chunks rather than failing the length check.
    int loaded = 0;
    for (size_t size = 0; size < whole.size(); ++size) {
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + size);
        if (size >= 8)
            setFormLength(cut);
        loaded += survives("cut.lwo", cut);
    }
    EXPECT_GT(loaded, 0);  // cuts between chunks still make objects
    EXPECT_TRUE(capture.log.contains("runs past the end of its container")) << capture.log.text;

    // Random byte damage, with a fixed seed.
    std::mt19937 random(1234);
    for (int round = 0; round < 400; ++round) {
        std::vector<uint8_t> damaged = whole;
        for (int hits = 0; hits < 4; ++hits)
            damaged[12 + random() % (damaged.size() - 12)] = static_cast<uint8_t>(random());
        survives("damaged.lwo", damaged);
    }
}

TEST(Lwo2BadInput, ReadsStayInsideTheirChunk)
{
    LoadCapture capture;
    // A point list whose size runs past the end of the file.
    std::vector<uint8_t> pastEnd = Lwo2Writer().chunk("PNTS", std::vector<uint8_t>(12)).bytes();
    pastEnd[19] = 0x30;  // size low byte: 48 bytes announced, 12 present
    EXPECT_FALSE(survives("past_end.lwo", pastEnd));
    EXPECT_TRUE(capture.log.contains("Error !! Chunk PNTS runs past the end of its container")) << capture.log.text;

    // A surface name without its terminator inside the chunk.
    EXPECT_FALSE(survives("unterminated.lwo", Lwo2Writer().chunk("SURF", {'S', 'k', 'i', 'n'}).bytes()));
    EXPECT_TRUE(capture.log.contains("Error !! Text without terminator")) << capture.log.text;

    // A polygon whose four-byte index is cut by the end of the chunk.
    Lwo2Bytes polygons;
    polygons.id4("FACE").u2(3).u2(0).u2(1).bytes({0xFF, 0x00});
    EXPECT_FALSE(survives("cut_vx.lwo", Lwo2Writer().points(squarePoints()).chunk("POLS", polygons.data()).bytes()));
    EXPECT_TRUE(capture.log.contains("Error !! Unexpected end of data")) << capture.log.text;

    // Indices of points that do not exist.
    EXPECT_FALSE(survives("bad_index.lwo", Lwo2Writer().points(squarePoints()).polygons({{1, 2, 70000}}).bytes()));
    EXPECT_TRUE(capture.log.contains("Error !! A polygon uses point 70000, but the object has only 5 points."))
        << capture.log.text;
    EXPECT_FALSE(survives("bad_vmap.lwo", Lwo2Writer()
                                              .points(squarePoints())
                                              .vertexMap("TXUV", 2, "uvs", {{9, 0, {0, 0}}})
                                              .bytes()));
    EXPECT_TRUE(capture.log.contains("Error !! Vertex map 'uvs' uses point 9")) << capture.log.text;

    // Sub-chunks nested without end (a surface inside a surface inside ...).
    Lwo2Bytes nested;
    for (int depth = 0; depth < 40; ++depth) {
        Lwo2Bytes outer;
        outer.s0("Skin").s0("").bytes(nested.data());
        nested = Lwo2Bytes();
        nested.subChunk("SURF", outer);
    }
    std::vector<uint8_t> deep(nested.data().begin() + 6, nested.data().end());
    EXPECT_FALSE(survives("deep.lwo", Lwo2Writer().tags({"Skin"}).surfaceTags({}).chunk("SURF", deep).bytes()));
    EXPECT_TRUE(capture.log.contains("Error !! Chunks are nested too deeply.")) << capture.log.text;
}
