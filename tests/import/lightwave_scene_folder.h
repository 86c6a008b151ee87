#pragma once
// The objects that the LightWave scenes of tests/import/scenes name (the LWS
// fuzz target writes them too), and, for the tests, a folder of its own
// holding them and those scenes on request:
// - "Objects/Box.lwo": a yellow cube of side 6 about the origin;
// - "Objects/Layers.lwo": layer 1 a red square of side 6 at z = -5, layer 2
//   a green one at z = 0.
// Every face is seen from both sides.
#include <filesystem>
#include <string>
#include <vector>

#include "tools/writers/lwo2_writer.h"

namespace lightwave_objects {

inline writers::Lwo2Surface surface(const char* name, float r, float g, float b)
{
    writers::Lwo2Surface s;
    s.name = name;
    s.colour[0] = r;
    s.colour[1] = g;
    s.colour[2] = b;
    return s;
}

// The four corners of each face, then the same faces wound the other way.
inline std::vector<std::vector<uint32_t>> bothSides(const std::vector<std::vector<uint32_t>>& faces)
{
    std::vector<std::vector<uint32_t>> all = faces;
    for (const auto& face : faces)
        all.push_back({face.rbegin(), face.rend()});
    return all;
}

inline std::vector<std::pair<uint32_t, uint16_t>> allTagged(size_t polygons, uint16_t tag)
{
    std::vector<std::pair<uint32_t, uint16_t>> tags;
    for (size_t p = 0; p < polygons; ++p)
        tags.push_back({uint32_t(p), tag});
    return tags;
}

inline void writeCube(const std::string& file)
{
    const auto faces = bothSides({{0, 1, 2, 3}, {4, 7, 6, 5}, {0, 4, 5, 1}, {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}});
    writers::Lwo2Writer()
        .tags({"Box"})
        .layer(0)
        .points({{-3, -3, -3}, {-3, 3, -3}, {3, 3, -3}, {3, -3, -3}, {-3, -3, 3}, {-3, 3, 3}, {3, 3, 3}, {3, -3, 3}})
        .polygons(faces)
        .surfaceTags(allTagged(faces.size(), 0))
        .surface(surface("Box", 1, 1, 0))
        .save(file);
}

inline void writeLayers(const std::string& file)
{
    const auto square = bothSides({{0, 1, 2, 3}});
    auto corners = [](float z) { return std::vector<Vector3f>{{-3, -3, z}, {-3, 3, z}, {3, 3, z}, {3, -3, z}}; };
    auto tagged = allTagged(square.size(), 0);
    auto taggedBack = allTagged(square.size(), 1);
    writers::Lwo2Writer()
        .tags({"Front", "Back"})
        .layer(0, "Front")
        .points(corners(-5))
        .polygons(square)
        .surfaceTags(tagged)
        .layer(1, "Back")
        .points(corners(0))
        .polygons(square)
        .surfaceTags(taggedBack)
        .surface(surface("Front", 1, 0, 0))
        .surface(surface("Back", 0, 1, 0))
        .save(file);
}

// Writes both objects into `folder`/Objects.
inline void write(const std::string& folder)
{
    std::filesystem::create_directories(folder + "/Objects");
    writeCube(folder + "/Objects/Box.lwo");
    writeLayers(folder + "/Objects/Layers.lwo");
}

} // namespace lightwave_objects

#ifdef SKYDRIFT_LWS_SCENES

class LightWaveSceneFolder {
public:
    static constexpr const char* kScenes = SKYDRIFT_LWS_SCENES;

    explicit LightWaveSceneFolder(const std::string& name)
        : path((std::filesystem::current_path() / name).string())
    {
        std::filesystem::remove_all(path);
        lightwave_objects::write(path);
    }
    ~LightWaveSceneFolder() { std::filesystem::remove_all(path); }
    LightWaveSceneFolder(const LightWaveSceneFolder&) = delete;
    LightWaveSceneFolder& operator=(const LightWaveSceneFolder&) = delete;

    // Copies tests/import/scenes/NAME into the folder; returns its path there.
    std::string scene(const std::string& name) const
    {
        std::filesystem::copy_file(std::string(kScenes) + "/" + name, path + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
        return path + "/" + name;
    }

    std::string path;
};
#endif
