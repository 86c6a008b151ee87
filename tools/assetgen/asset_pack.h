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

// Where the pack goes: `root` holds the demo/ folder. `detail` is how many
// picture pixels stand for one pixel of the show's 800x600 layout: 1 for the
// pack, kHighDetail for the high-detail set that frames above 800x600 use.
class PackFolder {
public:
    explicit PackFolder(std::string root, int detail = 1) : root_(std::move(root)), detail_(detail) {}
    // File-system path of a resource name ("demo\backs\1.jpg"), with its
    // folder created.
    std::string pathOf(const std::string& resourceName) const;
    int detail() const { return detail_; }

private:
    std::string root_;
    int detail_;
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

// The high-detail set: every picture and scene texture drawn at twice the
// size, under this folder beside demo/, with the same resource names.
constexpr int kHighDetail = 2;
constexpr const char* kHighDetailFolder = "hd";
// The kinds that have a high-detail twin: the pictures and the scenes.
bool hasHighDetailTwin(AssetKind kind);
// The steps that make the high-detail set (pictures, then scenes).
std::vector<AssetStep> highDetailSteps();

// Throws std::runtime_error naming `path` when `ok` is false.
void checkWritten(bool ok, const std::string& path);

} // namespace assetgen
