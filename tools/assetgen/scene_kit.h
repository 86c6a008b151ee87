#pragma once
// Building the show's scenes in code with the player's own scene classes:
// texture records (raw pixels or embedded picture files), primitives made
// from PolyMesh surfaces in each vertex format, nodes with keyframe motion,
// and saving through write_object.

#include <string>
#include <vector>

#include "math/envelope.h"
#include "scene/hermite_spline.h"
#include "scene/transform_node.h"
#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/poly_mesh.h"

class Scene;
class SceneNode;
class TextureImage;
class CameraNode;
class Camera;

namespace assetgen {

// Texture records. Raw ones carry their pixels; file ones embed the bytes
// of a JPEG written to `workFolder` (the record keeps only its file name).
TextureImage* rawRgbTexture(const Canvas& rgb);
TextureImage* rawGreyTexture(const Canvas& grey);
TextureImage* fileRgbTexture(const Canvas& rgb, const std::string& workFolder, const std::string& fileName);

enum class VertexFormat { Point, PointUV, PointUV2, PointColour };

// One part of a primitive: the polygons of `tag` in `mesh`, drawn with the
// scene surface `surfaceName`. UV set 0 is the mesh UV times `uvScale`;
// UV set 1 (PointUV2) is the mesh UV times `detailScale`. PointColour
// stores the point colours as the second vector.
struct PartPlan {
    uint16_t tag;
    std::string surfaceName;
    VertexFormat format;
    float uvScale = 1.0f;
    float detailScale = 8.0f;
};

// Adds an NMesh made of the given parts; returns its primitive index.
int addPrimitive(Scene& scene, const PolyMesh& mesh, const std::vector<PartPlan>& parts);

// Surfaces.
void addPlainSurface(Scene& scene, const std::string& name, Rgb colour, float factor = 1.0f);
void addTextureSurface(Scene& scene, const std::string& name, int texture, Rgb colour = {1, 1, 1});
void addDetailSurface(Scene& scene, const std::string& name, int texture, int detail, int modulate = -1,
                      Vector3f modulateScale = {1, 1, 1}, Rgb colour = {1, 1, 1});

// Keyframe handlers.
TransformNode::KeyframeHandler* constant(const Vector3f& value);
TransformNode::KeyframeHandler* lw6(const Envelope& x, const Envelope& y, const Envelope& z);
TransformNode::KeyframeHandler* lw5(std::vector<HermiteInterpolator::Ctrl> points, float loopLength);
// An envelope through (time, value) pairs, TCB spans, with the behaviour at both ends.
Envelope keys(const std::vector<std::pair<float, float>>& points, int behaviour = Envelope::Constant);
// The same with linear spans (steady spins).
Envelope linearKeys(const std::vector<std::pair<float, float>>& points, int behaviour);

// Nodes: each joins the scene (which owns it) and hangs under `parent`
// (null for the root, which it then becomes).
TransformNode* addTransform(Scene& scene, SceneNode* parent, TransformNode::KeyframeHandler* rotation = nullptr,
                            TransformNode::KeyframeHandler* scale = nullptr,
                            TransformNode::KeyframeHandler* position = nullptr);
void addShape(Scene& scene, SceneNode* parent, int primitive);
// A camera looking down its parent's +Z axis from the parent's origin.
CameraNode* addCamera(Scene& scene, SceneNode* parent, float halfWidth, float halfHeight, float nearDistance = 1.0f,
                      float farDistance = 400.0f);

// Writes the scene as the show reads it.
void saveScene(const PackFolder& pack, const char* resourceName, const Scene& scene);

// The folder where embedded picture files are prepared (removed afterwards).
class WorkFolder {
public:
    explicit WorkFolder(const PackFolder& pack);
    ~WorkFolder();
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace assetgen
