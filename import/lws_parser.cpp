#include "import/lws_parser.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <iterator>
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
            {"LightType", &LwsParser::lightType},
            {"LightColor", &LwsParser::lightColour},
            {"LightIntensity", &LwsParser::lightIntensity},
            {"LgtIntensity", &LwsParser::lightIntensity},
            {"ConeAngle", &LwsParser::coneAngle},
            {"EdgeAngle", &LwsParser::edgeAngle},
            {"LightConeAngle", &LwsParser::lightConeAngle},
            {"LightEdgeAngle", &LwsParser::lightEdgeAngle},
            {"AddBone", &LwsParser::addBone},
            {"BackdropColor", &LwsParser::backdropColour},
            {"FogType", &LwsParser::fogType},
            {"FogMinDistance", &LwsParser::fogMinDistance},
            {"FogMaxDistance", &LwsParser::fogMaxDistance},
            {"FogMinDist", &LwsParser::fogMinDistance},  // versions 1 and 2
            {"FogMaxDist", &LwsParser::fogMaxDistance},
            {"FogMinAmount", &LwsParser::fogMinAmount},
            {"FogMaxAmount", &LwsParser::fogMaxAmount},
            {"FogColor", &LwsParser::fogColour},
            {"BackdropFog", &LwsParser::backdropFog},
            {"TargetItem", &LwsParser::targetItem},
            {"TargetObject", &LwsParser::targetObject},
            {"SubPatchLevel", &LwsParser::subPatchLevel},
            {"ObjectDissolve", &LwsParser::objectDissolve},
            {"AmbientColor", &LwsParser::ambientColour},
            {"AmbientIntensity", &LwsParser::ambientIntensity},
            {"AmbIntensity", &LwsParser::ambientIntensity},
            {"FrameSize", &LwsParser::frameSize},
            {"CustomSize", &LwsParser::frameSize},
            {"PixelAspect", &LwsParser::pixelAspect},
            {"PixelAspectRatio", &LwsParser::pixelAspectPreset},
            {"CustomPixelRatio", &LwsParser::pixelAspect},
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
            parseError("\n%s'%s' belongs to no item of its kind.", indent(), keyword);
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
            parseError("\n%sLoadObjectLayer names layer %d.", indent(), layer);
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

    // The render level, the second number; a file with one number gives
    // it for both.
    void subPatchLevel()
    {
        // A null's has nothing to subdivide.
        auto* mesh = dynamic_cast<LwsScene::Mesh*>(current_);
        const int level = readInteger(lines_.token(lines_.count() > 2 ? 2 : 1));
        if (mesh && level >= 0)
            mesh->subdivisionLevel = uint32_t(level);
    }

    // A number, or "(envelope)" and the envelope on the lines after it.
    void objectDissolve()
    {
        auto* item = dynamic_cast<LwsScene::ObjectItem*>(current_);
        const bool enveloped = lines_.count() > 1 && lines_.token(1) == "(envelope)";
        Envelope dissolve(enveloped ? 0.0f : readNumber(lines_.token(1)));
        if (enveloped)
            dissolve = scene_.version <= 2 ? readLw5Envelope(lines_, scene_.framesPerSecond) : readEnvelope(lines_);
        if (item)
            item->dissolve = dissolve;
    }
    void ambientColour() { readColour(scene_.ambientColour); }
    void ambientIntensity() { scene_.ambientIntensity = scalar(); }
    void frameSize()
    {
        const int width = readInteger(lines_.token(1)), height = readInteger(lines_.token(2));
        if (width > 0 && height > 0)
            scene_.frameWidth = width, scene_.frameHeight = height;
    }
    void pixelAspect()
    {
        const float aspect = readNumber(lines_.token(1));
        if (aspect > 0)
            scene_.pixelAspect = aspect;
    }
    // LightWave 5's list: D2 and D1 NTSC, square, D1 and D2 PAL; -1 is
    // "CustomPixelRatio".
    void pixelAspectPreset()
    {
        static const float presets[] = {0.86f, 0.9f, 1.0f, 1.0667f, 1.0940f};
        const int preset = readInteger(lines_.token(1));
        if (preset >= 0 && preset < int(std::size(presets)))
            scene_.pixelAspect = presets[preset];
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
        item.parentLine = lines_.lineNumber();
    }
    // Versions 1 and 2: the object's number counted from 1.
    void parentObject()
    {
        LwsScene::Object& item = current<LwsScene::Object>("ParentObject");
        item.hasParent = true;
        item.parentItem = objectNumber("ParentObject");
        item.parentLine = lines_.lineNumber();
    }
    // Versions 1 and 2 name an object by its number counted from 1: as an
    // item id.
    unsigned objectNumber(const char* keyword)
    {
        const int number = readInteger(lines_.token(1));
        if (number < 1)
            parseError("\n%s%s %d names no object.", indent(), keyword, number);
        return 0x10000000u | unsigned(number - 1);
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
    void zoomFactor() { camera("ZoomFactor").zoomFactor = scalar(); }
    void nearClip() { camera("NearClipDistance").nearClip = scalar(); }
    void farClip() { camera("HL_FarClipDistance").farClip = scalar(); }

    void addLight()
    {
        auto light = std::make_unique<LwsScene::Light>();
        readItemId(1, *light);
        addItem(std::move(light));
        hlv::log("\n%sLight found.", indent());
    }
    void lightName() { current<LwsScene::Light>("LightName").name = lines_.rest(1); }
    // Light keywords after an item that is no light (a bone's, a plug-in's)
    // are not the light's: skipped with their envelope.
    LwsScene::Light* light()
    {
        auto* found = dynamic_cast<LwsScene::Light*>(current_);
        if (!found)
            lines_.skipBlock();
        return found;
    }
    void lightType()
    {
        if (auto* l = light())
            l->type = readInteger(lines_.token(1));
    }
    void lightColour()
    {
        if (auto* l = light())
            readColour(l->colour);
    }
    void lightIntensity()
    {
        if (auto* l = light())
            l->intensity = scalar();
    }
    // Degrees in every version, unlike the motion's rotations.
    void coneAngle()
    {
        if (auto* l = light())
            l->coneAngle = scalar();
    }
    void edgeAngle()
    {
        if (auto* l = light())
            l->edgeAngle = scalar();
    }
    // LightWave 8 and later write the cone in radians under these names; a
    // cone cannot pass 90 degrees, so a larger value was written in degrees.
    static float degreesOf(float angle) { return angle > float(M_PI) / 2 ? angle : angle * float(180 / M_PI); }
    void lightConeAngle()
    {
        if (auto* l = light())
            l->coneAngle = degreesOf(scalar());
    }
    void lightEdgeAngle()
    {
        if (auto* l = light())
            l->edgeAngle = degreesOf(scalar());
    }

    void backdropColour() { readColour(scene_.backdrop); }
    void fogType() { scene_.fogEnabled = readInteger(lines_.token(1)) != 0; }
    void fogMinDistance() { scene_.fogMinDistance = scalar(); }
    void fogMaxDistance() { scene_.fogMaxDistance = scalar(); }
    void fogMinAmount() { scene_.fogMinAmount = scalar(); }
    void fogMaxAmount() { scene_.fogMaxAmount = scalar(); }
    void fogColour() { readColour(scene_.fogColour); }
    // LightWave's meaning: the fog takes the backdrop's colour.
    void backdropFog() { scene_.fogTakesBackdrop = readInteger(lines_.token(1)) != 0; }

    // The item a targeted item keeps pointed at: an item id from version 3
    // on, an object counted from 1 in versions 1 and 2.
    void targetItem()
    {
        LwsScene::Object& item = current<LwsScene::Object>("TargetItem");
        item.hasTarget = true;
        item.targetItem = readHex(lines_.token(1));
        item.targetLine = lines_.lineNumber();
    }
    void targetObject()
    {
        LwsScene::Object& item = current<LwsScene::Object>("TargetObject");
        item.hasTarget = true;
        item.targetItem = objectNumber("TargetObject");
        item.targetLine = lines_.lineNumber();
    }

    // A keyword's number, or, written "(envelope)" with an envelope on the
    // lines that follow, the envelope's value at the first frame: the
    // scene's settings do not change over time.
    float scalar()
    {
        const std::string keyword = lines_.token(0);
        bool enveloped = false;
        for (size_t i = 1; i < lines_.count(); ++i)
            enveloped = enveloped || lines_.token(i) == "(envelope)";
        if (!enveloped)
            return readNumber(lines_.token(1));
        const float firstSecond = scene_.framesPerSecond > 0 ? float(scene_.firstFrame) / scene_.framesPerSecond : 0.0f;
        const Envelope envelope = scene_.version <= 2 ? readLw5Envelope(lines_, scene_.framesPerSecond)
                                                      : readEnvelope(lines_);
        const float value = envelope.evaluate(firstSecond);
        hlv::log("\n%s** %s has an envelope: its value at the first frame, %g, is used", indent(), keyword.c_str(),
                 double(value));
        return value;
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
    const std::string located = locateFile(path, scene);
    // Files the scene names are looked for from where the scene is.
    if (scene.sceneFolder.empty()) {
        const size_t name = size_t(platform::fileNamePart(located.c_str()) - located.c_str());
        scene.sceneFolder = name == 0 ? "." : name == 1 ? located.substr(0, 1) : located.substr(0, name - 1);
    }
    std::string text;
    if (!readText(located, text))
        parseError("\n%sImpossible to open file : '%s'", indent(), path);
    parseLwsText(std::move(text), scene);
}

} // namespace LW
