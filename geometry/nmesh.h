#pragma once
// The primitive of scene files: one UniSurfaceMesh element per part.

#include "geometry/primitive.h"

class UniSurfaceMesh;

class NMesh : public Primitive {
public:
    static constexpr const char* kClassName = "class NMesh";

    NMesh() = default;
    NMesh(const NMesh&) = delete;
    NMesh& operator=(const NMesh&) = delete;
    ~NMesh() override;

    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;
    void queue_parts(const Matrix44& world, RenderQueue& queue) const override;

    // Takes ownership; the element's box becomes the box of its part, which
    // must already exist.
    virtual void add_element(UniSurfaceMesh* element);

    std::vector<UniSurfaceMesh*> elements;  // element i belongs to part i
};
