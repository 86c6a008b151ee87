#include "import/lws_object.h"

#include <string>

#include "import/importer_context.h"
#include "import/input_stream.h"
#include "import/lwo2_mesh_build.h"
#include "import/lwo2_reader.h"
#include "import/lwob_reader.h"
#include "log/logger.h"

namespace LW {

namespace {

// "layers 1, 2 and 5" for the failure message.
std::string layerList(const std::vector<Lwo2Layer>& layers)
{
    if (layers.empty())
        return "only layer 1";
    std::string text = layers.size() == 1 ? "only layer " : "layers ";
    for (size_t i = 0; i < layers.size(); ++i) {
        if (i > 0)
            text += i + 1 == layers.size() ? " and " : ", ";
        text += std::to_string(layers[i].number + 1u);
    }
    return text;
}

} // namespace

SceneObject readSceneObject(const char* path, Scene& scene, uint32_t layer, uint32_t subdivisionLevel)
{
    SceneContext context(scene);
    std::vector<uint8_t> bytes = readImportFile(path, scene);
    const size_t fileSize = bytes.size() - 1;
    IndentLevel level;
    InputStream in(std::move(bytes), fileSize);

    if (fileSize < 12 || in.readID4() != makeId("FORM"))
        loadFailure("This is not an IFF-file.");
    const uint32_t formLength = in.readU4();
    if (uint64_t(formLength) + 8 != fileSize || formLength < 4)
        loadFailure("Corrupted IFF length.");
    const uint32_t form = in.readID4();
    Lwo2Object object;
    bool found = layer <= 1;
    if (form == makeId("LWO2") || form == makeId("LWO3")) {
        Lwo2Reader reader(in, scene, object, layer, form == makeId("LWO3") ? ObjectForm::Lwo3 : ObjectForm::Lwo2);
        reader.useLightWaveRules();
        reader.readForm(formLength);
        found = reader.foundLayer();
    } else if (form == makeId("LWOB")) {
        readLwobForm(in, formLength, scene, object);
    } else {
        loadFailuref("Unsupported object format (%s).", IdText(form).c_str());
    }
    if (!found)
        loadFailuref("The object has no layer %u (it has %s).", layer, layerList(object.layers).c_str());
    SceneObject result;
    result.subdivision = subdividePatches(
        object, scene.subdivisionOverride >= 0 ? uint32_t(scene.subdivisionOverride) : subdivisionLevel);
    result.mesh = buildLwo2Mesh(object, scene, MeshRules::LightWave);
    for (const auto& [name, index] : object.surfaceNames)
        for (const std::string& undrawn : scene.surfaces[index]->undrawn)
            hlv::log("\n%sSurface '%s' has a %s, which is not drawn: the surface keeps its colour.", indent(),
                     name.c_str(), undrawn.c_str());
    result.tagSurface = object.tagSurface;
    result.layers = std::move(object.layers);
    return result;
}

} // namespace LW
