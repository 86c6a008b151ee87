#pragma once
// Reading machinery shared by the LightWave object and scene readers: the
// load failure, log indentation, the trace hook, the current scene record and
// the file search.

#include <cstdarg>
#include <cstdint>
#include <string>
#include <vector>

#include "import/lw_scene.h"

namespace LW {

// Logs "Error !! <text>" at the current indentation and throws the bool false.
[[noreturn]] void loadFailure(const char* text);
[[noreturn]] void loadFailuref(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// The text of the last load failure on this thread, for a caller that goes
// on without the file and says why.
const std::string& lastLoadFailure();

// The current indentation: two spaces per nested level.
const char* indent();

// One nested level for its lifetime. Nesting deeper than the indentation can
// show is refused with the load failure (a file of endlessly nested chunks
// must not exhaust the stack).
class IndentLevel {
public:
    IndentLevel();
    ~IndentLevel();
    IndentLevel(const IndentLevel&) = delete;
    IndentLevel& operator=(const IndentLevel&) = delete;
};

// Per-chunk trace lines go here; they are discarded unless a hook is set.
using TraceHook = void (*)(const char* format, va_list args);
void setTraceHook(TraceHook hook);
void trace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// The scene record of the import in progress, if any.
Scene* currentScene();

// Makes `scene` current for its lifetime.
class SceneContext {
public:
    explicit SceneContext(Scene& scene);
    ~SceneContext();
    SceneContext(const SceneContext&) = delete;
    SceneContext& operator=(const SceneContext&) = delete;

private:
    Scene* previous_;
};

// Opens `path` (a resource name), trying the scene's search directories first
// when the path is relative, and returns the whole file followed by one zero
// byte. Logs "Reading file" and "ok!"; fails with "Couldn't open from file!!".
std::vector<uint8_t> readImportFile(const char* path, const Scene& scene);

} // namespace LW
