#pragma once
// Scene files (".hlv") as a whole: one "class Scene" frame, nothing else.

#include <stdexcept>
#include <string>

class Scene;

// A scene file that cannot be opened, read or written; the message names the
// file and what went wrong.
class SceneFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the file and runs the post-load step. The caller owns the scene.
// Throws SceneFileError; a failed read leaves nothing behind.
Scene* load_scene(const std::string& resourceName);

// Writes the scene as one frame; its nodes are numbered by a walk from the root.
void save_scene(const Scene& scene, const std::string& resourceName);
