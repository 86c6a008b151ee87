#pragma once
// What the scene manager holds under a scene file's name: the scene once it
// has been read, and for a background load the loader's event, GL context
// and thread.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gl_context.h"
#include "platform/sync.h"

class Scene;
class TextureImage;

class SceneEntry {
public:
    SceneEntry() = default;
    // Waits for a background load that is still running (its thread uses
    // the entry and the context), then deletes the scene on the calling
    // thread's context, the loader's context and the event.
    ~SceneEntry();
    SceneEntry(const SceneEntry&) = delete;
    SceneEntry& operator=(const SceneEntry&) = delete;

    // Null until the scene has been read, and for good when the read failed.
    // The loader publishes the scene only once it is ready to draw.
    std::atomic<Scene*> scene{nullptr};
    // Set when a background load has finished, whether or not it read a
    // scene; null for a load done at once.
    platform::Event* loaded = nullptr;
    // The loader's context, sharing textures with the main one; null for a
    // load done at once.
    platform::GLContext* context = nullptr;
    // The file a background load reads; empty for a load done at once.
    std::string path;
    // The loader thread, joined when the entry is destroyed.
    platform::Thread* thread = nullptr;
    // Set by a background load before its event: the scene read (owned here
    // until published) and its textures still to be made on the main
    // context, a few per frame (finishSceneUploads).
    Scene* readScene = nullptr;
    std::vector<TextureImage*> uploads;
};

// How long a consumer waits for a background load before going on without
// its scene. Tests shorten it.
extern uint32_t sceneLoadWaitMilliseconds;

// The entry's scene, waiting for a background load that has not finished
// yet (at most sceneLoadWaitMilliseconds) and making all its textures that
// are still waiting. Null when the load failed or the wait ran out.
Scene* waitForScene(SceneEntry& entry);

// On the main thread, for a background load that has read its scene: makes
// the scene's waiting textures until `budgetMilliseconds` are spent (at
// least one), and publishes the scene once none waits. Returns the time
// spent; nothing is done while the loader is still reading.
double finishSceneUploads(SceneEntry& entry, double budgetMilliseconds);
