#include "tools/hlvtool/check_file.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>

#include "import/lws_object.h"
#include "import/lws_scene.h"
#include "platform/path.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include "tools/hlvtool/file_kind.h"
#include "tools/hlvtool/import_guard.h"
#include "tools/hlvtool/lightwave_import.h"
#include "tools/hlvtool/object_pictures.h"
#include "tools/hlvtool/render_frame.h"

namespace hlvtool {

namespace {

// "LWO2", "LWO3", "LWOB" from an object's form; "LWSC 3" from a scene's
// first line; what the file holds, whether or not it opens.
std::string versionOf(const std::string& path, FileKind kind)
{
    char bytes[64] = {};
    if (FILE* file = platform::openResource(path, "rb")) {
        std::fread(bytes, 1, sizeof bytes - 1, file);
        std::fclose(file);
    }
    if (kind == FileKind::LightWaveObject)
        return std::memcmp(bytes, "FORM", 4) == 0 ? std::string(bytes + 8, 4) : "not IFF";
    if (kind == FileKind::LightWaveScene) {
        const char* at = std::strstr(bytes, "LWSC");
        if (!at)
            return "LWSC";
        at += 4;
        while (*at && std::isspace(static_cast<unsigned char>(*at)))
            ++at;
        std::string number;
        while (std::isdigit(static_cast<unsigned char>(*at)))
            number += *at++;
        return number.empty() ? "LWSC" : "LWSC " + number;
    }
    return "";
}

bool isMissingFileWarning(const std::string& warning)
{
    return warning.compare(0, 10, "the file '") == 0 && warning.find("is not found") != std::string::npos;
}

// A picture found but not decoded is unreadable.
void checkPicture(const std::string& found, const std::string& neededBy, FileCheck& check)
{
    if (!isPicture(found))
        check.unreadable.push_back("'" + found + "' (needed by " + neededBy + ") cannot be decoded");
}

void checkObject(const std::string& path, FileCheck& check)
{
    LW::Scene record;
    LW::SceneObject object;
    check.opened = guardedImport(path, [&] {
        object = LW::readSceneObject(path.c_str(), record);
        object.mesh->build(0);
    }, check.error);
    if (!check.opened)
        return;
    char text[256];
    std::snprintf(text, sizeof text, "%zu points, %u triangles, %zu surfaces, %zu layers",
                  object.mesh->positions().size(), object.mesh->triangleCount(), record.surfaces.size(),
                  std::max<size_t>(object.layers.size(), 1));
    check.contents = text;
    if (object.subdivision.cagePolygons > 0)
        check.contents += ", " + std::to_string(object.subdivision.cagePolygons) + " SubPatch polygons at level " +
                          std::to_string(object.subdivision.level);
    std::set<std::string> seen;
    for (const auto& surface : record.surfaces)
        for (const auto* blocks : {&surface->colourBlocks, &surface->diffuseBlocks})
            for (const LW::LWTextureBlock& block : *blocks) {
                if (block.imageName.empty() || !seen.insert(block.imageName).second)
                    continue;
                const std::string neededBy = "surface '" + surface->name + "'";
                const std::string found = findObjectPicture(block.imageName, path, "");
                if (found.empty())
                    check.missing.push_back("'" + block.imageName + "' (needed by " + neededBy + ")");
                else
                    checkPicture(found, neededBy, check);
            }
}

void checkScene(const std::string& path, FileCheck& check)
{
    LW::LwsScene record;
    std::unique_ptr<Scene> scene;
    check.opened = guardedImport(path, [&] { scene = importLightWaveScene(path, "", record); }, check.error);
    for (const LW::LwsScene::FileUse& use : record.files) {
        if (use.found.empty())
            check.missing.push_back("'" + use.written + "' (needed by " + use.neededBy + ")");
        else if (use.neededBy.compare(0, 8, "surface ") == 0)
            checkPicture(use.found, use.neededBy, check);
    }
    if (!check.opened)
        return;
    size_t counts[4] = {};
    for (const auto& item : record.items)
        ++counts[int(item->kind)];
    char text[256];
    std::snprintf(text, sizeof text, "%zu objects, %zu nulls, %zu cameras, %zu lights, frames %d to %d",
                  counts[int(LW::LwsScene::ItemKind::Mesh)], counts[int(LW::LwsScene::ItemKind::Null)],
                  counts[int(LW::LwsScene::ItemKind::Camera)], counts[int(LW::LwsScene::ItemKind::Light)],
                  record.firstFrame, record.lastFrame);
    check.contents = text;
}

void checkSceneFile(const std::string& path, FileCheck& check)
{
    // Reading a scene file uploads its textures.
    if (!openHiddenWindow()) {
        check.error = noWindowMessage("reading " + path);
        return;
    }
    std::unique_ptr<Scene> scene;
    check.opened = guardedImport(path, [&] { scene.reset(load_scene(path)); }, check.error);
    if (!check.opened)
        return;
    char text[256];
    std::snprintf(text, sizeof text, "%zu primitives, %zu surfaces, %zu textures, %zu cameras",
                  scene->primitives().size(), scene->surfaces().size(), scene->textures().size(),
                  scene->cameras().size());
    check.contents = text;
}

} // namespace

FileCheck kindOfFile(const std::string& path)
{
    FileCheck check;
    check.path = path;
    const FileKind kind = fileKindOf(path);
    check.kind = kind == FileKind::LightWaveObject ? "object"
                 : kind == FileKind::LightWaveScene ? "scene"
                 : kind == FileKind::SceneFile      ? "scene file"
                                                    : "";
    check.version = kind == FileKind::SceneFile ? "" : versionOf(path, kind);
    return check;
}

FileCheck checkFile(const std::string& path)
{
    FileCheck check = kindOfFile(path);
    std::vector<std::string> warnings;
    collectWarnings(&warnings);
    if (check.kind == "object")
        checkObject(path, check);
    else if (check.kind == "scene")
        checkScene(path, check);
    else if (check.kind == "scene file")
        checkSceneFile(path, check);
    collectWarnings(nullptr);
    // A missing file is listed once, as missing.
    for (const std::string& warning : warnings)
        if (!isMissingFileWarning(warning))
            check.warnings.push_back(warning);
    return check;
}

nlohmann::ordered_json FileCheck::toJson() const
{
    nlohmann::ordered_json json;
    json["file"] = path;
    json["kind"] = kind;
    json["version"] = version;
    json["opened"] = opened;
    json[opened ? "contents" : "error"] = opened ? contents : error;
    json["missing"] = missing;
    json["unreadable"] = unreadable;
    json["warnings"] = warnings;
    return json;
}

FileCheck FileCheck::fromJson(const nlohmann::json& json)
{
    FileCheck check;
    check.path = json.value("file", "");
    check.kind = json.value("kind", "");
    check.version = json.value("version", "");
    check.opened = json.value("opened", false);
    check.contents = json.value("contents", "");
    check.error = json.value("error", "");
    check.missing = json.value("missing", std::vector<std::string>());
    check.unreadable = json.value("unreadable", std::vector<std::string>());
    check.warnings = json.value("warnings", std::vector<std::string>());
    return check;
}

} // namespace hlvtool
