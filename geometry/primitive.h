#pragma once
// A piece of geometry that a shape node places in a scene, divided into one
// part per surface.

#include <string>
#include <vector>

#include "math/bounding_box.h"
#include "math/matrix44.h"
#include "persist/persistent.h"

struct RenderQueue;

class Primitive : public persistent {
public:
    struct Part {
        BoundingBox box;       // for per-part culling
        bool visible = false;  // rewritten by culling every frame
    };

    ~Primitive() override = default;
    void serialize(pstream& stream, bool write) override;

    // Called once the scene has been read and the surface indices are known.
    virtual void prepare() {}
    // Adds the visible parts, under `world`, to their surfaces' buckets.
    virtual void queue_parts(const Matrix44& world, RenderQueue& queue) const = 0;
    // Appends a part with this surface name and an empty box.
    virtual void add_part(const std::string& surfaceName);

    std::vector<unsigned int> surface_indices;  // entry i: the scene surface of part i
    std::vector<Part> parts;
    BoundingBox box;
    std::vector<std::string> surface_names;  // one per part
};
