#include "tools/hlvtool/export_command.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "export/gltf_export.h"
#include "export/lightwave_settings.h"
#include "import/importer_context.h"
#include "import/lws_scene.h"
#include "persist/persistent.h"
#include "platform/path.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include "scene/transform_node.h"
#include "tools/hlvtool/file_kind.h"
#include "tools/hlvtool/import_guard.h"
#include "tools/hlvtool/lightwave_import.h"
#include "tools/hlvtool/render_frame.h"
#include "tools/hlvtool/scene_positions.h"
#include "tools/writers/replace_file.h"

namespace hlvtool {

namespace {

using gltf_export::Document;

// Says on standard error what a long export is doing: nothing for the
// first second, then the step it is at, again every five seconds and at each
// new step, and how long it took at the end.
class Progress {
public:
    explicit Progress(const std::string& path) : path_(path), start_(Clock::now())
    {
        watcher_ = std::thread([this] { watch(); });
    }
    ~Progress()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        changed_.notify_all();
        watcher_.join();
        if (shown_)
            std::fprintf(stderr, "hlvtool: exporting %s: done in %.1f s\n", path_.c_str(), seconds());
    }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void step(const char* what)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        step_ = what;
        if (shown_)
            show();
    }

private:
    using Clock = std::chrono::steady_clock;
    double seconds() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }
    void show()
    {
        std::fprintf(stderr, "hlvtool: exporting %s: %s (%.0f s)\n", path_.c_str(), step_, seconds());
        shown_ = true;
    }
    void watch()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        auto next = start_ + std::chrono::seconds(1);
        while (!done_) {
            if (changed_.wait_until(lock, next, [this] { return done_; }))
                break;
            show();
            next = Clock::now() + std::chrono::seconds(5);
        }
    }

    std::string path_;
    Clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable changed_;
    const char* step_ = "reading";
    bool done_ = false, shown_ = false;
    std::thread watcher_;
};

std::string fileNameOf(const std::string& path) { return platform::fileNamePart(path.c_str()); }

class LabelNaming : public gltf_export::NodeNaming {
public:
    explicit LabelNaming(ItemLabels labels) : labels_(std::move(labels)) {}
    std::string nameOf(const SceneNode& node) const override
    {
        auto found = labels_.find(&node);
        return found == labels_.end() ? std::string() : found->second;
    }

private:
    ItemLabels labels_;
};

void exportObject(const std::string& path, const std::string& search, int subdivide, Document& document)
{
    LW::Scene record;
    record.subdivisionOverride = subdivide;
    // The object's pictures are looked for in --search's folder, then beside
    // the object, as `info` finds them: never from wherever hlvtool runs.
    if (!search.empty())
        record.searchDirectories.push_back(search);
    const std::string folder = std::filesystem::path(platform::filesystemPath(path)).parent_path().string();
    record.searchDirectories.push_back(folder.empty() ? "." : folder);
    LW::SceneContext context(record);
    gltf_export::addLightWaveObjectNodes(document, gltf_export::addLightWaveLayers(document, record, path, fileNameOf(path)));
}

// Where the import found a file the scene names, or empty when it is missing.
std::string foundFile(const LW::LwsScene& record, const std::string& written)
{
    for (const LW::LwsScene::FileUse& file : record.files)
        if (file.written == written)
            return file.found;
    return {};
}

void exportLightWaveScene(const ExportRequest& request, Document& document, Progress& progress)
{
    LW::LwsScene record;
    record.subdivisionOverride = request.subdivide;
    std::unique_ptr<Scene> scene = importLightWaveScene(request.path, request.search, record);
    progress.step("meshes");
    // The primitives the conversion made, in its order: one per object
    // file and layer, as the items first name them.
    std::vector<int> meshOfPrimitive;
    {
        LW::SceneContext context(record);
        std::set<std::pair<std::string, uint32_t>> seen;
        for (const auto& item : record.items) {
            const auto* mesh = dynamic_cast<const LW::LwsScene::Mesh*>(item.get());
            if (!mesh || mesh->path.empty() || !seen.insert({mesh->path, mesh->layer}).second)
                continue;
            // Read from where the import found it; a missing object made no
            // primitive and leaves its item empty here too.
            const std::string found = foundFile(record, mesh->path);
            if (found.empty())
                continue;
            // Subdivided as the conversion did: at the item's level unless
            // the command gives one.
            record.subdivisionOverride = request.subdivide >= 0 ? request.subdivide : int(mesh->subdivisionLevel);
            meshOfPrimitive.push_back(
                gltf_export::addLightWaveMesh(document, record, found, mesh->layer, fileNameOf(mesh->path)));
        }
    }
    progress.step("nodes and motion");
    const float fps = record.framesPerSecond > 0 ? record.framesPerSecond : 30;
    gltf_export::TimeRange range;
    range.first = record.firstFrame / fps;
    range.last = record.lastFrame / fps;
    // Keys outside the frame range (a first key at frame 0 before FirstFrame
    // 1) are kept.
    float firstKey = 0, lastKey = 0;
    if (gltf_export::keyRange(*scene, firstKey, lastKey)) {
        range.first = std::min(range.first, firstKey);
        range.last = std::max(range.last, lastKey);
    }
    range.framesPerSecond = request.framesPerSecond > 0 ? request.framesPerSecond : fps;
    range.sampled = request.sampled;
    LabelNaming naming(itemLabels(record));
    const std::vector<int> made = gltf_export::addSceneNodes(document, *scene, meshOfPrimitive, range, &naming);
    gltf_export::addLightWaveSettings(document, record, *scene, made, request.path,
                                      request.blenderLights ? gltf_export::LightUnits::Blender : gltf_export::LightUnits::Gltf);
}

// Through the shared replacing write: a failure leaves no half file.
void writeWhole(const std::string& path, const void* bytes, size_t size)
{
    writers::replaceFile(path, [&](const std::string& temporary) {
        std::ofstream out(temporary, std::ios::binary);
        out.write(static_cast<const char*>(bytes), std::streamsize(size));
        out.close();
        if (!out)
            throw std::runtime_error("cannot write " + temporary);
    });
}

void exportSceneFile(const ExportRequest& request, Document& document)
{
    std::unique_ptr<Scene> scene(load_scene(request.path));
    gltf_export::TimeRange range;
    float firstKey = 0, lastKey = 0;
    if (gltf_export::keyRange(*scene, firstKey, lastKey)) {
        range.first = std::min(0.0f, firstKey);
        range.last = lastKey;
    }
    range.framesPerSecond = request.framesPerSecond > 0 ? request.framesPerSecond : 30;
    range.sampled = request.sampled;
    const std::vector<int> meshes = gltf_export::addScenePrimitives(document, *scene, 89.5f);
    gltf_export::addSceneNodes(document, *scene, meshes, range, nullptr);
}

bool endsWith(const std::string& text, const std::string& end)
{
    if (text.size() < end.size())
        return false;
    for (size_t i = 0; i < end.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - end.size() + i])) != end[i])
            return false;
    return true;
}

} // namespace

bool exportFile(const ExportRequest& request, std::string& summary, std::string& error)
{
    const bool binary = endsWith(request.out, ".glb");
    if (!binary && !endsWith(request.out, ".gltf")) {
        error = request.out + ": the output must end in .glb or .gltf";
        return false;
    }
    const std::string& path = request.path;
    const FileKind kind = fileKindOf(path);
    if (kind == FileKind::Unknown) {
        error = "cannot tell the kind of " + path + " (expected a scene file, a LightWave object or scene)";
        return false;
    }
    if (kind == FileKind::SceneFile && !openHiddenWindow()) {
        // Reading a scene file uploads its textures: it needs the window.
        error = noWindowMessage("reading " + path);
        return false;
    }
    Progress progress(path);
    Document document;
    const bool read = guardedImport(path, [&] {
        if (kind == FileKind::LightWaveObject)
            exportObject(path, request.search, request.subdivide, document);
        else if (kind == FileKind::LightWaveScene)
            exportLightWaveScene(request, document, progress);
        else
            exportSceneFile(request, document);
    }, error);
    if (!read)
        return false;
    const float shift = gltf_export::startAtZero(document);
    progress.step("writing");
    try {
        const std::filesystem::path out = platform::filesystemPath(request.out);
        const gltf_export::Written written = gltf_export::writeGltf(document, binary, out.stem().string());
        // The files beside first: the main file, written last, is what
        // refers to them.
        for (const gltf_export::Written::Beside& file : written.beside)
            writeWhole((out.parent_path() / file.name).string(), file.bytes.data(), file.bytes.size());
        writeWhole(out.string(), written.main.data(), written.main.size());
        summary = path + ": " + std::to_string(document.nodes.size()) + " nodes, " +
                  std::to_string(document.meshes.size()) + " meshes, " + std::to_string(document.channels.size()) +
                  " animation channels written to " + request.out + " (" + std::to_string(written.main.size()) + " bytes" +
                  (written.beside.empty() ? "" : ", and " + std::to_string(written.beside.size()) + " files beside it") +
                  ")";
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    if (request.verbose && shift > 0)
        std::fprintf(stderr, "the timeline starts %g s before 0: every time is %g s later (the asset's extras say so)\n",
                     double(shift), double(shift));
    if (request.verbose)
        for (const std::string& item : document.notCarried)
            std::fprintf(stderr, "not carried over: %s\n", item.c_str());
    return true;
}

} // namespace hlvtool
