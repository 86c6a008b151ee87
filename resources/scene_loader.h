#pragma once
// Reading scene files for the scene manager, at once or on a loader thread.

#include <string>

class Scene;
class SceneEntry;

// The scene of the file, post-loaded, or null after logging why it could
// not be read (the message names the file). Never throws.
Scene* readSceneFile(const std::string& resourceName);

// The loader thread's body; `argument` is the SceneEntry it fills. Makes
// the entry's context current, reads the entry's path with its textures'
// uploads queued in the entry (the main thread makes them and publishes the
// scene: finishSceneUploads), releases the context and sets the entry's
// event whether or not a scene was read.
void runSceneLoader(void* argument);
