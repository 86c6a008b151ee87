// Writes small seed inputs for the fuzz targets into the folder given:
//   scene/    a scene with a texture, a surface, a camera and a shape; an empty scene
//   texture/  texture records: raw RGB, raw grey, an embedded JPEG picture
//   image/    pictures behind the target's selector byte
//   lws/      small LightWave scenes of versions 1 to 5 in LightWave's layout
//   lwo2/     LightWave objects with the polygons modellers write (bridged
//             holes, crossings, bends, subdivision cages and lists that are
//             no surface), several layers, and the LWO3 and LWOB forms
//             (LWO3 surfaces drawn by node graphs too)
// The small LightWave files of the generated pack join the objects' seeds,
// and the tests' scenes the scenes' seeds (scripts/fuzz --seed copies both).
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "geometry/surface.h"
#include "render/image_file.h"
#include "render/texture_image.h"
#include "tests/import/lw_test_objects.h"
#include "tests/import/lwo3_node_objects.h"
#include "tests/scene/scene_builders.h"
#include "tests/support/gl_window.h"
#include "tools/writers/picture_writer.h"
#include "tools/writers/xm_writer.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> gradient(uint32_t width, uint32_t height, unsigned channels)
{
    std::vector<uint8_t> pixels(size_t(width) * height * channels);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint8_t(i * 37);
    return pixels;
}

std::vector<uint8_t> record(TextureImage& texture)
{
    memory_pstream out;
    texture.serialize(out, true);
    return out.bytes();
}

TextureImage* rawTexture()
{
    auto* image = new ImageRGB;
    image->width = 4;
    image->height = 2;
    image->pixels = gradient(4, 2, 3);
    return new TextureImage(image, TextureImage::NoMipmap);
}

void writeTextures(const fs::path& folder, const fs::path& jpeg)
{
    std::unique_ptr<TextureImage> rgb(rawTexture());
    writers::writeFileBytes((folder / "raw-rgb").string(), record(*rgb));

    auto* grey = new Image8;
    grey->width = 2;
    grey->height = 2;
    grey->pixels = gradient(2, 2, 1);
    TextureImage alpha(grey, TextureImage::Alpha);
    writers::writeFileBytes((folder / "raw-grey").string(), record(alpha));

    auto* picture = new ImageRGB;
    if (loadImageRGB(jpeg.string().c_str(), *picture)) {
        TextureImage embedded(picture, 0);
        writers::writeFileBytes((folder / "embedded-jpeg").string(), record(embedded));
    } else {
        delete picture;
    }
}

void writeScenes(const fs::path& folder)
{
    Scene empty;
    writers::writeFileBytes((folder / "empty").string(), written(empty));

    Scene scene;
    int texture = scene.add_texture(rawTexture());
    scene.add_surface(new TextureSurface("square", &scene, texture));
    int primitive = scene.add_primitive(one_part_mesh(textured_square(1), "square"));
    TransformNode* root = placed(scene, Vector3f(0, 0, 0), nullptr);
    scene.set_root(root);
    placed(scene, Vector3f(1, 0, 0), shape(scene, primitive))->attach(root);
    camera_on_z(scene, 5, root);
    scene.fog_enabled = true;
    scene.fog_end = 10;
    writers::writeFileBytes((folder / "small").string(), written(scene));
}

// The selector byte of fuzz_image: mode + 3 * name index.
void writePicture(const fs::path& folder, const std::string& name, uint8_t selector, const fs::path& file)
{
    std::vector<uint8_t> bytes;
    if (!readResourceFile(file.string().c_str(), bytes))
        return;
    bytes.insert(bytes.begin(), selector);
    writers::writeFileBytes((folder / name).string(), bytes);
}

void writePictures(const fs::path& folder, const fs::path& scratch)
{
    fs::path jpeg = scratch / "seed.jpg", rgb = scratch / "seed.png", grey = scratch / "seed-grey.png";
    fs::path rgba = scratch / "seed-rgba.png";
    writers::writeJpeg(jpeg.string(), gradient(8, 8, 3).data(), 8, 8, 3, 75);
    writers::writePng(rgb.string(), gradient(4, 4, 3).data(), 4, 4, 3);
    writers::writePng(grey.string(), gradient(4, 4, 1).data(), 4, 4, 1);
    writers::writePng(rgba.string(), gradient(4, 4, 4).data(), 4, 4, 4);
    writePicture(folder, "jpeg-rgb", 0, jpeg);
    writePicture(folder, "jpeg-grey", 1, jpeg);
    writePicture(folder, "png-memory", 0 + 3 * 1, rgb);
    writePicture(folder, "png-file", 2, rgb);
    writePicture(folder, "png-grey-file", 2, grey);
    writePicture(folder, "png-rgba-file", 2, rgba);
}

// Each layout at its smallest: items, ids, parents, blocks to skip, motion.
// What scenes from other machines and other LightWave versions hold:
// classic Mac OS line ends, a byte-order mark with CRLF, LightWave 5.6's
// channel-major motion, envelopes on scalar keywords, 2D Bezier keys,
// targeted items, drive and volume paths and an object that is nowhere.
void writeRealSceneFiles(const fs::path& folder, const std::string& channels, const std::string& cameraChannels)
{
    auto lineEnds = [](std::string text, const std::string& end) {
        for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + end.size()))
            text.replace(at, 1, end);
        return text;
    };
    const std::string keyed = "{ Envelope\n  2\n  Key 0.5 0 3 0 0 0 0 0 0\n  Key 4 1 3 0 0 0 0 0 0\n"
                              "  Behaviors 1 1\n}\n";
    const std::string bezier = "{ Envelope\n  2\n  Key 0 0 5 0 0 0.3 6 0 0\n  Key 10 1 5 -0.3 0 0.3 0 0 0\n"
                               "  Behaviors 1 1\n}\n";
    std::string channelMajor = "  9\n  2\n  0 0 3 0 0 0\n  10 1 3 0 0 0\n";
    for (int c = 1; c < 9; ++c)
        channelMajor += "  1\n  " + std::string(c >= 6 ? "1" : "0") + " 0 0 0 0 0\n";
    const std::string scene3 = "LWSC\n3\n\nFirstFrame 1\nLastFrame 30\nFramesPerSecond 30\n\n"
                               "LoadObjectLayer 1 D:\\Work\\Objects\\Box.lwo\nObjectMotion\n" + channels +
                               "LoadObjectLayer 1 C:\\gone\\Missing.lwo\nObjectMotion\n" + channels +
                               "AddNullObject Child\nObjectMotion\n" + channels + "ParentItem 10000001\n"
                               "AddCamera\nCameraMotion\n" + cameraChannels + "TargetItem 10000000\n";
    const struct {
        const char* name;
        std::string text;
    } scenes[] = {
        {"cr_only", lineEnds(scene3, "\r")},
        {"bom_crlf", "\xEF\xBB\xBF" + lineEnds(scene3, "\r\n")},
        {"version2_channels", "LWSC\n2\n\nFirstFrame 0\nLastFrame 30\nFramesPerSecond 30\n"
                              "LoadObject HD1:Objects/Box.lwo\nObjectMotion (unnamed)\n" + channelMajor +
                              "EndBehavior 2\nAddNullObject Target\nObjectMotion (unnamed)\n" + channelMajor +
                              "TargetObject 1\nZoomFactor (envelope)\n  1\n  2\n  2\n  0 1 0 0 0\n  4\n"
                              "  30 1 0 0 0\nEndBehavior 1\n"},
        // LightWave 5.6: the camera's six channels, one behaviour pair per
        // channel, span 2 keys; names in other cases and in Latin-1, an
        // object that is not an object, LightWave 5 fog.
        {"version2_camera", "LWSC\n2\n\nFirstFrame 1\nLastFrame 30\nFramesPerSecond 30\n"
                            "LoadObject OBJECTS\\BOX.LWO\nObjectMotion (unnamed)\n" + channelMajor +
                            "Pre/PostBehavior 1 2 1 2 1 2 1 2 1 2 1 2 1 2 1 2 1 2\nLoadObject Work:objects/b\xE4.lwo\n"
                            "ObjectMotion (unnamed)\n" + channelMajor + "LoadObject images/sky.iff\n"
                            "ShowCamera 1 2\nCameraMotion (unnamed)\n  6\n  2\n  0 0 2 0.5 0 0\n  4 1 2 0 0 0\n"
                            "  1\n  0 0 2 0 0 0\n  1\n  -5 0 2 0 0 0\n  1\n  0 0 2 0 0 0\n  1\n  0.2 0 2 0 0 0\n"
                            "  1\n  0 0 2 0 0 0\n"
                            "Pre/PostBehavior 0 1 0 1 0 1 0 1 0 1 0 1\nFogType 1\nFogMinDist 10\nFogMaxDist 200\n"},
        {"keyword_envelopes", "LWSC\n3\n\nFirstFrame 15\nLastFrame 60\nFramesPerSecond 30\n"
                              "AddNullObject Mover\nObjectMotion\nNumChannels 9\nChannel 0\n" + bezier +
                              channels.substr(channels.find("Channel 1")) +
                              "AddCamera\nCameraMotion\n" + cameraChannels + "TargetItem 10000000\n"
                              "ZoomFactor (envelope)\n" + keyed + "NearClipDistance (envelope)\n" + keyed +
                              "FogType 1\nFogMinDistance (envelope)\n" + keyed + "FogMaxDistance (envelope)\n" +
                              keyed + "FogMinAmount (envelope)\n" + keyed + "BackdropColor 0.2 0.4 0.6\n"
                              "BackdropFog 1\n"},
    };
    for (const auto& scene : scenes)
        writers::writeFileBytes((folder / scene.name).string(),
                                std::vector<uint8_t>(scene.text.begin(), scene.text.end()));
}

void writeLightWaveScenes(const fs::path& folder)
{
    const char* const envelope = "{ Envelope\n  2\n  Key 0 0 0 0 0 0 0 0 0\n  Key 1.570796 1 3 0 0 0 0 0 0\n"
                                 "  Behaviors 2 4\n}\n";
    std::string channels = "NumChannels 9\n";
    for (int c = 0; c < 9; ++c)
        channels += "Channel " + std::to_string(c) + "\n" + envelope;
    std::string cameraChannels = "NumChannels 6\n";
    for (int c = 0; c < 6; ++c)
        cameraChannels += "Channel " + std::to_string(c) + "\n" + envelope;
    const std::string lw5Motion = "  9\n  2\n  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\n  1 2 3 90 45 0 1 1 1\n"
                                  "  30 1 0.5 0 0\nEndBehavior 2\n";
    const struct {
        const char* name;
        std::string text;
    } scenes[] = {
        {"version1", "LWSC\n1\n\nFirstFrame 1\nLastFrame 30\nFrameStep 1\nFramesPerSecond 30\n\n"
                     "LoadObject a.lwo\nObjectMotion (unnamed)\n" + lw5Motion +
                     "AddNullObject Null\nObjectMotion (unnamed)\n" + lw5Motion + "ParentObject 1\n"
                     "AddBone\nBoneMotion (unnamed)\n" + lw5Motion +
                     "AddLight\nLightName Light\nLightMotion (unnamed)\n" + lw5Motion +
                     "ShowCamera 1 2\nCameraMotion (unnamed)\n" + lw5Motion + "ZoomFactor 3.2\n"
                     "BackdropColor 0 0 128\n"},
        {"version3", "LWSC\n3\n\nRenderRangeType 0\nFirstFrame 0\nLastFrame 30\nCurrentFrame 0\n"
                     "FramesPerSecond 30\n\nPlugin MasterHandler 1 Notes\nAddLight\nEndPlugin\n"
                     "LoadObjectLayer 1 Objects/Box.lwo\nObjectMotion\n" + channels +
                     "PivotPosition 0 1 0\nPivotRotation 0.5 0 0\nAddNullObject Turntable\nObjectMotion\n" +
                     channels + "ParentItem 10000000\nAddBone\nBoneMotion\n" + channels +
                     "AddCamera\nCameraName Camera\nCameraMotion\n" + cameraChannels +
                     "ParentItem 10000001\nZoomFactor 3.2\nPlugin CameraHandler 1 Perspective\nEndPlugin\n"
                     "LightIntensity (envelope)\n" + envelope + "FogType 1\nFogColor 1 1 1\n"},
        {"version5", "LWSC\n5\n\nFirstFrame 1\nLastFrame 60\nFramesPerSecond 30\nChangeScene 0\n\n"
                     "LoadObjectLayer 2 10000000 Objects/Layers.lwo\nObjectMotion\n" + channels +
                     "LoadObjectLayer 1 10000001 Objects/Layers.lwo\nParentItem 10000002\n"
                     "AddNullObject 10000002 Null\nObjectMotion\n" + channels +
                     "AddLight 20000000\nLightName Light\nParentItem 30000000\n"
                     "AddCamera 30000000\nCameraName Camera\nCameraMotion\n" + cameraChannels +
                     "ParentItem 40020001\n"},
    };
    for (const auto& scene : scenes)
        writers::writeFileBytes((folder / scene.name).string(),
                                std::vector<uint8_t>(scene.text.begin(), scene.text.end()));
    writeRealSceneFiles(folder, channels, cameraChannels);
}

// Two layers of one triangle each with their own UV maps, and a layer
// number left out as Modeler leaves empty layers out.
writers::Lwo2Writer layeredObject(writers::ObjectFormat format)
{
    writers::Lwo2Surface surface;
    surface.name = "Skin";
    surface.blocks.push_back(writers::uvMappedBlock("uv", 1));
    writers::Lwo2ImageBlock planar;
    planar.channel = "DIFF";
    surface.blocks.push_back(planar);
    writers::Lwo2Writer w(format);
    w.tags({"Skin"}).clip(1, "skin.png");
    for (uint16_t layer : {0, 2}) {
        const float x = layer;
        w.layer(layer, "part", {x, 0, 0}, layer ? 0 : -1).points({{x, 0, 0}, {x + 1, 0, 0}, {x, 1, 0}});
        w.vertexMap("TXUV", 2, "uv", {{0, 0, {0, 0}}, {1, 0, {1, 0}}, {2, 0, {0, 1}}});
        w.polygons({{0, 1, 2}}).surfaceTags({{0, 0}}).polygonVertexMap("TXUV", 2, "uv", {{1, 0, {0.5f, 0.5f}}});
    }
    return w.surface(surface);
}

// A surface with every setting LightWave writes beyond colour and diffuse,
// layers of each kind (one disabled, one procedural), an RGB map that the
// surface names, a UV map held only as per-polygon values, a colour without
// its envelope index and an odd chunk with its pad byte.
writers::Lwo2Writer surfacesObject(writers::ObjectFormat format)
{
    writers::Lwo2Surface glass;
    glass.name = "Glass";
    glass.luminosity = 0.25f;
    glass.specular = 0.5f;
    glass.glossiness = 0.75f;
    glass.transparency = 0.4f;
    glass.smoothingAngle = 0.5f;
    glass.sides = 3;
    glass.vertexColourMap = "paint";
    glass.vertexColourType = "RGB ";
    writers::Lwo2ImageBlock top = writers::uvMappedBlock("perpolygon", 1);
    top.opacity = 0.5f;
    top.negative = true;
    top.widthWrap = 2;
    top.heightWrap = 0;
    writers::Lwo2ImageBlock off = top;
    off.enabled = false;
    writers::Lwo2ImageBlock front;
    front.projection = 4;
    front.rotation = {0.5f, 0.25f, 0};
    writers::Lwo2ImageBlock noise;
    noise.header = "PROC";
    glass.blocks = {top, off, front, noise};
    writers::Lwo2Writer w(format);
    w.tags({"Glass", "Plain"}).clip(1, "glass.tga").layer(0);
    w.points({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}, {2, 1, 0}});
    w.vertexMap("RGB ", 3, "paint", {{0, 0, {1, 0, 0}}, {2, 0, {0, 1, 0}}});
    w.polygons({{0, 1, 2, 3}, {1, 4, 5, 2}}).surfaceTags({{0, 0}, {1, 1}});
    w.polygonVertexMap("TXUV", 2, "perpolygon", {{0, 0, {0, 0}}, {1, 0, {1, 0}}, {2, 0, {1, 1}}, {3, 0, {0, 1}}});
    w.chunk("DESC", {'o', 'd', 'd', 0, 'x'});
    if (format == writers::ObjectFormat::Lwo2)
        w.chunk("SURF", writers::Lwo2Bytes().s0("Plain").s0("").subChunk("COLR", writers::Lwo2Bytes().f4(1).f4(0).f4(0)).data());
    return w.surface(glass);
}

void writeObjects(const fs::path& folder)
{
    const std::pair<const char*, writers::Lwo2Writer> objects[] = {
        {"keyholes", lwtest::keyholeObject()}, {"bowties", lwtest::bowTieObject()},
        {"star", lwtest::starObject()},         {"crown", lwtest::crownObject()},
        {"cage", lwtest::cageObject()},         {"layers", layeredObject(writers::ObjectFormat::Lwo2)},
    };
    for (const auto& object : objects)
        writers::writeFileBytes((folder / object.first).string(), object.second.bytes());
    writers::writeFileBytes((folder / "lwo3").string(), layeredObject(writers::ObjectFormat::Lwo3).bytes());
    writers::writeFileBytes((folder / "surfaces").string(), surfacesObject(writers::ObjectFormat::Lwo2).bytes());
    writers::writeFileBytes((folder / "surfaces-lwo3").string(), surfacesObject(writers::ObjectFormat::Lwo3).bytes());
    writers::writeFileBytes((folder / "lwob-keyhole").string(), lwtest::keyholeLwob());
    writers::writeFileBytes((folder / "nodes-lwo3").string(), lwo3_nodes::pictureAndLayerQuads());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds CORPUS_FOLDER\n");
        return 2;
    }
    if (!openTestWindow()) {
        std::fprintf(stderr, "fuzz_make_seeds: no OpenGL window (is there a display?)\n");
        return 1;
    }
    fs::path root = argv[1];
    fs::path scratch = fs::temp_directory_path() / "skydrift-fuzz-seeds";
    for (const char* folder : {"scene", "texture", "image", "lws", "lwo2"})
        fs::create_directories(root / folder);
    fs::create_directories(scratch);
    writePictures(root / "image", scratch);
    writeTextures(root / "texture", scratch / "seed.jpg");
    writeScenes(root / "scene");
    writeLightWaveScenes(root / "lws");
    writeObjects(root / "lwo2");
    fs::remove_all(scratch);
    return 0;
}
