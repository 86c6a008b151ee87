#pragma once
// The scene files read into scenes, by path, each in a SceneEntry.

#include "resources/resource_manager.h"
#include "resources/scene_entry.h"

class SceneManager : public ResourceManager<SceneEntry> {
public:
    // Reads the scene file `name` and keeps it under that name.
    //
    // At once (threaded false): on the calling thread, which has the main
    // context current. A file that cannot be read adds nothing.
    //
    // Threaded: registers an entry without a scene, with an event and a
    // context sharing textures with the current one, and starts a loader
    // thread that fills it; the entry's event is set when the thread is
    // done, whether or not it read a scene. Where no loading context can be
    // made the scene is read at once into the entry instead.
    //
    // Failures are logged with the file's name. A name already held keeps
    // its entry and nothing is read again. Returns the entry, or null.
    SceneEntry* load(const char* name, bool threaded);
    // Imports the LightWave scene `path` on the calling thread (which has the
    // main context current), with `searchDirectory` (may be null) as the one
    // place its objects and images are looked for first, runs post_load and
    // keeps the scene under `path` like a scene loaded at once. A name already
    // held keeps its entry and nothing is imported. Importer failures
    // propagate (bool true for parse errors, bool false for load failures).
    SceneEntry* importLWS(const char* path, const char* searchDirectory);

    // Once per frame on the main thread: makes the waiting textures of
    // scenes read in the background, together for at most about
    // `budgetMilliseconds` (at least one texture when any waits), and
    // publishes each scene whose textures are all made.
    void finishBackgroundLoads(double budgetMilliseconds);

private:
    SceneEntry* loadNow(const char* name);
    SceneEntry* startBackgroundLoad(const char* name);
};

// The process-wide scene manager, built during static initialisation and
// destroyed, with every scene it still owns, at exit.
extern SceneManager sceneManager;
