#include "tools/hlvtool/command_line.h"

#include <cstring>

namespace hlvtool {

namespace {

struct Command {
    const char* name;
    std::vector<const char*> options;
    const char* help;
};

const std::vector<Command>& commands()
{
    static const std::vector<Command> table = {
        {"info",
         {"--json", "--search", "--strict", "--verbose", "--time", "--frame"},
         "  hlvtool info FILE [--json] [--search DIR]... [--strict] [--verbose]\n"
         "      Describes a scene file (.hlv), a LightWave object (.lwo) or a\n"
         "      LightWave scene (.lws): tables, counts, cameras, node tree, surfaces\n"
         "      with their textures, animation length, bounding boxes, cameras where\n"
         "      they are at 0 s, and for a LightWave scene each file it needs and\n"
         "      where it was found. --json prints the same as one JSON object\n"
         "      (docs/hlvtool.md lists its fields).\n"
         "  hlvtool info FILE --time T | --frame N [--json] [--search DIR]...\n"
         "      Where every node of a scene file or LightWave scene is at T seconds\n"
         "      (or at the LightWave scene's frame N): its world position, the\n"
         "      LightWave item it was made for, and for cameras eye and view direction.\n"},
        {"convert",
         {"--search", "--strict", "--verbose"},
         "  hlvtool convert SCENE.lws OUT.hlv [--search DIR]... [--strict] [--verbose]\n"
         "      Imports a LightWave scene with its objects and images and writes it\n"
         "      as a scene file. OUT is replaced only once the new file is complete.\n"},
        {"render",
         {"--out", "--camera", "--time", "--frame", "--search", "--size", "--samples", "--strict", "--verbose"},
         "  hlvtool render FILE --out PICTURE [--camera N] [--time T | --frame N]\n"
         "                [--search DIR]... [--size WxH] [--samples N] [--strict] [--verbose]\n"
         "      Draws one frame at T seconds (default 0; --frame N: the LightWave\n"
         "      scene's frame N) of WxH pixels (default 800x600; a 4:3 size keeps the\n"
         "      view's shape) with N samples (default 1) and writes it as a PNG or\n"
         "      JPEG picture, as PICTURE's extension says (.png, .jpg, .jpeg): a\n"
         "      scene file or a LightWave scene (imported first) through camera N\n"
         "      (default 0; a LightWave scene lit by its own lights, 800 pixels wide\n"
         "      in the shape of its frame unless --size is given), or a LightWave\n"
         "      object lit and framed by its box, seen from the front at 0 s and\n"
         "      turning a full turn in 10 s.\n"},
        {"export",
         {"--search", "--fps", "--sampled", "--blender-lights", "--subdivide", "--strict", "--verbose"},
         "  hlvtool export FILE OUT.glb|OUT.gltf [--search DIR]... [--fps N] [--sampled]\n"
         "                [--blender-lights] [--subdivide N] [--strict] [--verbose]\n"
         "      Writes a LightWave object, a LightWave scene or a scene file as\n"
         "      glTF 2.0 with its motion: items as nodes, surfaces as materials,\n"
         "      cameras, lights and animation over the scene's frame range, rotations\n"
         "      sampled N times a second (default: the scene's frame rate). OUT is\n"
         "      replaced only once complete. --sampled writes every motion as straight\n"
         "      steps N times a second (for Blender 3.4, which plays no curves);\n"
         "      --blender-lights writes light intensities as Blender's importer reads\n"
         "      them. --verbose lists what did not carry over.\n"
         "      SubPatch objects are subdivided N times (default: the scene's level,\n"
         "      3 for an object alone); --subdivide 0 keeps their cage.\n"},
        {"check",
         {"--json", "--verbose"},
         "  hlvtool check DIR [--json] [--verbose]\n"
         "      Opens every LightWave object and scene and every scene file found\n"
         "      in DIR and its folders (told by content) and prints one line a\n"
         "      file: kind and version, what opened or why not, each file it needs\n"
         "      that is missing or unreadable, each warning; then the totals.\n"
         "      --json prints one JSON object a line. Exit status 1 when any file\n"
         "      did not open.\n"},
    };
    return table;
}

const char* const kCommon =
    "--verbose shows the importer's messages on standard error, one a line.\n"
    "A LightWave scene's objects and images are found as LightWave's content\n"
    "directory finds them: as written, then without drive or volume and\n"
    "leading folders, under every --search DIR in the order given, the scene's\n"
    "folder and the folders above it, also in their \"Objects\" and \"Images\"\n"
    "folders, names in any case, never from the working folder. A file not\n"
    "found or not readable is a warning (a missing or unreadable object leaves\n"
    "its item empty); --strict makes it an error. Options take their value as\n"
    "the next word or after '=' (--out=frame.png).\n"
    "Exit status: 0 done, 1 a file is missing, damaged or cannot be written,\n"
    "2 the command line is wrong.\n";

const Command* findCommand(const std::string& name)
{
    for (const Command& command : commands())
        if (name == command.name)
            return &command;
    return nullptr;
}

bool takes(const Command& command, const std::string& option)
{
    for (const char* name : command.options)
        if (option == name)
            return true;
    return false;
}

// The field an option with a value fills, or null for any other word.
std::string* valueOption(Arguments& args, const std::string& option)
{
    const std::pair<const char*, std::string Arguments::*> options[] = {
        {"--out", &Arguments::out},   {"--camera", &Arguments::camera}, {"--time", &Arguments::time},
        {"--frame", &Arguments::frame}, {"--fps", &Arguments::fps},     {"--size", &Arguments::size},
        {"--samples", &Arguments::samples}, {"--subdivide", &Arguments::subdivide},
    };
    for (const auto& [name, member] : options)
        if (option == name)
            return &(args.*member);
    return nullptr;
}

bool* flagOption(Arguments& args, const std::string& option)
{
    if (option == "--json")
        return &args.json;
    if (option == "--verbose")
        return &args.verbose;
    if (option == "--strict")
        return &args.strict;
    if (option == "--sampled")
        return &args.sampled;
    if (option == "--blender-lights")
        return &args.blenderLights;
    return nullptr;
}

} // namespace

bool parseCommandLine(int argc, char** argv, Arguments& args, std::string& error)
{
    if (argc < 2) {
        error = "no command given";
        return false;
    }
    args.command = argv[1];
    const Command* command = findCommand(args.command);
    if (!command) {
        error = "unknown command \"" + args.command + "\" (the commands are info, convert, render, export, check)";
        return false;
    }
    for (int i = 2; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            args.help = true;
            return true;
        }
        if (option.size() < 2 || option[0] != '-') {
            args.files.push_back(option);
            continue;
        }
        std::string value;
        const size_t equals = option.find('=');
        const bool inlineValue = option.compare(0, 2, "--") == 0 && equals != std::string::npos;
        if (inlineValue) {
            value = option.substr(equals + 1);
            option.resize(equals);
        }
        std::string* field = valueOption(args, option);
        bool* flag = flagOption(args, option);
        if (!field && !flag && option != "--search") {
            error = "unknown option " + option;
            return false;
        }
        if (!takes(*command, option)) {
            error = args.command + " does not take " + option;
            return false;
        }
        if (flag) {
            if (inlineValue) {
                error = option + " takes no value";
                return false;
            }
            *flag = true;
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= argc) {
                error = option + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (field)
            *field = value;
        else
            args.search.push_back(value);
    }
    return true;
}

bool findsCommand(const std::string& name) { return findCommand(name) != nullptr; }

std::string commandHelp(const std::string& name)
{
    const Command* command = findCommand(name);
    if (!command)
        return {};
    return std::string("usage:\n") + command->help + "\n" + kCommon;
}

std::string fullHelp()
{
    std::string text = "usage: hlvtool COMMAND ...    (hlvtool COMMAND --help: that command alone)\n\n";
    for (const Command& command : commands())
        text += command.help;
    text += "  hlvtool --version\n      Prints the version.\n";
    return text + "\n" + kCommon;
}

} // namespace hlvtool
