#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "geometry/corner_attributes.h"
#include "geometry/edge_list.h"
#include "geometry/incidence_rings.h"
#include "geometry/index_triangle.h"
#include "geometry/mesh_part.h"
#include "math/bounding_box.h"
#include "math/vector3.h"
#include "persist/persistent.h"

namespace hlv {

// The mesh that imported objects become. The importer fills a raw triangle
// soup; build() welds it into a clean indexed mesh (unused points dropped,
// coincident points merged, degenerate triangles removed) and, on request,
// adds normals, edge adjacency and one draw part per surface.
class RobustMesh : public persistent {
public:
    static constexpr const char* kClassName = "class hlv::RobustMesh";

    enum BuildFlags : unsigned {
        ComputeNormals = 1,       // per-triangle normals and corners smoothed by angle
        BuildEdges = 2,           // the edge list and the vertex rings
        NoParts = 4,              // leave the draw parts out
        KeepTriangleNormals = 8,  // keep the per-triangle normals after the build
    };

    // A raw triangle as the importer hands it: three point indices and the
    // surface the triangle belongs to.
    struct TaggedTriangle {
        uint32_t a, b, c, tag;
    };

    RobustMesh() = default;
    RobustMesh(const RobustMesh&) = delete;
    RobustMesh& operator=(const RobustMesh&) = delete;
    ~RobustMesh() override;

    // Importer side (before build).
    void setPoints(std::vector<Vector3f> points);
    void setTriangles(const std::vector<TaggedTriangle>& triangles);
    // colours[i] belongs to corner corners[i]; corner k of triangle t is 3t + k.
    void setCornerColours(const std::vector<uint32_t>& colours, const std::vector<uint32_t>& corners);
    // A new texture-coordinate set, every corner at (0, 0); returns its number.
    uint32_t addUVSet();
    // The (u, v) pairs of the three corners of one raw triangle.
    void setTriangleUVs(uint32_t set, uint32_t triangle, const float uv[6]);
    // Smoothing by surface, as LightWave's surfaces give it: for each surface
    // tag the largest angle in radians between two of its triangles that
    // share a smoothed corner; 0 (or a tag past the list) draws them flat.
    // Without it, triangles within 60 degrees of each other are smoothed
    // whatever their surfaces.
    void setSmoothingAngles(const std::vector<float>& anglesBySurface);

    // Runs once; later calls do nothing (the raw data is gone by then).
    void build(unsigned flags);
    bool isBuilt() const { return built_; }

    uint32_t partCount() const { return static_cast<uint32_t>(parts_.size()); }
    const std::vector<MeshPart>& parts() const { return parts_; }
    const std::vector<Vector3f>& positions() const { return positions_; }
    uint32_t triangleCount() const { return static_cast<uint32_t>(triangles_.size()); }
    const std::vector<IndexTriangle>& triangles() const { return triangles_; }
    const std::vector<uint32_t>& surfaceIds() const { return surfaceIds_; }
    const BoundingBox& boundingBox() const { return box_; }

    // Per-triangle normals, computed when absent.
    bool hasTriangleNormals() const { return !triangleNormals_.empty(); }
    void computeTriangleNormals();
    const std::vector<Vector3f>& triangleNormals();
    void releaseTriangleNormals() { triangleNormals_ = {}; }

    // Built on first use and cached.
    const EdgeList& edgeList();
    const IncidenceRings& vertexRings();

    bool isQuantised() const { return quantised_; }
    void setQuantised(bool quantised) { quantised_ = quantised; }

    void serialize(pstream& stream, bool write) override;
    const char* class_name() const override { return kClassName; }

private:
    void dropUnusedPoints();
    void weld();
    void cleanTriangles(const std::vector<uint32_t>& weldMap);
    void computeCornerNormals();
    void buildParts();
    void releaseBuildData();
    void serializePositions(pstream& stream, bool write);
    void serializeTriangles(pstream& stream, bool write);

    std::vector<MeshPart> parts_;
    std::vector<Vector3f> positions_;
    std::vector<IndexTriangle> triangles_;
    std::vector<uint32_t> surfaceIds_;
    BoundingBox box_;
    bool quantised_ = false;
    std::vector<Vector3f> triangleNormals_;
    std::vector<float> smoothingCosines_;  // by surface tag; empty for the 60 degrees of every surface
    std::unique_ptr<CornerAttributes> attributes_ = std::make_unique<CornerAttributes>();
    std::vector<Vector3f> rawPositions_;
    std::vector<IndexTriangle> rawTriangles_;
    std::vector<uint32_t> rawSurfaceIds_;
    std::unique_ptr<EdgeList> edges_;
    std::unique_ptr<IncidenceRings> vertexRings_;
    bool built_ = false;
};

} // namespace hlv
