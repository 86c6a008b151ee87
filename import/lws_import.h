#pragma once
// The scene manager's import of LightWave scenes (defined by the resources
// library, which owns the scene manager).

class SceneEntry;
class SceneManager;

// Imports the LightWave scene `path` on the calling thread (which has the
// main context current), with `searchDirectory` (may be null) as the one
// place its objects and images are looked for first, runs post_load and
// keeps the scene under `path` like a scene loaded at once. A name already
// held keeps its entry and nothing is imported. Importer failures propagate
// (bool true for parse errors, bool false for load failures).
SceneEntry* importLWS(SceneManager& manager, const char* path, const char* searchDirectory);
