#include "persist/factory.h"

#include "geometry/nmesh.h"
#include "geometry/robust_mesh.h"
#include "geometry/surface.h"
#include "geometry/uni_surface_mesh.h"
#include "scene/camera_node.h"
#include "scene/keyframe_handlers.h"
#include "scene/shape_node.h"
#include "scene/transform_node.h"

namespace {

template <typename T>
void link_factory()
{
    // Linked into the process-wide list by its constructor and never freed.
    new dynamic::factory<T>;
}

} // namespace

// Links one factory per class that a scene file may hold. Each new factory
// goes to the head of the list, so the list is asked in the reverse order.
// The factories for "class Scene" and "class TextureImage" are static
// objects of their own and sit at the tail.
void register_factories()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;

    link_factory<CameraNode>();
    link_factory<ShapeNode>();
    link_factory<TransformNode>();
    link_factory<ConstantKeyframeHandler>();
    link_factory<LW5KeyframeHandler>();
    link_factory<LW6KeyframeHandler>();
    link_factory<NMesh>();
    link_factory<UniSurfaceMesh_Point>();
    link_factory<UniSurfaceMesh_PointUV>();
    link_factory<UniSurfaceMesh_PointUV2>();
    link_factory<UniSurfaceMesh_PointNormal>();
    link_factory<Surface>();
    link_factory<TextureSurface>();
    link_factory<TexDifSurface>();
    link_factory<hlv::RobustMesh>();
}
