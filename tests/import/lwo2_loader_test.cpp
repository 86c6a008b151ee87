#include <gtest/gtest.h>

#include <filesystem>

#include "import/input_stream.h"
#include "tests/import/lwo2_test_files.h"

using writers::Lwo2Writer;

namespace {

float area(const hlv::RobustMesh& mesh, const hlv::IndexTriangle& t)
{
    const std::vector<Vector3f>& p = mesh.positions();
    return cross(p[t[1]] - p[t[0]], p[t[2]] - p[t[0]]).length() / 2;
}

} // namespace

TEST(Lwo2Loader, QuadBecomesTwoTaggedTriangles)
{
    LoadCapture capture;
    Lwo2Writer w;
    w.tags({"Default", "Red"}).points(squarePoints()).polygons({{1, 2, 3, 4}}).surfaceTags({{0, 1}});
    std::unique_ptr<hlv::RobustMesh> mesh = loadBuilt(saveObject("quad.lwo", w));
    ASSERT_TRUE(mesh);
    ASSERT_EQ(mesh->triangleCount(), 2u);
    EXPECT_EQ(mesh->positions().size(), 4u);  // the unused point is gone
    EXPECT_EQ(mesh->surfaceIds(), (std::vector<uint32_t>{1, 1}));
    EXPECT_FLOAT_EQ(area(*mesh, mesh->triangles()[0]) + area(*mesh, mesh->triangles()[1]), 1.0f);
    EXPECT_TRUE(capture.traced("\n  5 points.")) << tracedText();
    EXPECT_TRUE(capture.traced("\n  1 polygons read.")) << tracedText();
    EXPECT_TRUE(capture.traced("\n  Surface number 1")) << tracedText();
    EXPECT_TRUE(capture.log.contains("\nReading file 'quad.lwo'..ok!")) << capture.log.text;
    EXPECT_TRUE(capture.log.contains("\n2 surfaces\n[S0] UVsets:0\n[S1] UVsets:0\n0 UVsets")) << capture.log.text;
}

TEST(Lwo2Loader, DegenerateTrianglesAndLinesAreSkipped)
{
    LoadCapture capture;
    std::vector<Vector3f> points(8);
    points[5] = {0, 0, 0};
    points[6] = {1, 0, 0};
    points[7] = {0, 1, 0};
    Lwo2Writer w;
    w.tags({"A", "B"}).points(points).polygons({{5, 6, 7}, {5, 5, 7}, {5, 6}}).surfaceTags({{1, 1}});
    std::unique_ptr<hlv::RobustMesh> mesh = loadBuilt(saveObject("degenerate.lwo", w));
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->triangleCount(), 1u);
    // The PTAG entry of the degenerate polygon tags nothing.
    EXPECT_EQ(mesh->surfaceIds(), (std::vector<uint32_t>{0}));
    EXPECT_TRUE(capture.traced("\n  Removing degenerate triangle (1) !")) << tracedText();
    EXPECT_TRUE(capture.traced("\n  3 polygons read.")) << tracedText();
    EXPECT_TRUE(capture.traced("\n  1 polygons were skipped because they couldn't be properly triangulated."));
    EXPECT_TRUE(capture.traced("\n  Lines are not supported (1 lines were skipped)."));
}

TEST(Lwo2Loader, RepeatedFirstIndexStartsAHole)
{
    // A 4x4 square with a triangular hole: (0,1,2,3) and (4,5,6).
    std::vector<Vector3f> points = {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}, {1, 1, 0}, {3, 1, 0}, {2, 3, 0}};
    Lwo2Writer w;
    w.points(points).polygons({{0, 1, 2, 3, 0, 4, 5, 6}});
    std::unique_ptr<hlv::RobustMesh> mesh = loadBuilt(saveObject("hole.lwo", w));
    ASSERT_TRUE(mesh);
    // A quad with one triangular hole: 7 points, 7 triangles, none covering the hole.
    ASSERT_EQ(mesh->triangleCount(), 7u);
    float total = 0;
    for (const hlv::IndexTriangle& t : mesh->triangles())
        total += area(*mesh, t);
    EXPECT_FLOAT_EQ(total, 16.0f - 2.0f);
}

TEST(Lwo2Loader, SelfIntersectingPolygonKeepsItsCrossing)
{
    // The strict rules refuse the new vertex where the bow tie's edges
    // cross; its outline takes it, giving two triangles beside the third.
    LoadCapture capture;
    Lwo2Writer w;
    w.points({{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}, {5, 0, 0}, {6, 0, 0}, {5, 1, 0}})
        .polygons({{0, 1, 2, 3}, {4, 5, 6}});
    std::unique_ptr<hlv::RobustMesh> mesh = loadBuilt(saveObject("bowtie.lwo", w));
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->triangleCount(), 3u);
    EXPECT_EQ(mesh->positions().size(), 8u);  // the crossing joins the points
    EXPECT_TRUE(capture.traced("\n  1 polygons were triangulated by their outline")) << tracedText();
    EXPECT_FALSE(capture.traced("skipped")) << tracedText();
}

TEST(Lwo2Loader, InputStreamReadsBigEndianValues)
{
    std::vector<uint8_t> bytes = {0xFF, 0x01, 0x02, 0x03, 0x01, 0x02, 0x3F, 0x80, 0x00, 0x00,
                                  'a',  'b',  'c',  0,    'd',  0,    0xFF, 0x01};
    LW::InputStream in(bytes, bytes.size());
    EXPECT_EQ(in.readVX(), 66051u);
    EXPECT_EQ(in.readVX(), 258u);
    EXPECT_EQ(in.readF4(), 1.0f);
    EXPECT_EQ(in.readS0(), "abc");
    EXPECT_EQ(in.tell(), 14u);
    EXPECT_EQ(in.readS0(), "d");  // odd length: one pad byte more
    EXPECT_EQ(in.tell(), 16u);
    // A four-byte index with only two bytes left, and a text without its zero.
    CapturingLogger log;
    EXPECT_THROW(in.readVX(), bool);
    EXPECT_TRUE(log.contains("Error !! Unexpected end of data at offset 16.")) << log.text;
    std::vector<uint8_t> unterminated = {'a', 'b'};
    LW::InputStream text(unterminated, unterminated.size());
    EXPECT_THROW(text.readS0(), bool);
    EXPECT_EQ(text.tell(), 0u);
}

TEST(Lwo2Loader, FileLevelFailures)
{
    LoadCapture capture;
    std::vector<uint8_t> bytes = Lwo2Writer().points(squarePoints()).polygons({{1, 2, 3}}).bytes();
    std::vector<uint8_t> shortLength = bytes;
    shortLength[7] -= 1;  // FORM length one short of the file
    bool failed = false;
    EXPECT_FALSE(loadBuilt(saveObject("short_form.lwo", shortLength), &failed));
    EXPECT_TRUE(failed);
    EXPECT_TRUE(capture.log.contains("\n  Error !! Corrupted IFF length.\n\n")) << capture.log.text;

    std::vector<uint8_t> notIff = bytes;
    notIff[0] = 'X';
    EXPECT_FALSE(loadBuilt(saveObject("not_iff.lwo", notIff), &failed));
    EXPECT_TRUE(capture.log.contains("Error !! This is not an IFF-file.")) << capture.log.text;

    EXPECT_FALSE(loadBuilt("no_such_object.lwo", &failed));
    EXPECT_TRUE(failed);
    EXPECT_TRUE(capture.log.contains("\nReading file 'no_such_object.lwo'..\nError !! Couldn't open from file!!\n\n"))
        << capture.log.text;

    // Another form type is not an error: no mesh, no message.
    const size_t logged = capture.log.text.size();
    EXPECT_FALSE(loadBuilt(saveObject("lwob.lwo", Lwo2Writer().points(squarePoints()).bytes("LWOB")), &failed));
    EXPECT_FALSE(failed);
    EXPECT_EQ(capture.log.text.find("Error", logged), std::string::npos);
    // The indentation is back where it started after failures.
    EXPECT_STREQ(LW::indent(), "");
}

TEST(Lwo2Loader, SearchDirectoryIsTriedFirst)
{
    std::filesystem::create_directories("search_dir");
    saveObject("search_dir/found.lwo", Lwo2Writer().points(squarePoints()).polygons({{1, 2, 3}}));
    std::unique_ptr<hlv::RobustMesh> mesh(loadLWO2("found.lwo", "search_dir"));
    ASSERT_TRUE(mesh);
    EXPECT_THROW(loadLWO2("found.lwo", nullptr), bool);
}

TEST(Lwo2Loader, FirstColourMapWinsAndOverridesApply)
{
    LoadCapture capture;
    Lwo2Writer w;
    w.points(squarePoints()).polygons({{1, 2, 3}, {1, 3, 4}});
    w.vertexMap("RGBA", 4, "B", {{1, 0, {0, 0, 1, 1}}, {2, 0, {0, 0, 1, 1}}});
    w.vertexMap("RGBA", 4, "A", {{1, 0, {1, 0, 0, 1}}, {2, 0, {1, 0, 0, 1}}, {3, 0, {1, 0, 0, 1}}, {4, 0, {1, 0, 0, 0.5f}}});
    // Point 3 is green as a corner of polygon 1 only.
    w.polygonVertexMap("RGBA", 4, "A", {{3, 1, {0, 1, 0, 1}}});
    w.polygonVertexMap("RGBA", 4, "C", {{3, 1, {0, 1, 0, 1}}});
    std::unique_ptr<hlv::RobustMesh> mesh = loadBuilt(saveObject("colours.lwo", w));
    ASSERT_TRUE(mesh);
    EXPECT_TRUE(capture.log.contains("\nCan only use one Vertex Color Map ; only 'A' id kept.")) << capture.log.text;
    EXPECT_TRUE(capture.traced("\n  VMAD: no VMAP named 'C' !")) << tracedText();
    ASSERT_EQ(mesh->partCount(), 1u);
    const hlv::MeshPart& part = mesh->parts()[0];
    ASSERT_EQ(part.weights.size(), part.vertexCount);
    const uint32_t red = 0xFF0000FFu, green = 0x00FF00FFu, halfRed = 0xFF00007Fu;
    const std::vector<uint32_t> expected = {red, red, red, red, green, halfRed};
    for (size_t corner = 0; corner < 6; ++corner)
        EXPECT_EQ(part.weights[part.indices[corner]], expected[corner]) << corner;
}
