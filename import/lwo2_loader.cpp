#include "import/lwo2_loader.h"

#include <memory>

#include "import/importer_context.h"
#include "import/input_stream.h"
#include "import/lwo2_mesh_build.h"
#include "import/lwo2_reader.h"

hlv::RobustMesh* loadLWO2(const char* path, const char* searchDirectory)
{
    LW::Scene scene;
    if (searchDirectory)
        scene.searchDirectories.push_back(searchDirectory);
    return LW::loadLWO2(path, scene);
}

namespace LW {

hlv::RobustMesh* loadLWO2(const char* path, Scene& scene)
{
    SceneContext context(scene);
    std::vector<uint8_t> bytes = readImportFile(path, scene);
    const size_t fileSize = bytes.size() - 1;
    IndentLevel level;
    InputStream in(std::move(bytes), fileSize);

    if (fileSize < 8 || in.readID4() != makeId("FORM"))
        loadFailure("This is not an IFF-file.");
    const uint32_t formLength = in.readU4();
    if (uint64_t(formLength) + 8 != fileSize || formLength < 4)
        loadFailure("Corrupted IFF length.");
    if (in.readID4() != makeId("LWO2"))
        return nullptr;

    Lwo2Object object;
    Lwo2Reader(in, scene, object).readForm(formLength);
    return buildLwo2Mesh(object, scene).release();
}

} // namespace LW
