#pragma once
// What a scene draws in one frame, gathered per surface while the node tree
// is culled, then drawn surface by surface so each sets its state once.

#include <vector>

#include "math/matrix44.h"

class Scene;
namespace RetainedModeData {
class Element;
}

struct RenderItem {
    const RetainedModeData::Element* element;
    Matrix44 world;
};

using RenderBucket = std::vector<RenderItem>;

struct RenderQueue {
    RenderQueue(Scene* scene, size_t surfaceCount) : scene(scene), buckets(surfaceCount) {}

    // Parts whose surface has no bucket (a name that matched no surface)
    // are never queued.
    void add(unsigned int surfaceIndex, const RetainedModeData::Element* element, const Matrix44& world)
    {
        if (surfaceIndex < buckets.size())
            buckets[surfaceIndex].push_back({element, world});
    }

    Scene* scene;
    std::vector<RenderBucket> buckets;
};
