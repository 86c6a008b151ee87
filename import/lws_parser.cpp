#include "import/lws_parser.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <map>

#include "import/importer_context.h"
#include "import/lws_files.h"
#include "import/lws_line_reader.h"
#include "import/lws_motion.h"
#include "log/logger.h"
#include "platform/path.h"

namespace LW {

namespace {

bool readText(const std::string& path, std::string& text)
{
    FILE* file = platform::openResource(path, "r");
    if (!file)
        return false;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

// Versions 4 and 5 write item ids as eight hexadecimal digits.
bool isItemId(const std::string& token)
{
    if (token.size() != 8)
        return false;
    for (char c : token)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

class LwsParser {
public:
    LwsParser(LineReader& lines, LwsScene& scene) : lines_(lines), scene_(scene) {}

    void run()
    {
        readHeader();
        while (lines_.next()) {
            auto handler = keywords().find(lines_.token(0));
            if (handler != keywords().end())
                (this->*handler->second)();
            else
                lines_.skipBlock();
        }
    }

private:
    using Handler = void (LwsParser::*)();

    static const std::map<std::string, Handler>& keywords()
    {
        static const std::map<std::string, Handler> table = {
            {"LoadObjectLayer", &LwsParser::loadObjectLayer},
            {"LoadObject", &LwsParser::loadObject},
            {"AddNullObject", &LwsParser::addNullObject},
            {"ObjectMotion", &LwsParser::objectMotion},
            {"ParentItem", &LwsParser::parentItem},
            {"ParentObject", &LwsParser::parentObject},
            {"PivotPoint", &LwsParser::pivotPosition},
            {"PivotPosition", &LwsParser::pivotPosition},
            {"PivotRotation", &LwsParser::pivotRotation},
            {"AddCamera", &LwsParser::addCamera},
            {"CameraName", &LwsParser::cameraName},
            {"CameraMotion", &LwsParser::cameraMotion},
            {"ZoomFactor", &LwsParser::zoomFactor},
            {"NearClipDistance", &LwsParser::nearClip},
            {"HL_FarClipDistance", &LwsParser::farClip},
            {"AddLight", &LwsParser::addLight},
            {"LightName", &LwsParser::lightName},
            {"LightMotion", &LwsParser::lightMotion},
            {"AddBone", &LwsParser::addBone},
            {"BackdropColor", &LwsParser::backdropColour},
            {"FogType", &LwsParser::fogType},
            {"FogMinDistance", &LwsParser::fogMinDistance},
            {"FogMaxDistance", &LwsParser::fogMaxDistance},
            {"FogMinAmount", &LwsParser::fogMinAmount},
            {"FogMaxAmount", &LwsParser::fogMaxAmount},
            {"FogColor", &LwsParser::fogColour},
            {"BackdropFog", &LwsParser::backdropFog},
        };
        return table;
    }

    static bool isFrameKeyword(const std::string& token)
    {
        return token == "FirstFrame" || token == "LastFrame" || token == "FramesPerSecond";
    }

    // The next line with a keyword the importer uses, skipping the others
    // with their blocks; false at the end of the file.
    bool nextUsedLine()
    {
        while (lines_.next()) {
            if (isFrameKeyword(lines_.token(0)) || keywords().count(lines_.token(0)))
                return true;
            lines_.skipBlock();
        }
        return false;
    }

    void expectFrameKeyword(const char* keyword)
    {
        if (!nextUsedLine())
            parseError("\n%sUnexpected end of file.", indent());
        if (lines_.token(0) != keyword)
            parseError("\n%sIncoherency, expecting '%s', found '%s'", indent(), keyword, lines_.token(0).c_str());
    }

    // LightWave writes other keywords before, between and after the frame
    // keywords; those are skipped. The frame rate may be missing (LightWave's
    // own default, 30, then holds).
    void readHeader()
    {
        lines_.require();
        if (lines_.token(0) != "LWSC")
            parseError("\n%sUnknown file format.", indent());
        lines_.require();
        const std::string& version = lines_.token(0);
        if (version.size() != 1 || version[0] < '1' || version[0] > '5')
            parseError("\n%sUnsupported file version.", indent());
        scene_.version = version[0] - '0';

        expectFrameKeyword("FirstFrame");
        scene_.firstFrame = readInteger(lines_.token(1));
        expectFrameKeyword("LastFrame");
        scene_.lastFrame = readInteger(lines_.token(1));
        hlv::log("\n%s%d keyframes.", indent(), scene_.lastFrame);
        if (nextUsedLine()) {
            if (lines_.token(0) == "FramesPerSecond")
                scene_.framesPerSecond = readNumber(lines_.token(1));
            else
                lines_.keep();
        }
        // The log shows whole frames; a rate too large for an int (or not a
        // number at all) must not reach the conversion.
        float fps = scene_.framesPerSecond;
        int wholeFps = std::isfinite(fps) ? int(std::clamp(fps, -2.0e9f, 2.0e9f)) : 0;
        hlv::log("\n%s%d frames/second.", indent(), wholeFps);
    }

    template <typename Item>
    Item& current(const char* keyword)
    {
        auto* item = current_ ? dynamic_cast<Item*>(current_) : nullptr;
        if (!item)
            parseError("\n%s'%s' on line %d belongs to no item of its kind.", indent(), keyword, lines_.lineNumber());
        return *item;
    }

    void addItem(std::unique_ptr<LwsScene::Object> item)
    {
        current_ = item.get();
        scene_.items.push_back(std::move(item));
    }

    // An item id in token `index` where versions 4 and 5 write one.
    bool readItemId(size_t index, LwsScene::Object& item)
    {
        if (lines_.count() <= index || !isItemId(lines_.token(index)))
            return false;
        item.hasId = true;
        item.itemId = readHex(lines_.token(index));
        return true;
    }

    void loadObjectLayer()
    {
        const int layer = readInteger(lines_.token(1));
        if (layer < 0)
            parseError("\n%sLoadObjectLayer on line %d names layer %d.", indent(), lines_.lineNumber(), layer);
        auto mesh = std::make_unique<LwsScene::Mesh>();
        mesh->layer = uint32_t(layer);
        // "LoadObjectLayer layer id path" from version 4 on.
        const bool id = scene_.version >= 4 && lines_.count() > 3 && readItemId(2, *mesh);
        addMesh(std::move(mesh), lines_.rest(id ? 3 : 2));
    }
    // Versions 1 and 2 name the whole object.
    void loadObject() { addMesh(std::make_unique<LwsScene::Mesh>(), lines_.rest(1)); }

    void addMesh(std::unique_ptr<LwsScene::Mesh> mesh, const std::string& path)
    {
        mesh->path = path;
        hlv::log("\n%sObject : %s", indent(), path.c_str());
        addItem(std::move(mesh));
    }

    void addNullObject()
    {
        auto null = std::make_unique<LwsScene::Null>();
        const bool id = scene_.version >= 4 && lines_.count() > 2 && readItemId(1, *null);
        const size_t nameToken = id ? 2 : 1;
        null->name = lines_.count() > nameToken ? lines_.rest(nameToken) : std::string();
        hlv::log("\n%sNull object : %s", indent(), null->name.c_str());
        addItem(std::move(null));
    }

    // Bones move their object's points, which the scene nodes cannot do:
    // their lines are read into an item that is not converted.
    void addBone() { current_ = &ignored_; }

    void motion(int channels)
    {
        if (scene_.version <= 2)
            readLw5Motion(lines_, *current_, scene_.framesPerSecond);
        else
            readMotionBlock(lines_, *current_, channels);
    }
    void objectMotion()
    {
        current<LwsScene::ObjectItem>("ObjectMotion");
        motion(9);
    }
    void cameraMotion()
    {
        camera("CameraMotion");
        motion(6);
    }
    void lightMotion()
    {
        current<LwsScene::Light>("LightMotion");
        motion(9);
    }

    void parentItem()
    {
        LwsScene::Object& item = current<LwsScene::Object>("ParentItem");
        item.hasParent = true;
        item.parentItem = readHex(lines_.token(1));
    }
    // Versions 1 and 2: the object's number counted from 1.
    void parentObject()
    {
        LwsScene::Object& item = current<LwsScene::Object>("ParentObject");
        const int number = readInteger(lines_.token(1));
        if (number < 1)
            parseError("\n%sParentObject %d names no object.", indent(), number);
        item.hasParent = true;
        item.parentItem = 0x10000000u | unsigned(number - 1);
    }

    void pivotPosition()
    {
        auto& object = current<LwsScene::ObjectItem>(lines_.token(0).c_str());
        object.pivot = readVector(1);
        object.hasPivot = true;
    }
    void pivotRotation() { current<LwsScene::ObjectItem>("PivotRotation").pivotRotation = readVector(1); }

    void addCamera()
    {
        auto camera = std::make_unique<LwsScene::Camera>();
        readItemId(1, *camera);
        addItem(std::move(camera));
        hlv::log("\n%sCamera found.", indent());
    }
    // The camera that a camera keyword belongs to. Versions 1 and 2 have one
    // camera and no line that adds it: its first keyword does.
    LwsScene::Camera& camera(const char* keyword)
    {
        if (scene_.version <= 2 && !dynamic_cast<LwsScene::Camera*>(current_)) {
            current_ = nullptr;
            for (const auto& item : scene_.items)
                if (item->kind == LwsScene::ItemKind::Camera)
                    current_ = item.get();
            if (!current_)
                addCamera();
        }
        return current<LwsScene::Camera>(keyword);
    }
    void cameraName() { camera("CameraName").name = lines_.rest(1); }
    void zoomFactor()
    {
        auto& camera = this->camera("ZoomFactor");
        if (lines_.token(1) == "(envelope)")
            parseError("\n%sZoomFactor envelopes can't be used!!", indent());
        camera.zoomFactor = readNumber(lines_.token(1));
    }
    void nearClip() { camera("NearClipDistance").nearClip = readNumber(lines_.token(1)); }
    void farClip() { camera("HL_FarClipDistance").farClip = readNumber(lines_.token(1)); }

    void addLight()
    {
        auto light = std::make_unique<LwsScene::Light>();
        readItemId(1, *light);
        addItem(std::move(light));
        hlv::log("\n%sLight found.", indent());
    }
    void lightName() { current<LwsScene::Light>("LightName").name = lines_.rest(1); }

    void backdropColour() { readColour(scene_.backdrop); }
    void fogType() { scene_.fogEnabled = readInteger(lines_.token(1)) != 0; }
    void fogMinDistance() { scene_.fogMinDistance = readNumber(lines_.token(1)); }
    void fogMaxDistance() { scene_.fogMaxDistance = readNumber(lines_.token(1)); }
    void fogMinAmount() { scene_.fogMinAmount = readNumber(lines_.token(1)); }
    void fogMaxAmount() { scene_.fogMaxAmount = readNumber(lines_.token(1)); }
    void fogColour() { readColour(scene_.fogColour); }
    void backdropFog()
    {
        if (readInteger(lines_.token(1)) == 1)
            std::memcpy(scene_.backdrop, scene_.fogColour, sizeof scene_.backdrop);
    }

    Vector3f readVector(size_t first)
    {
        return {readNumber(lines_.token(first)), readNumber(lines_.token(first + 1)),
                readNumber(lines_.token(first + 2))};
    }
    // Versions 1 and 2 write colours as 0 to 255, later versions as 0 to 1.
    void readColour(float* colour)
    {
        const Vector3f value = readVector(1);
        const float scale = scene_.version <= 2 ? 1.0f / 255.0f : 1.0f;
        colour[0] = value.x * scale;
        colour[1] = value.y * scale;
        colour[2] = value.z * scale;
    }

    LineReader& lines_;
    LwsScene& scene_;
    LwsScene::Object* current_ = nullptr;
    LwsScene::Object ignored_{LwsScene::ItemKind::Null};
};

} // namespace

void parseLwsText(std::string text, LwsScene& scene)
{
    LineReader lines(std::move(text));
    LwsParser(lines, scene).run();
}

void parseLwsFile(const char* path, LwsScene& scene)
{
    hlv::log("\n%sParsing scene '%s' ------------------------------------------------------", indent(), path);
    std::string text;
    if (!readText(locateFile(path, scene), text))
        parseError("\n%sImpossible to open file : '%s'", indent(), path);
    parseLwsText(std::move(text), scene);
}

} // namespace LW
