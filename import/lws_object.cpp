#include "import/lws_object.h"

#include <string>

#include "import/importer_context.h"
#include "import/input_stream.h"
#include "import/lwo2_mesh_build.h"
#include "import/lwo2_reader.h"
#include "import/lwob_reader.h"
#include "import/texture_projection.h"

namespace LW {

namespace {

TexCoord cornerUV(const LWTextureBlock& block, const Lwo2Object& object, uint32_t polygon, uint32_t point,
                  const Vector3f& normal)
{
    if (block.projection == UVMapped) {
        auto map = object.uvMaps.find(block.uvMap);
        if (map == object.uvMaps.end())
            loadFailure(block.uvMap.empty() ? "Missing vmap!!" : "Missing unknown VMAP !");
        const UVMap::Value uv = map->second.at(polygon, point);
        return {uv[0], uv[1]};
    }
    if (block.projection < Planar || block.projection > Cubic)
        loadFailure("Unknown mapping type!!");
    return projectPoint(block, object.points[point], normal);
}

void setTriangleUVs(hlv::RobustMesh& mesh, uint32_t set, const LWTextureBlock& block, const Lwo2Object& object,
                    uint32_t t)
{
    const hlv::RobustMesh::TaggedTriangle& tri = object.triangles[t];
    const uint32_t points[3] = {tri.a, tri.b, tri.c};
    const Vector3f& p0 = object.points[tri.a];
    const Vector3f normal = cross(object.points[tri.b] - p0, object.points[tri.c] - p0);
    float uv[6];
    for (int k = 0; k < 3; ++k) {
        const TexCoord corner = cornerUV(block, object, object.triangleSource[t], points[k], normal);
        uv[2 * k] = corner.u;
        uv[2 * k + 1] = corner.v;
    }
    mesh.setTriangleUVs(set, t, uv);
}

// The object build fills set 0 for colour-only surfaces; a scene also draws
// diffuse-only and two-texture surfaces, so their sets are filled here.
void setSceneUVs(hlv::RobustMesh& mesh, const Lwo2Object& object, const Scene& scene)
{
    for (uint32_t t = 0; t < object.triangles.size(); ++t) {
        const uint32_t tag = object.triangles[t].tag;
        if (tag >= object.tagSurface.size() || object.tagSurface[tag] >= scene.surfaces.size())
            continue;
        const LWSurface& surface = *scene.surfaces[object.tagSurface[tag]];
        if (surface.diffuseBlocks.empty())
            continue;
        if (surface.colourBlocks.empty()) {
            setTriangleUVs(mesh, 0, surface.diffuseBlocks[0], object, t);
        } else {
            setTriangleUVs(mesh, 0, surface.colourBlocks[0], object, t);
            setTriangleUVs(mesh, 1, surface.diffuseBlocks[0], object, t);
        }
    }
}

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

SceneObject readSceneObject(const char* path, Scene& scene, uint32_t layer)
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
    result.mesh = buildLwo2Mesh(object, scene);
    setSceneUVs(*result.mesh, object, scene);
    result.tagSurface = object.tagSurface;
    result.layers = std::move(object.layers);
    return result;
}

} // namespace LW
