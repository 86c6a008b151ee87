#pragma once
// The pack the show loads: every file of its asset table, the folder it is
// written to, and the steps that make each file.

#include <functional>
#include <string>
#include <vector>

namespace assetgen {

enum class AssetKind { Jpeg, Png, Lwo2, Scene, Module, Mp3 };

struct AssetEntry {
    const char* resourceName;  // as the show names it, with backslashes
    AssetKind kind;
};

// Every file the show loads, in the order of its script.
const std::vector<AssetEntry>& assetTable();
const char* kindName(AssetKind kind);

// Where the pack goes: `root` holds the demo/ folder.
class PackFolder {
public:
    explicit PackFolder(std::string root) : root_(std::move(root)) {}
    // File-system path of a resource name ("demo\backs\1.jpg"), with its
    // folder created.
    std::string pathOf(const std::string& resourceName) const;

private:
    std::string root_;
};

// One generation step: makes the named files. Throws std::runtime_error
// naming the file when it cannot be written.
struct AssetStep {
    std::string label;
    std::function<void(const PackFolder&)> make;
};

void addPictureSteps(std::vector<AssetStep>& steps);
void addCutoutSteps(std::vector<AssetStep>& steps);  // the alpha and stencil pictures
void addObjectSteps(std::vector<AssetStep>& steps);
void addCraftStep(std::vector<AssetStep>& steps);         // the intro's aeroplane
void addShadowObjectSteps(std::vector<AssetStep>& steps);  // the shadow section's receiver and casters
void addLightObjectSteps(std::vector<AssetStep>& steps);   // the hall's light shafts
void addSceneSteps(std::vector<AssetStep>& steps);
void addMusicSteps(std::vector<AssetStep>& steps);
void addHallSceneStep(std::vector<AssetStep>& steps);       // mosquee.hlv
void addCubesSceneStep(std::vector<AssetStep>& steps);      // cubes.hlv
void addMetaballsSceneStep(std::vector<AssetStep>& steps);  // metaballs.hlv
void addLandscapeSceneStep(std::vector<AssetStep>& steps);  // Davudare.hlv
void addFinaleSceneStep(std::vector<AssetStep>& steps);     // fin2.hlv

// Throws std::runtime_error naming `path` when `ok` is false.
void checkWritten(bool ok, const std::string& path);

} // namespace assetgen
