// Surface chunks as real writers leave them: texture-layer settings cut
// short, and surfaces described before the polygons that use them.
#include <gtest/gtest.h>

#include "import/lws_object.h"
#include "tests/import/lwo2_test_files.h"

using writers::Lwo2Bytes;
using writers::Lwo2Writer;
using writers::ObjectFormat;

namespace {

const std::vector<Vector3f> kQuad = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};

// One setting of an LWO2 image layer, in the order LightWave writes it, and
// what it holds when whole.
struct Setting {
    const char* id;
    Lwo2Bytes whole;
};

// A UV-mapped colour layer showing clip 1, laid out as LightWave writes one:
// IMAP (ordinal, CHAN, OPAC, ENAB, NEGA), TMAP (CNTR, SIZE, ROTA, FALL, OREF,
// CSYS), then PROJ, AXIS, IMAG, WRAP, WRPW, WRPH, VMAP, AAST, PIXB. The
// setting `cut` keeps only its first `kept` bytes.
Lwo2Bytes imageLayer(const std::string& cut, size_t kept)
{
    auto add = [&](Lwo2Bytes& to, const Setting& s) {
        if (cut != s.id)
            return to.subChunk(s.id, s.whole);
        const std::vector<uint8_t>& all = s.whole.data();
        return to.subChunk(s.id, Lwo2Bytes().bytes({all.begin(), all.begin() + long(std::min(kept, all.size()))}));
    };
    Lwo2Bytes header, mapping, block;
    header.s0("\x80");
    for (const Setting& s : {Setting{"CHAN", Lwo2Bytes().id4("COLR")}, Setting{"OPAC", Lwo2Bytes().u2(7).f4(0.5f).vx(0)},
                             Setting{"ENAB", Lwo2Bytes().u2(0)}, Setting{"NEGA", Lwo2Bytes().u2(1)}})
        add(header, s);
    mapping.subChunk("CNTR", Lwo2Bytes().f4(0).f4(0).f4(0).vx(0)).subChunk("SIZE", Lwo2Bytes().f4(1).f4(1).f4(1).vx(0));
    mapping.subChunk("ROTA", Lwo2Bytes().f4(0).f4(0).f4(0).vx(0))
        .subChunk("FALL", Lwo2Bytes().u2(0).f4(0).f4(0).f4(0).vx(0))
        .subChunk("OREF", Lwo2Bytes().s0(""));
    add(mapping, {"CSYS", Lwo2Bytes().u2(1)});
    block.subChunk("IMAP", header).subChunk("TMAP", mapping);
    for (const Setting& s : {Setting{"PROJ", Lwo2Bytes().u2(5)}, Setting{"AXIS", Lwo2Bytes().u2(1)},
                             Setting{"IMAG", Lwo2Bytes().vx(1)}, Setting{"WRAP", Lwo2Bytes().u2(2).u2(3)}})
        add(block, s);
    block.subChunk("WRPW", Lwo2Bytes().f4(1).vx(0)).subChunk("WRPH", Lwo2Bytes().f4(1).vx(0));
    block.subChunk("VMAP", Lwo2Bytes().s0("Texture")).subChunk("AAST", Lwo2Bytes().u2(1).f4(1));
    block.subChunk("PIXB", Lwo2Bytes().u2(1));
    return block;
}

std::vector<uint8_t> layeredQuad(const std::string& cut, size_t kept)
{
    Lwo2Bytes surface;
    surface.s0("Skin").s0("").subChunk("COLR", Lwo2Bytes().f4(1).f4(0).f4(0).vx(0));
    surface.subChunk("BLOK", imageLayer(cut, kept));
    Lwo2Writer w;
    w.tags({"Skin"}).layer(0).points(kQuad).boundingBox(kQuad);
    w.vertexMap("TXUV", 2, "Texture", {{0, 0, {0, 0}}, {1, 0, {1, 0}}, {2, 0, {1, 1}}, {3, 0, {0, 1}}});
    w.polygons({{0, 1, 2, 3}}).surfaceTags({{0, 0}}).clip(1, "Images/skin.png").chunk("SURF", surface.data());
    return w.bytes();
}

} // namespace

// Each setting empty or cut inside its value: the object opens, the layer
// shows its picture with what the setting still holds, and everything else
// as written.
TEST(Lwo2TextureLayer, ShortSettingsAreReadAsFarAsTheyGo)
{
    struct Cut {
        const char* id;
        size_t kept;
    };
    const Cut cuts[] = {{"", 0},     {"CHAN", 0}, {"CHAN", 2}, {"OPAC", 0}, {"OPAC", 1}, {"OPAC", 2}, {"OPAC", 5},
                        {"ENAB", 0}, {"ENAB", 1}, {"NEGA", 0}, {"NEGA", 1}, {"CSYS", 0}, {"CSYS", 1}, {"PROJ", 0},
                        {"PROJ", 1}, {"AXIS", 0}, {"AXIS", 1}, {"IMAG", 0}, {"IMAG", 1}, {"WRAP", 0}, {"WRAP", 1},
                        {"WRAP", 2}, {"WRAP", 3}};
    for (const Cut& cut : cuts) {
        const std::string id = cut.id;
        SCOPED_TRACE(id + " of " + std::to_string(cut.kept) + " bytes");
        const std::string path = saveObject("short_setting.lwo", layeredQuad(id, cut.kept));
        LW::Scene record;
        ASSERT_NO_THROW(LW::readSceneObject(path.c_str(), record));
        ASSERT_EQ(record.surfaces.size(), 1u);
        const LW::LWSurface& skin = *record.surfaces[0];
        EXPECT_FLOAT_EQ(skin.colour[0], 1);
        ASSERT_EQ(skin.colourBlocks.size(), 1u) << "a colour layer, whatever CHAN says";
        const LW::LWTextureBlock& b = skin.colourBlocks[0];
        // A whole setting is as written; a missing one LightWave's default.
        const auto whole = [&](const char* setting) { return id != setting; };
        EXPECT_EQ(b.imageName, whole("IMAG") ? "Images/skin.png" : "");
        EXPECT_EQ(b.projection, whole("PROJ") ? int(LW::UVMapped) : int(LW::Planar));
        EXPECT_EQ(b.axis, whole("AXIS") ? 2 : 0);
        EXPECT_EQ(b.enabled, !whole("ENAB"));
        EXPECT_EQ(b.negative, whole("NEGA"));
        EXPECT_EQ(b.worldCoordinates, whole("CSYS"));
        EXPECT_EQ(b.blend, whole("OPAC") || cut.kept >= 2 ? LW::BlendMode::Additive : LW::BlendMode::Normal);
        EXPECT_FLOAT_EQ(b.opacity, whole("OPAC") ? 0.5f : 1.0f);
        EXPECT_EQ(b.widthWrapMode, whole("WRAP") || cut.kept >= 2 ? LW::WrapMode::Mirror : LW::WrapMode::Repeat);
        EXPECT_EQ(b.heightWrapMode, whole("WRAP") ? LW::WrapMode::Edge : LW::WrapMode::Repeat);
    }
}

// Writers that put the surfaces first: a SURF before the tags, the points,
// the polygons or their tags still describes the surface the polygons use,
// in LWO2 and LWO3, with every layer or the polygons' layer alone.
TEST(Lwo2SurfaceOrder, SurfaceBeforeItsPolygonsIsKept)
{
    enum Place { BeforeTags, BeforePoints, BeforePolygons, BeforePolygonTags, AtTheEnd };
    for (ObjectFormat format : {ObjectFormat::Lwo2, ObjectFormat::Lwo3})
        for (Place place : {BeforeTags, BeforePoints, BeforePolygons, BeforePolygonTags, AtTheEnd})
            for (uint32_t layer : {0u, 2u}) {
                SCOPED_TRACE(std::string(format == ObjectFormat::Lwo3 ? "LWO3" : "LWO2") + ", place " +
                             std::to_string(place) + ", layer " + std::to_string(layer));
                writers::Lwo2Surface paint;
                paint.name = "Paint";
                paint.colour[0] = 0.1f, paint.colour[1] = 0.6f, paint.colour[2] = 0.3f;
                paint.blocks.push_back(writers::uvMappedBlock("Texture", 1));
                Lwo2Writer w(format);
                w.clip(1, "Images/paint.png");
                if (place == BeforeTags)
                    w.surface(paint);
                w.tags({"Default", "Paint"}).layer(0).points({{5, 5, 5}, {6, 5, 5}, {5, 6, 5}});
                w.polygons({{0, 1, 2}}).surfaceTags({{0, 0}}).layer(1);
                if (place == BeforePoints)
                    w.surface(paint);
                w.points(kQuad).vertexMap("TXUV", 2, "Texture", {{2, 0, {1, 1}}});
                if (place == BeforePolygons)
                    w.surface(paint);
                w.polygons({{0, 1, 2, 3}});
                if (place == BeforePolygonTags)
                    w.surface(paint);
                w.surfaceTags({{0, 1}});
                if (place == AtTheEnd)
                    w.surface(paint);
                const std::string path = saveObject("surface_first.lwo", w);
                LW::Scene record;
                LW::SceneObject object = LW::readSceneObject(path.c_str(), record, layer);
                const LW::LWSurface* found = nullptr;
                for (const auto& s : record.surfaces)
                    if (s->name == "Paint")
                        found = s.get();
                ASSERT_TRUE(found);
                EXPECT_TRUE(found->described);
                EXPECT_FLOAT_EQ(found->colour[1], 0.6f);
                ASSERT_EQ(found->colourBlocks.size(), 1u);
                EXPECT_EQ(found->colourBlocks[0].imageName, "Images/paint.png");
                object.mesh->build(0);
                EXPECT_EQ(object.mesh->parts()[0].uvLayerCount, 1u) << "the quad is drawn with its picture";
            }
}

// A surface chunk inside another (damaged files): the inner one is read on
// its own, and the outer one keeps the settings after it, whether or not a
// polygon used its name before.
TEST(Lwo2SurfaceOrder, SurfaceInsideASurfaceLeavesTheOuterOneWhole)
{
    for (ObjectFormat format : {ObjectFormat::Lwo2, ObjectFormat::Lwo3})
        for (bool tagged : {true, false}) {
            const bool lwo3 = format == ObjectFormat::Lwo3;
            SCOPED_TRACE(std::string(lwo3 ? "LWO3" : "LWO2") + (tagged ? ", after" : ", before") + " its polygons");
            const Lwo2Bytes names = Lwo2Bytes().s0("Skin").s0("");
            const Lwo2Bytes red = Lwo2Bytes().f4(1).f4(0).f4(0).vx(0);
            Lwo2Bytes outer;
            if (lwo3)
                outer.chunk("    ", names).form("SURF", Lwo2Bytes().chunk("    ", names)).chunk("COLR", red);
            else
                outer.bytes(names.data()).subChunk("SURF", names).subChunk("COLR", red);
            const std::vector<uint8_t> surface =
                lwo3 ? Lwo2Bytes().id4("SURF").bytes(outer.data()).data() : outer.data();
            Lwo2Writer w(format);
            w.tags({"Skin"}).layer(0).points(kQuad);
            if (!tagged)
                w.chunk(lwo3 ? "FORM" : "SURF", surface);
            w.polygons({{0, 1, 2, 3}}).surfaceTags({{0, 0}});
            if (tagged)
                w.chunk(lwo3 ? "FORM" : "SURF", surface);
            LW::Scene record;
            LW::readSceneObject(saveObject("nested_surface.lwo", w).c_str(), record);
            ASSERT_EQ(record.surfaces.size(), 1u);
            EXPECT_FLOAT_EQ(record.surfaces[0]->colour[0], 1);
            EXPECT_FLOAT_EQ(record.surfaces[0]->colour[1], 0);
        }
}
