// One LightWave object on its own, drawn the way the show's rotating-object
// layer draws its object: a camera looking at the object's centre with the
// layer's view, one light above and to the right of the camera, back faces
// culled, the object turned by angles about X and Y. At 0 s the camera sees
// the object's front, as LightWave's default camera does (from -z, looking
// along +z), and the object turns from there.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "import/lws_object.h"
#include "math/camera.h"
#include "render/gl_api.h"
#include "render/gl_state_cache.h"
#include "import/content_directory.h"
#include "log/logger.h"
#include "tools/hlvtool/import_guard.h"
#include "tools/hlvtool/object_pictures.h"
#include "tools/hlvtool/render_file.h"
#include "tools/hlvtool/render_frame.h"
#include "tools/hlvtool/surface_material.h"

namespace hlvtool {

namespace {

constexpr float kTilt = 20;  // degrees, the top towards the camera
constexpr float kDegreesPerSecond = 36;
// The layer's camera stands on +z of the object; half a turn brings the
// object's front (its -z side) to it.
constexpr float kFrontHeading = 180;
constexpr float kViewSlope = 0.5f;  // half the view's height over its distance, as the layer's camera
constexpr float kMargin = 0.9f;     // of the picture the box may fill

// The file of the surface's first enabled colour picture; empty (and one
// warning) when it is missing.
std::string locatePicture(const LW::LWSurface& surface, const std::string& objectPath, const std::string& search)
{
    const std::vector<const LW::LWTextureBlock*> layers = LW::LWSurface::enabledOf(surface.colourBlocks);
    if (layers.empty() || layers[0]->imageName.empty())
        return {};
    const std::string found = findObjectPicture(layers[0]->imageName, objectPath, search);
    if (found.empty())
        hlv::log("\n%s'%s' (needed by surface '%s') is not found.", LW::kMissingFileWarning,
                 layers[0]->imageName.c_str(), surface.name.c_str());
    return found;
}

struct Frame {
    float distance, nearest, farthest, radius;
};

// Where the camera stands for the box's corners, turned by `tilt` about X
// after `heading` about Y, to fit a 4:3 picture.
Frame frameFor(const BoundingBox& box, float tilt, float heading)
{
    const float degree = float(M_PI) / 180;
    const float ch = std::cos(heading * degree), sh = std::sin(heading * degree);
    const float ct = std::cos(tilt * degree), st = std::sin(tilt * degree);
    const Vector3f half = box.halfSize();
    Frame frame{0, 0, 0, std::max(half.length(), 1e-6f)};
    for (int i = 0; i < 8; ++i) {
        const Vector3f p(i & 1 ? half.x : -half.x, i & 2 ? half.y : -half.y, i & 4 ? half.z : -half.z);
        const Vector3f turned(ch * p.x + sh * p.z, p.y, -sh * p.x + ch * p.z);
        const Vector3f q(turned.x, ct * turned.y - st * turned.z, st * turned.y + ct * turned.z);
        frame.distance = std::max({frame.distance, q.z + std::fabs(q.y) / (kViewSlope * kMargin),
                                   q.z + std::fabs(q.x) / (kViewSlope * 4 / 3 * kMargin)});
    }
    frame.nearest = std::max(frame.distance - frame.radius * 1.01f, frame.distance * 0.01f);
    frame.farthest = frame.distance + frame.radius * 1.01f;
    return frame;
}

} // namespace

bool renderObjectFrame(const RenderRequest& request, std::string& error)
{
    if (!openHiddenWindow()) {
        error = noWindowMessage("drawing " + request.path);
        return false;
    }
    if (request.camera != 0) {
        error = request.path + ": an object is drawn through one camera, camera 0";
        return false;
    }
    LW::Scene record;
    LW::SceneObject object;
    if (!guardedImport(request.path, [&] {
            object = LW::readSceneObject(request.path.c_str(), record);
            object.mesh->build(hlv::RobustMesh::ComputeNormals);
        }, error))
        return false;
    const hlv::RobustMesh& mesh = *object.mesh;
    if (mesh.triangleCount() == 0) {
        error = request.path + ": has no polygon to draw";
        return false;
    }
    // Framed about the centre of its box, whatever its pivot: the camera
    // stands as far out on +z as the box's corners, turned as the object is
    // now, need to fit the picture with a margin.
    const BoundingBox& box = mesh.boundingBox();
    const Vector3f centre = box.center();
    const float heading = kFrontHeading + kDegreesPerSecond * request.seconds;
    const Frame frame = frameFor(box, kTilt, heading);
    const Camera camera(Vector3f(0, 0, frame.distance), Vector3f(0, 0, 0), Vector3f(0, 1, 0), frame.nearest,
                        frame.farthest, frame.nearest * kViewSlope, frame.nearest * kViewSlope);
    std::vector<std::unique_ptr<SurfaceMaterial>> materials;
    const PictureFinder picture = [&](const LW::LWSurface& surface) {
        return locatePicture(surface, request.path, request.search);
    };
    if (!guardedImport(request.path, [&] { materials = partMaterials(mesh, object.tagSurface, record, picture); }, error))
        return false;

    setWholeFrameViewport();
    glClearColor(0.12f, 0.14f, 0.18f, 1);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    startSolidDrawing();
    GLStateCache::instance().setMatrixMode(GL_MODELVIEW);
    glLoadIdentity();  // the light stands beside the camera
    glEnable(GL_LIGHT0);
    const float light[4] = {frame.radius, frame.radius, 3 * frame.radius, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    // The square view widened to the picture's 4:3.
    GLStateCache& cache = GLStateCache::instance();
    cache.setMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(0.75f, 1, 1);
    glMultMatrixf(camera.projectionMatrix().data());
    cache.setMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(camera.viewMatrix().data());
    glRotatef(kTilt, 1, 0, 0);
    glRotatef(heading, 0, 1, 0);
    glTranslatef(-centre.x, -centre.y, -centre.z);
    // Transparent surfaces last, over what they let through.
    for (bool transparent : {false, true})
        for (size_t i = 0; i < mesh.parts().size() && i < materials.size(); ++i)
            if (materials[i]->transparent() == transparent)
                materials[i]->render(&camera, &mesh.parts()[i]);
    glDisable(GL_LIGHT0);
    return writeFramePicture(request.picture, error);
}

} // namespace hlvtool
