// glTF export time and size: the pack's largest scene file and a
// 1,000,000-polygon LightWave object (a 1000 x 1000 grid of quads, rippled),
// each through `hlvtool export` as a user runs it, best of three.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/writers/lwo2_writer.h"

namespace fs = std::filesystem;

namespace {

void writeGrid(const std::string& path, int side)
{
    std::vector<Vector3f> points;
    points.reserve(size_t(side + 1) * size_t(side + 1));
    for (int j = 0; j <= side; ++j)
        for (int i = 0; i <= side; ++i)
            points.push_back({float(i) / side * 100 - 50, std::sin(i * 0.05f) * std::cos(j * 0.07f) * 3,
                              float(j) / side * 100 - 50});
    std::vector<std::vector<uint32_t>> quads;
    quads.reserve(size_t(side) * size_t(side));
    auto at = [&](int i, int j) { return uint32_t(j * (side + 1) + i); };
    for (int j = 0; j < side; ++j)
        for (int i = 0; i < side; ++i)
            quads.push_back({at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i + 1, j)});
    std::vector<std::pair<uint32_t, uint16_t>> tags;
    tags.reserve(quads.size());
    for (size_t p = 0; p < quads.size(); ++p)
        tags.push_back({uint32_t(p), uint16_t(p % 2)});
    writers::Lwo2Surface a, b;
    a.name = "Even";
    b.name = "Odd";
    writers::Lwo2Writer().tags({"Even", "Odd"}).layer(0).points(points).polygons(quads).surfaceTags(tags).surface(a).surface(b).save(path);
}

void timeExport(const std::string& label, const std::string& source, const std::string& target)
{
    double best = 1e30;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const std::string command = std::string(SKYDRIFT_HLVTOOL) + " export '" + source + "' '" + target + "' > /dev/null";
        if (std::system(command.c_str()) != 0) {
            std::printf("%s: export failed\n", label.c_str());
            return;
        }
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::printf("%-44s %8.3f s  %10ju bytes  (source %ju bytes)\n", label.c_str(), best, std::uintmax_t(fs::file_size(target)),
                std::uintmax_t(fs::file_size(source)));
}

} // namespace

int main()
{
    const fs::path folder = fs::temp_directory_path() / "skydrift_export_bench";
    fs::create_directories(folder);
    fs::path largest;
    for (const auto& entry : fs::recursive_directory_iterator(SKYDRIFT_DEMO_PACK))
        if (entry.path().extension() == ".hlv" && (largest.empty() || entry.file_size() > fs::file_size(largest)))
            largest = entry.path();
    if (!largest.empty())
        timeExport("largest scene file (" + largest.filename().string() + ")", largest.string(),
                   (folder / "scene.glb").string());
    const std::string grid = (folder / "grid.lwo").string();
    writeGrid(grid, 1000);
    timeExport("1,000,000-polygon object", grid, (folder / "grid.glb").string());
    fs::remove_all(folder);
    return 0;
}
