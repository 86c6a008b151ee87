// hlvtool: inspects scene files (.hlv), LightWave objects (.lwo) and
// LightWave scenes (.lws), converts LightWave scenes into scene files and
// renders one frame of any of them. Files are told apart by their content.
//
// Exit codes: 0 done, 1 a file could not be read or written, 2 bad usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/frame_choice.h"
#include "import/lws_scene.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include "tools/hlvtool/check_command.h"
#include "tools/hlvtool/export_command.h"
#include "tools/hlvtool/file_kind.h"
#include "tools/hlvtool/import_guard.h"
#include "tools/hlvtool/lightwave_import.h"
#include "tools/hlvtool/render_file.h"
#include "tools/hlvtool/render_frame.h"
#include "tools/hlvtool/scene_positions.h"
#include "tools/hlvtool/summaries.h"
#include "skydrift_version.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char* const kHelp =
    "usage: hlvtool COMMAND ...\n"
    "\n"
    "  hlvtool info FILE [--json] [--search DIR] [--strict] [--verbose]\n"
    "      Describes a scene file (.hlv), a LightWave object (.lwo) or a\n"
    "      LightWave scene (.lws): tables, counts, cameras, node tree, surfaces\n"
    "      with their textures, animation length, bounding boxes, cameras where\n"
    "      they are at 0 s, and for a LightWave scene each file it needs and\n"
    "      where it was found. --json prints one JSON object instead.\n"
    "  hlvtool info FILE --time T [--json]\n"
    "      Where every node of a scene file or LightWave scene is at T seconds:\n"
    "      its world position, the LightWave item it was made for, and for\n"
    "      cameras eye and view direction.\n"
    "  hlvtool convert SCENE.lws OUT.hlv [--search DIR] [--strict] [--verbose]\n"
    "      Imports a LightWave scene with its objects and images and writes it\n"
    "      as a scene file. OUT is replaced only once the new file is complete.\n"
    "  hlvtool render FILE --out F.png [--camera N] [--time T] [--search DIR]\n"
    "                [--size WxH] [--samples N]\n"
    "      Draws one frame at T seconds (default 0) of WxH pixels (default\n"
    "      800x600; a 4:3 size keeps the view's shape) with N samples (default 1)\n"
    "      and writes it as a PNG picture: a scene file or a LightWave scene\n"
    "      (imported first, lit by its own lights, 800 pixels wide in the shape\n"
    "      of its frame unless --size is given) through camera N (default 0),\n"
    "      or a LightWave object lit and framed by its box, seen from the front\n"
    "      at 0 s and turning a full turn in 10 s.\n"
    "  hlvtool export FILE OUT.glb|OUT.gltf [--search DIR] [--fps N] [--sampled]\n"
    "                [--blender-lights] [--subdivide N] [--verbose]\n"
    "      Writes a LightWave object, a LightWave scene or a scene file as\n"
    "      glTF 2.0 with its motion: items as nodes, surfaces as materials,\n"
    "      cameras, lights and animation over the scene's frame range, rotations\n"
    "      sampled N times a second (default: the scene's frame rate). OUT is\n"
    "      replaced only once complete. --sampled writes every motion as straight\n"
    "      steps N times a second (for Blender 3.4, which plays no curves);\n"
    "      --blender-lights writes light intensities as Blender's importer reads\n"
    "      them. --verbose lists what did not carry over.\n"
    "      SubPatch objects are subdivided N times (default: the scene's level,\n"
    "      3 for an object alone); --subdivide 0 keeps their cage.\n"
    "  hlvtool check DIR [--json] [--verbose]\n"
    "      Opens every LightWave object and scene and every scene file found\n"
    "      in DIR and its folders (told by content) and prints one line a\n"
    "      file: kind and version, what opened or why not, each file it needs\n"
    "      that is missing or unreadable, each warning; then the totals.\n"
    "      --json prints one JSON object a line. Exit status 1 when any file\n"
    "      did not open.\n"
    "  hlvtool --version\n"
    "      Prints the version.\n"
    "\n"
    "--verbose shows the importer's log on standard error.\n"
    "A LightWave scene's objects and images are found as LightWave's content\n"
    "directory finds them: as written, then without drive or volume and\n"
    "leading folders, under the scene's folder, the folders above it and DIR,\n"
    "also in their \"Objects\" and \"Images\" folders, names in any case, never\n"
    "from the working folder. A file not found or not readable is a warning (a\n"
    "missing or unreadable object leaves its item empty); --strict makes it an\n"
    "error.\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 bad usage.\n";

int usage(const char* message)
{
    std::fprintf(stderr, "hlvtool: %s\n(hlvtool --help shows the commands)\n", message);
    return kUsage;
}

int failed(const std::string& message)
{
    std::fprintf(stderr, "hlvtool: %s\n", message.c_str());
    return kFailed;
}

struct Arguments {
    std::vector<std::string> files;
    bool json = false;
    bool verbose = false;
    bool strict = false;
    bool sampled = false;
    bool blenderLights = false;
    std::string search;
    std::string out;
    std::string camera;
    std::string time;
    std::string fps;
    std::string size;
    std::string samples;
    std::string subdivide;
};

// The string an option that takes a value fills, or null for any other word.
std::string* valueOption(Arguments& args, const std::string& option)
{
    const std::pair<const char*, std::string Arguments::*> options[] = {
        {"--search", &Arguments::search}, {"--out", &Arguments::out},   {"--camera", &Arguments::camera},
        {"--time", &Arguments::time},     {"--fps", &Arguments::fps},   {"--size", &Arguments::size},
        {"--samples", &Arguments::samples}, {"--subdivide", &Arguments::subdivide},
    };
    for (const auto& [name, member] : options)
        if (option == name)
            return &(args.*member);
    return nullptr;
}

bool parseArguments(int argc, char** argv, Arguments& args, std::string& error)
{
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            into = argv[++i];
            return true;
        };
        if (arg == "--json")
            args.json = true;
        else if (arg == "--verbose")
            args.verbose = true;
        else if (arg == "--strict")
            args.strict = true;
        else if (arg == "--sampled")
            args.sampled = true;
        else if (arg == "--blender-lights")
            args.blenderLights = true;
        else if (std::string* into = valueOption(args, arg)) {
            if (!value(*into))
                return false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            args.files.push_back(arg);
        }
    }
    return true;
}

// Parses and converts; textures keep their pixels for writing. `files`
// receives the files the scene needed.
std::unique_ptr<Scene> importScene(const std::string& path, const std::string& search, hlvtool::FrameRange* frames,
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

int infoAtTime(const Arguments& args);

int info(const Arguments& args)
{
    if (args.files.size() != 1)
        return usage("info takes one file");
    if (!args.time.empty())
        return infoAtTime(args);
    const std::string& path = args.files[0];
    const hlvtool::FileKind kind = hlvtool::fileKindOf(path);
    std::string text, error;
    bool ok = false;
    if (kind == hlvtool::FileKind::LightWaveObject) {
        ok = hlvtool::guardedImport(path, [&] { text = hlvtool::describeObject(path, args.json, args.search); }, error);
    } else if (kind == hlvtool::FileKind::LightWaveScene) {
        ok = hlvtool::guardedImport(path, [&] {
            hlvtool::FrameRange frames;
            std::vector<LW::LwsScene::FileUse> files;
            std::unique_ptr<Scene> scene = importScene(path, args.search, &frames, &files);
            text = hlvtool::describeScene(*scene, frames, args.json, files);
        }, error);
    } else if (kind == hlvtool::FileKind::SceneFile) {
        // Reading a scene file uploads its textures: it needs the window.
        if (!hlvtool::openHiddenWindow())
            return failed(hlvtool::noWindowMessage("reading " + path));
        ok = hlvtool::guardedImport(path, [&] {
            std::unique_ptr<Scene> scene(load_scene(path));
            text = hlvtool::describeScene(*scene, {}, args.json);
        }, error);
    } else {
        return usage(("cannot tell the kind of " + path + " (expected a scene file, a LightWave object or scene)")
                         .c_str());
    }
    if (!ok)
        return failed(error);
    std::fputs(text.c_str(), stdout);
    return 0;
}

int convert(const Arguments& args)
{
    if (args.files.size() != 2)
        return usage("convert takes a LightWave scene and the scene file to write");
    const std::string& source = args.files[0];
    const std::string& target = args.files[1];
    std::string error;
    hlvtool::FrameRange frames;
    std::unique_ptr<Scene> scene;
    if (!hlvtool::guardedImport(source, [&] { scene = importScene(source, args.search, &frames); }, error))
        return failed(error);
    if (!hlvtool::writeSceneFile(*scene, target, error))
        return failed(error);
    std::printf("%s: %zu primitives, %zu surfaces, %zu textures, %zu cameras written to %s\n", source.c_str(),
                scene->primitives().size(), scene->surfaces().size(), scene->textures().size(),
                scene->cameras().size(), target.c_str());
    return 0;
}

bool readNumber(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0';
}

int infoAtTime(const Arguments& args)
{
    const std::string& path = args.files[0];
    double seconds = 0;
    if (!readNumber(args.time, seconds))
        return usage("--time takes seconds");
    const hlvtool::FileKind kind = hlvtool::fileKindOf(path);
    if (kind != hlvtool::FileKind::SceneFile && kind != hlvtool::FileKind::LightWaveScene)
        return usage(("--time takes a scene file (.hlv) or a LightWave scene (.lws), not " + path).c_str());
    std::string text, error;
    const bool lightWave = kind == hlvtool::FileKind::LightWaveScene;
    if (!hlvtool::describeFileAtTime(path, lightWave, args.search, float(seconds), args.json, text, error))
        return failed(error);
    std::fputs(text.c_str(), stdout);
    return 0;
}

int render(const Arguments& args)
{
    if (args.files.size() != 1)
        return usage("render takes one file");
    if (args.out.empty())
        return usage("render needs --out F.png");
    double camera = 0, time = 0;
    if (!args.camera.empty() && (!readNumber(args.camera, camera) || camera < 0 || camera != int(camera)))
        return usage("--camera takes a camera number (0, 1, ...)");
    if (!args.time.empty() && !readNumber(args.time, time))
        return usage("--time takes seconds");
    FrameSize size{800, 600};
    if (!args.size.empty() && !parseFrameSize(args.size.c_str(), &size))
        return usage("--size takes a picture size WxH (1440x1080)");
    int samples = 1;
    if (!args.samples.empty() && !parseSamples(args.samples.c_str(), &samples))
        return usage("--samples takes a number of samples from 1 to 32");
    hlvtool::setFrame(size, samples);
    hlvtool::RenderRequest request;
    request.path = args.files[0];
    request.picture = args.out;
    request.search = args.search;
    request.camera = int(camera);
    request.seconds = float(time);
    request.sizeGiven = !args.size.empty();
    request.samples = samples;
    std::string error;
    if (!hlvtool::renderFile(request, error))
        return failed(error);
    std::printf("%s: camera %d at %g s written to %s\n", args.files[0].c_str(), int(camera), time, args.out.c_str());
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
    hlvtool::ExportRequest request;
    request.path = args.files[0];
    request.out = args.files[1];
    request.search = args.search;
    request.verbose = args.verbose;
    request.sampled = args.sampled;
    request.blenderLights = args.blenderLights;
    double fps = 0;
    if (!args.fps.empty() && (!readNumber(args.fps, fps) || !(fps > 0) || fps > 1000))
        return usage("--fps takes frames per second (above 0, at most 1000)");
    request.framesPerSecond = float(fps);
    double level = 0;
    if (!args.subdivide.empty() && (!readNumber(args.subdivide, level) || level < 0 || level > 6 || level != int(level)))
        return usage("--subdivide takes a subdivision level from 0 (the cage) to 6");
    request.subdivide = args.subdivide.empty() ? -1 : int(level);
    std::string summary, error;
    if (!hlvtool::exportFile(request, summary, error))
        return failed(error);
    std::printf("%s\n", summary.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage("no command given");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (command == "--version") {
        std::printf("hlvtool %s\n", SKYDRIFT_VERSION);
        return 0;
    }
    Arguments args;
    std::string error;
    if (!parseArguments(argc, argv, args, error))
        return usage(error.c_str());
    hlvtool::setVerbose(args.verbose);
    hlvtool::setStrictFiles(args.strict);
    if (command == "info")
        return info(args);
    if (command == "convert")
        return convert(args);
    if (command == "render")
        return render(args);
    if (command == "export")
        return exportCommand(args);
    if (command == "check")
        return check(args);
    return usage(("unknown command " + command).c_str());
}
