#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "geometry/primitive.h"
#include "resources/scene_entry.h"
#include "resources/scene_manager.h"
#include "scene/scene.h"
#include "scene/shape_node.h"
#include "tests/app/show_run.h"

namespace {

// The box round a set of pixels, and their number.
struct Extent {
    int left = 800, right = -1, top = 600, bottom = -1;
    size_t pixels = 0;

    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

std::vector<ShapeNode*> shapesOnSurface(Scene& scene, const std::string& surfaceName)
{
    std::vector<ShapeNode*> found;
    for (SceneNode* node : scene.nodes()) {
        auto* shape = dynamic_cast<ShapeNode*>(node);
        Primitive* primitive = shape ? scene.primitive(shape->primitive_index) : nullptr;
        if (primitive && std::count(primitive->surface_names.begin(), primitive->surface_names.end(), surfaceName))
            found.push_back(shape);
    }
    return found;
}

// Where the metaballs' pearly core lies in the frame at `t`: the pixels that
// change when the frame is drawn again without it.
Extent coreExtent(ShowRun& run, float t)
{
    ShowFrame with = run.frameAt(t);
    SceneEntry* entry = sceneManager.find("demo\\metaballs.hlv");
    Scene* scene = entry ? entry->scene.load() : nullptr;
    EXPECT_NE(scene, nullptr) << "at " << t;
    if (!scene)
        return {};
    std::vector<ShapeNode*> core = shapesOnSurface(*scene, "Pearl");
    EXPECT_EQ(core.size(), 1u);
    std::vector<int> primitives;
    for (ShapeNode* shape : core) {
        primitives.push_back(shape->primitive_index);
        shape->primitive_index = -1;
    }
    ShowFrame without = run.frameAt(t);
    for (size_t i = 0; i < core.size(); ++i)
        core[i]->primitive_index = primitives[i];

    Extent extent;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const uint8_t *a = with.at(x, y), *b = without.at(x, y);
            if (std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) < 24)
                continue;
            ++extent.pixels;
            extent.left = std::min(extent.left, x);
            extent.right = std::max(extent.right, x);
            extent.top = std::min(extent.top, y);
            extent.bottom = std::max(extent.bottom, y);
        }
    return extent;
}

} // namespace

// The zoom brush pulses camera 0's near distance between 1 (at 95.6 s) and
// 0.475 (at 96.6 s): with the view about twice as wide, the core is drawn
// at about half the size, a quarter of the area. The camera's own flight and
// the core's breathing change its size by far less.
TEST(ShowZoomPulse, TheMetaballsCoreShrinksWhenTheZoomWidensTheView)
{
    ShowRun run(false, 4);
    ASSERT_TRUE(run.started());
    const Extent zoomedIn = coreExtent(run, 95.6f);
    const Extent zoomedOut = coreExtent(run, 96.6f);
    ASSERT_GT(zoomedIn.pixels, 10000u) << "the core is not in the frame";
    ASSERT_GT(zoomedOut.pixels, 0u);
    EXPECT_LT(zoomedOut.width(), 0.7 * zoomedIn.width());
    EXPECT_LT(zoomedOut.height(), 0.7 * zoomedIn.height());
    EXPECT_LT(double(zoomedOut.pixels), 0.45 * double(zoomedIn.pixels));
}
