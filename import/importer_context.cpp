#include "import/importer_context.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "log/logger.h"
#include "platform/path.h"

namespace LW {

namespace {

constexpr int kIndentWidth = 24;
char g_indentBuffer[kIndentWidth + 1] = "                        ";
const char* g_indent = g_indentBuffer + kIndentWidth;

TraceHook g_traceHook = nullptr;
Scene* g_currentScene = nullptr;

// Relative in the resource sense: not "X:..." and not starting at a root.
bool isRelative(const char* path)
{
    if (std::strlen(path) < 3)
        return true;
    return path[1] != ':' && path[0] != '\\' && path[0] != '/';
}

FILE* openWithSearch(const char* path, const Scene& scene)
{
    if (isRelative(path)) {
        for (const std::string& directory : scene.searchDirectories) {
            if (FILE* file = platform::openResource(directory + "\\" + path, "rb"))
                return file;
        }
    }
    return platform::openResource(path, "rb");
}

} // namespace

IdText::IdText(uint32_t id)
{
    for (int i = 0; i < 4; ++i)
        text[i] = static_cast<char>(id >> (24 - 8 * i));
    text[4] = '\0';
}

namespace {
thread_local std::string g_lastFailure;
} // namespace

const std::string& lastLoadFailure() { return g_lastFailure; }

void loadFailure(const char* text)
{
    g_lastFailure = text;
    hlv::log("\n%sError !! %s\n\n", indent(), text);
    throw false;
}

void loadFailuref(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    loadFailure(text);
}

const char* indent() { return g_indent; }

IndentLevel::IndentLevel()
{
    if (g_indent - g_indentBuffer < 2)
        loadFailure("Chunks are nested too deeply.");
    g_indent -= 2;
}

IndentLevel::~IndentLevel() { g_indent += 2; }

void setTraceHook(TraceHook hook) { g_traceHook = hook; }

void trace(const char* format, ...)
{
    if (!g_traceHook)
        return;
    va_list args;
    va_start(args, format);
    g_traceHook(format, args);
    va_end(args);
}

Scene* currentScene() { return g_currentScene; }

SceneContext::SceneContext(Scene& scene) : previous_(g_currentScene) { g_currentScene = &scene; }

SceneContext::~SceneContext() { g_currentScene = previous_; }

std::vector<uint8_t> readImportFile(const char* path, const Scene& scene)
{
    hlv::log("\n%sReading file '%s'..", indent(), path);
    FILE* file = openWithSearch(path, scene);
    if (!file)
        loadFailure("Couldn't open from file!!");

    // Read in pieces rather than trusting the size the end offset claims:
    // a directory opens as a file and reports a huge one.
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + got);
    const bool complete = !std::ferror(file);
    bytes.push_back(0);  // the terminator the readers may rely on
    std::fclose(file);
    if (!complete)
        loadFailure("Couldn't read the whole file!!");
    hlv::log("ok!");
    return bytes;
}

} // namespace LW
