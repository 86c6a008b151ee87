#include "import/lws_parser.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
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

void expectFrameKeyword(LineReader& lines, const char* keyword)
{
    lines.require();
    if (lines.token(0) != keyword)
        parseError("\n%sIncoherency, expecting '%s', found '%s'", indent(), keyword, lines.token(0).c_str());
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
        }
    }

private:
    using Handler = void (LwsParser::*)();

    static const std::map<std::string, Handler>& keywords()
    {
        static const std::map<std::string, Handler> table = {
            {"LoadObjectLayer", &LwsParser::loadObjectLayer},
            {"LoadObject", &LwsParser::loadObject},
            {"ObjectMotion", &LwsParser::objectMotion},
            {"ParentItem", &LwsParser::parentItem},
            {"ParentObject", &LwsParser::parentObject},
            {"PivotPoint", &LwsParser::pivotPoint},
            {"AddCamera", &LwsParser::addCamera},
            {"CameraMotion", &LwsParser::cameraMotion},
            {"ZoomFactor", &LwsParser::zoomFactor},
            {"NearClipDistance", &LwsParser::nearClip},
            {"HL_FarClipDistance", &LwsParser::farClip},
            {"AddLight", &LwsParser::addLight},
            {"LightMotion", &LwsParser::lightMotion},
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

    void readHeader()
    {
        lines_.require();
        if (lines_.token(0) != "LWSC")
            parseError("\n%sUnknown file format.", indent());
        lines_.require();
        if (lines_.token(0) == "3")
            scene_.version = 3;
        else if (lines_.token(0) == "1")
            scene_.version = 1;
        else
            parseError("\n%sUnsupported file version.", indent());

        expectFrameKeyword(lines_, "FirstFrame");
        scene_.firstFrame = readInteger(lines_.token(1));
        expectFrameKeyword(lines_, "LastFrame");
        scene_.lastFrame = readInteger(lines_.token(1));
        hlv::log("\n%s%d keyframes.", indent(), scene_.lastFrame);
        expectFrameKeyword(lines_, "FramesPerSecond");
        scene_.framesPerSecond = readNumber(lines_.token(1));
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

    void addMesh(const std::string& path)
    {
        auto mesh = std::make_unique<LwsScene::Mesh>();
        mesh->path = path;
        hlv::log("\n%sObject : %s", indent(), path.c_str());
        addItem(std::move(mesh));
    }

    void loadObjectLayer() { addMesh(lines_.rest(2)); }
    // Version-1 scenes name the object without a layer.
    void loadObject() { addMesh(lines_.rest(1)); }

    void motion(int channels)
    {
        if (!current_)
            parseError("\n%s'%s' on line %d belongs to no item.", indent(), lines_.token(0).c_str(),
                       lines_.lineNumber());
        if (scene_.version == 1)
            readLw5Motion(lines_, *current_, scene_.framesPerSecond);
        else
            readMotionBlock(lines_, *current_, channels);
    }
    void objectMotion()
    {
        current<LwsScene::Mesh>("ObjectMotion");
        motion(9);
    }
    void cameraMotion()
    {
        current<LwsScene::Camera>("CameraMotion");
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
    // Version 1: the object's number counted from 1.
    void parentObject()
    {
        LwsScene::Object& item = current<LwsScene::Object>("ParentObject");
        const int number = readInteger(lines_.token(1));
        if (number < 1)
            parseError("\n%sParentObject %d names no object.", indent(), number);
        item.hasParent = true;
        item.parentItem = 0x10000000u | unsigned(number - 1);
    }

    void pivotPoint()
    {
        auto& mesh = current<LwsScene::Mesh>("PivotPoint");
        mesh.pivot = readVector(1);
        mesh.hasPivot = true;
    }

    void addCamera()
    {
        addItem(std::make_unique<LwsScene::Camera>());
        hlv::log("\n%sCamera found.", indent());
    }
    void zoomFactor()
    {
        auto& camera = current<LwsScene::Camera>("ZoomFactor");
        if (lines_.token(1) == "(envelope)")
            parseError("\n%sZoomFactor envelopes can't be used!!", indent());
        camera.zoomFactor = readNumber(lines_.token(1));
    }
    void nearClip() { current<LwsScene::Camera>("NearClipDistance").nearClip = readNumber(lines_.token(1)); }
    void farClip() { current<LwsScene::Camera>("HL_FarClipDistance").farClip = readNumber(lines_.token(1)); }

    void addLight()
    {
        addItem(std::make_unique<LwsScene::Light>());
        hlv::log("\n%sLight found.", indent());
    }

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
    void readColour(float* colour)
    {
        const Vector3f value = readVector(1);
        colour[0] = value.x;
        colour[1] = value.y;
        colour[2] = value.z;
    }

    LineReader& lines_;
    LwsScene& scene_;
    LwsScene::Object* current_ = nullptr;
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
