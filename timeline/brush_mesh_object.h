#pragma once
#include <string>
#include <vector>

#include "math/bounding_box.h"
#include "math/envelope.h"
#include "render/frame_layout.h"
#include "timeline/brush.h"

class Camera;

namespace hlv {

class Material;
class RobustMesh;

// One mesh in a sub-rectangle of the screen, seen by a camera of its own
// fitted to the mesh's bounding box, turned by three angle envelopes
// (degrees about X, Y, Z) and zoomed by a fourth. Channels 0 and 1 give the
// rectangle's centre (-1..1), channels 2 and 3 its size (fractions of the
// screen). Part i is drawn with material i modulo the material count.
// Skips the frame while the mesh is not loaded.
class BrushMeshObject : public Brush {
public:
    BrushMeshObject() = default;
    BrushMeshObject(const BrushMeshObject&) = delete;
    BrushMeshObject& operator=(const BrushMeshObject&) = delete;
    ~BrushMeshObject() override;

    void render(float localTime) override;

    std::string meshName;              // key in the mesh manager
    std::vector<Material*> materials;  // owned
    int depthReset = 1;  // clear the rectangle's depth to far before drawing
    Envelope angles[3];  // X, Y, Z
    Envelope zoom{1.0f};
};

// --- shared by the mesh layers ---

// A layer's rectangle in frame pixels.
using LayerRect = FrameRect;
// The rectangle of centre (cx, cy) in -1..1 and size (w, h) in fractions of
// the screen, on a frameWidth x frameHeight frame, each value truncated.
LayerRect layerRectangle(float cx, float cy, float w, float h, unsigned frameWidth, unsigned frameHeight);
// glViewport to the rectangle of channels 0..3 on the current frame.
void setLayerViewport(const float channels[Brush::kChannelCount]);
// glViewport back to the whole frame.
void restoreScreenViewport();

// One GL_QUADS over the whole viewport at the far depth, under identity
// matrices, clockwise on screen (a front face with the frame's GL_CW).
void drawFarQuad();

// The largest absolute value among the box's six corner coordinates.
float largestCoordinate(const BoundingBox& box);

// The camera the object layer looks through: on +z at (zoom + 1) * size,
// looking at the origin, near zoom * size, far 5 * size, half extents size / 2.
Camera fittedCamera(float size, float zoom);

// Projection and modelview := the camera's matrices (the mode is left at
// modelview).
void loadCameraMatrices(const Camera& camera);

// Every part of the mesh, part i with materials[i mod count]; nothing
// without materials.
void drawMeshParts(const RobustMesh& mesh, const std::vector<Material*>& materials, const Camera* camera);

} // namespace hlv
