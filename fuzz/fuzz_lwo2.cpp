// LightWave objects; the loaders read files, so each input goes to a scratch
// file. The show's loader reads LWO2; the scene import's reader also takes
// LWO3 and LWOB objects, and one layer of an object as a scene names it.
#include <cstdint>
#include <memory>

#include "fuzz/fuzz_input.h"
#include "import/lwo2_loader.h"
#include "import/lws_object.h"
#include "import/part_split.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::silenceLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = fuzz::scratchPath(".lwo");
    if (!fuzz::writeScratch(path, data, size))
        return 0;
    bool lwo2 = false;
    try {
        std::unique_ptr<hlv::RobustMesh> mesh(loadLWO2(path.c_str(), nullptr));
        lwo2 = mesh != nullptr;
        if (mesh)
            mesh->build(0);
    } catch (bool) {
    }
    // Other forms as a scene reads them whole, and layer 2 of every form,
    // with normals smoothed by surface and parts split as small as a few
    // vertices, to reach the splitting with small inputs.
    for (uint32_t layer : {0u, 2u}) {
        if (lwo2 && layer == 0)
            continue;
        try {
            LW::Scene scene;
            LW::SceneObject object = LW::readSceneObject(path.c_str(), scene, layer);
            object.mesh->build(hlv::RobustMesh::ComputeNormals);
            for (const hlv::MeshPart& part : object.mesh->parts())
                LW::splitPart(part, 4);
        } catch (bool) {
        }
    }
    return 0;
}
