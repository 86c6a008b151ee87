// hlvtool: inspects scene files (.hlv), LightWave objects (.lwo) and
// LightWave scenes (.lws), converts LightWave scenes into scene files,
// renders one frame of any of them and exports them as glTF. Files are told
// apart by their content.
//
// Exit codes: 0 done, 1 a file is missing, damaged or cannot be written,
// 2 the command line is wrong; the same for every command.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/frame_choice.h"
#include "import/lws_scene.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include "tools/hlvtool/command_line.h"
#include "tools/hlvtool/check_command.h"
#include "tools/hlvtool/export_command.h"
#include "tools/hlvtool/file_kind.h"
#include "tools/hlvtool/import_guard.h"
#include "tools/hlvtool/input_check.h"
#include "tools/hlvtool/lightwave_import.h"
#include "tools/hlvtool/render_file.h"
#include "tools/hlvtool/render_frame.h"
#include "tools/hlvtool/scene_positions.h"
#include "tools/hlvtool/summaries.h"
#include "tools/hlvtool/utf8_text.h"
#include "tools/hlvtool/wording.h"
#include "skydrift_version.h"

namespace {

using hlvtool::Arguments;
using hlvtool::FileKind;

constexpr int kFailed = 1;
constexpr int kUsage = 2;

// The command being run, once it is known: its own help is the one to read.
std::string g_command;

int usage(const std::string& message)
{
    if (g_command.empty())
        std::fprintf(stderr, "hlvtool: %s\n(hlvtool --help shows the commands)\n", message.c_str());
    else
        std::fprintf(stderr, "hlvtool: %s\n(hlvtool %s --help shows its options)\n", message.c_str(),
                     g_command.c_str());
    return kUsage;
}

int failed(const std::string& message)
{
    std::fprintf(stderr, "hlvtool: %s\n", hlvtool::utf8Text(message).c_str());
    return kFailed;
}

void print(const std::string& text) { std::fputs(hlvtool::utf8Text(text).c_str(), stdout); }

const char* kindName(FileKind kind)
{
    switch (kind) {
    case FileKind::SceneFile:
        return "a scene file";
    case FileKind::LightWaveObject:
        return "a LightWave object";
    case FileKind::LightWaveScene:
        return "a LightWave scene";
    case FileKind::Unknown:
        break;
    }
    return "a file";
}

// The input's kind, or a message on `problem` when it cannot be read at all
// or is none of the kinds hlvtool reads.
FileKind readableKind(const std::string& path, std::string& problem)
{
    problem = hlvtool::inputProblem(path);
    if (!problem.empty())
        return FileKind::Unknown;
    const FileKind kind = hlvtool::fileKindOf(path);
    if (kind == FileKind::Unknown)
        problem = path + " is none of the files hlvtool reads: a scene file (.hlv), a LightWave object (.lwo) "
                         "or a LightWave scene (.lws)";
    return kind;
}

int readFailed(const std::string& path, FileKind kind, const std::string& error)
{
    return failed(hlvtool::readFailure(path, kindName(kind), error));
}

// Parses and converts; textures keep their pixels for writing. `files`
// receives the files the scene needed.
std::unique_ptr<Scene> importScene(const std::string& path, const std::vector<std::string>& search,
                                   hlvtool::FrameRange* frames,
                                   std::vector<LW::LwsScene::FileUse>* files = nullptr)
{
    LW::LwsScene record;
    std::unique_ptr<Scene> scene = hlvtool::importLightWaveScene(path, search, record);
    if (frames) {
        frames->known = true;
        frames->first = record.firstFrame;
        frames->last = record.lastFrame;
        frames->framesPerSecond = record.framesPerSecond;
    }
    if (files)
        *files = record.files;
    return scene;
}

bool readNumber(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0';
}

// A LightWave scene's frame rate, from its FramesPerSecond line (LightWave
// writes it in every version; 30 when a hand-written scene leaves it out).
double lightWaveFramesPerSecond(const std::string& path)
{
    std::ifstream file(path);
    std::string word;
    while (file >> word) {
        double fps = 0;
        if (word == "FramesPerSecond" && file >> fps && fps > 0)
            return fps;
    }
    return 30.0;
}

// The show time --time or --frame asks for (0 when neither); a usage
// message on failure.
bool askedSeconds(const Arguments& args, const std::string& path, FileKind kind, double& seconds,
                  std::string& problem)
{
    seconds = 0;
    if (!args.time.empty() && !args.frame.empty()) {
        problem = "give --time or --frame, not both";
        return false;
    }
    if (!args.time.empty() && !readNumber(args.time, seconds)) {
        problem = "--time takes seconds (0.5), not \"" + args.time + "\"";
        return false;
    }
    if (args.frame.empty())
        return true;
    double frame = 0;
    if (!readNumber(args.frame, frame) || frame != double(long(frame))) {
        problem = "--frame takes a frame number (0, 1, ...), not \"" + args.frame + "\"";
        return false;
    }
    if (kind != FileKind::LightWaveScene) {
        problem = "--frame counts a LightWave scene's frames; " + path + " is " + kindName(kind) +
                  ": give --time in seconds";
        return false;
    }
    seconds = frame / lightWaveFramesPerSecond(path);
    return true;
}

int infoAtTime(const Arguments& args, FileKind kind)
{
    const std::string& path = args.files[0];
    double seconds = 0;
    std::string problem;
    if (!askedSeconds(args, path, kind, seconds, problem))
        return usage(problem);
    if (kind != FileKind::SceneFile && kind != FileKind::LightWaveScene)
        return usage(std::string("--time and --frame take a scene file (.hlv) or a LightWave scene (.lws); ") + path +
                     " is " + kindName(kind));
    std::string text, error;
    if (!hlvtool::describeFileAtTime(path, kind == FileKind::LightWaveScene, args.search, float(seconds), args.json,
                                     text, error))
        return readFailed(path, kind, error);
    print(text);
    return 0;
}

int info(const Arguments& args)
{
    if (args.files.size() != 1)
        return usage("info takes one file");
    const std::string& path = args.files[0];
    std::string problem;
    const FileKind kind = readableKind(path, problem);
    if (!problem.empty())
        return failed(problem);
    if (!args.time.empty() || !args.frame.empty())
        return infoAtTime(args, kind);
    std::string text, error;
    bool ok = false;
    if (kind == FileKind::LightWaveObject) {
        ok = hlvtool::guardedImport(path, [&] { text = hlvtool::describeObject(path, args.json, args.search); }, error);
    } else if (kind == FileKind::LightWaveScene) {
        ok = hlvtool::guardedImport(path, [&] {
            hlvtool::FrameRange frames;
            std::vector<LW::LwsScene::FileUse> files;
            std::unique_ptr<Scene> scene = importScene(path, args.search, &frames, &files);
            text = hlvtool::describeScene(*scene, frames, args.json, files);
        }, error);
    } else {
        // Reading a scene file uploads its textures: it needs the window.
        if (!hlvtool::openHiddenWindow())
            return failed(hlvtool::noWindowMessage("reading " + path));
        ok = hlvtool::guardedImport(path, [&] {
            std::unique_ptr<Scene> scene(load_scene(path));
            text = hlvtool::describeScene(*scene, {}, args.json);
        }, error);
    }
    if (!ok)
        return readFailed(path, kind, error);
    print(text);
    return 0;
}

int convert(const Arguments& args)
{
    if (args.files.size() != 2)
        return usage("convert takes a LightWave scene and the scene file to write");
    const std::string& source = args.files[0];
    const std::string& target = args.files[1];
    std::string problem;
    const FileKind kind = readableKind(source, problem);
    if (!problem.empty())
        return failed(problem);
    if (kind != FileKind::LightWaveScene)
        return usage("convert takes a LightWave scene (.lws); " + source + " is " + kindName(kind) +
                     (kind == FileKind::LightWaveObject ? " (hlvtool export writes an object as glTF)" : ""));
    std::string error;
    hlvtool::FrameRange frames;
    std::unique_ptr<Scene> scene;
    if (!hlvtool::guardedImport(source, [&] { scene = importScene(source, args.search, &frames); }, error))
        return readFailed(source, kind, error);
    if (!hlvtool::writeSceneFile(*scene, target, error))
        return failed(error);
    using hlvtool::counted;
    print(source + ": " + counted(scene->primitives().size(), "primitive", "primitives") + ", " +
          counted(scene->surfaces().size(), "surface", "surfaces") + ", " +
          counted(scene->textures().size(), "texture", "textures") + ", " +
          counted(scene->cameras().size(), "camera", "cameras") + " written to " + target + "\n");
    return 0;
}

int render(const Arguments& args)
{
    if (args.files.size() != 1)
        return usage("render takes one file");
    if (args.out.empty())
        return usage("render needs --out PICTURE (.png, .jpg or .jpeg)");
    const std::string extension = std::filesystem::path(args.out).extension().string();
    if (!hlvtool::isJpegName(args.out) && extension != ".png" && extension != ".PNG")
        return usage("--out " + args.out + ": the picture's name must end in .png, .jpg or .jpeg");
    double camera = 0;
    if (!args.camera.empty() && (!readNumber(args.camera, camera) || camera < 0 || camera != int(camera)))
        return usage("--camera takes a camera number (0, 1, ...)");
    FrameSize size{800, 600};
    if (!args.size.empty() && !parseFrameSize(args.size.c_str(), &size))
        return usage("--size takes a picture size WxH (1440x1080)");
    int samples = 1;
    if (!args.samples.empty() && !parseSamples(args.samples.c_str(), &samples))
        return usage("--samples takes a number of samples from 1 to 32");
    const std::string& path = args.files[0];
    std::string problem;
    const FileKind kind = readableKind(path, problem);
    if (!problem.empty())
        return failed(problem);
    double time = 0;
    if (!askedSeconds(args, path, kind, time, problem))
        return usage(problem);
    if (kind == FileKind::LightWaveObject && !args.camera.empty())
        return usage("--camera is for scenes; a LightWave object is drawn by a camera framing it");
    hlvtool::setFrame(size, samples);
    hlvtool::RenderRequest request;
    request.path = path;
    request.picture = args.out;
    request.search = args.search;
    request.camera = int(camera);
    request.seconds = float(time);
    request.sizeGiven = !args.size.empty();
    request.samples = samples;
    request.sizeGiven = !args.size.empty();
    request.samples = samples;
    std::string error;
    if (!hlvtool::renderFile(request, error))
        return failed(error);
    char when[64];
    std::snprintf(when, sizeof when, "%g s", time);
    if (kind == FileKind::LightWaveObject)
        print(path + ": the object at " + when + " written to " + args.out + "\n");
    else
        print(path + ": camera " + std::to_string(int(camera)) + " at " + when + " written to " + args.out + "\n");
    return 0;
}

int check(const Arguments& args)
{
    if (args.files.size() != 1)
        return usage("check takes one folder");
    hlvtool::CheckRequest request;
    request.folder = args.files[0];
    request.json = args.json;
    request.verbose = args.verbose;
    return hlvtool::checkFolder(request);
}

int exportCommand(const Arguments& args)
{
    if (args.files.size() != 2)
        return usage("export takes a file and the .glb or .gltf to write");
    double fps = 0;
    if (!args.fps.empty() && (!readNumber(args.fps, fps) || !(fps > 0) || fps > 1000))
        return usage("--fps takes frames per second (above 0, at most 1000)");
    hlvtool::ExportRequest request;
    request.path = args.files[0];
    request.out = args.files[1];
    request.search = args.search;
    request.verbose = args.verbose;
    request.sampled = args.sampled;
    request.blenderLights = args.blenderLights;
    request.framesPerSecond = float(fps);
    double level = 0;
    if (!args.subdivide.empty() && (!readNumber(args.subdivide, level) || level < 0 || level > 6 || level != int(level)))
        return usage("--subdivide takes a subdivision level from 0 (the cage) to 6");
    request.subdivide = args.subdivide.empty() ? -1 : int(level);
    std::string problem;
    readableKind(request.path, problem);
    if (!problem.empty())
        return failed(problem);
    std::string summary, error;
    if (!hlvtool::exportFile(request, summary, error))
        return failed(error);
    print(summary + "\n");
    return 0;
}

// A search folder that is not there finds nothing; the user may have
// mistyped it, and the rest of the run is still worth doing.
void warnAboutSearchFolders(const std::vector<std::string>& folders)
{
    for (const std::string& folder : folders) {
        std::error_code code;
        if (!std::filesystem::is_directory(folder, code))
            std::fprintf(stderr, "hlvtool: warning: --search %s: no such folder, nothing is looked for there\n",
                         folder.c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h" ||
                      std::string(argv[1]) == "help")) {
        const std::string help = argc >= 3 ? hlvtool::commandHelp(argv[2]) : std::string();
        std::fputs((help.empty() ? hlvtool::fullHelp() : help).c_str(), stdout);
        return 0;
    }
    if (argc >= 2 && std::string(argv[1]) == "--version") {
        std::printf("hlvtool %s\n", SKYDRIFT_VERSION);
        return 0;
    }
    Arguments args;
    std::string error;
    const bool parsed = hlvtool::parseCommandLine(argc, argv, args, error);
    if (hlvtool::findsCommand(args.command))
        g_command = args.command;
    if (!parsed)
        return usage(error);
    if (args.help) {
        std::fputs(hlvtool::commandHelp(args.command).c_str(), stdout);
        return 0;
    }
    warnAboutSearchFolders(args.search);
    hlvtool::setVerbose(args.verbose);
    hlvtool::setStrictFiles(args.strict);
    if (args.command == "info")
        return info(args);
    if (args.command == "convert")
        return convert(args);
    if (args.command == "render")
        return render(args);
    if (args.command == "check")
        return check(args);
    return exportCommand(args);
}
