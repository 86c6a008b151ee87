// The build of a RobustMesh: from the importer's raw triangle soup to welded
// positions, clean triangles, optional normals and edges, and draw parts.
#include "geometry/point_weld.h"
#include "geometry/robust_mesh.h"

namespace hlv {

namespace {

// Marks a corner whose raw point does not exist; its triangle is dropped.
constexpr uint32_t kNoPoint = 0xFFFFFFFFu;

} // namespace

void RobustMesh::build(unsigned flags)
{
    if (built_)
        return;
    built_ = true;

    dropUnusedPoints();
    weld();  // also cleans the triangles
    attributes_->mergeDuplicates();
    if (flags & BuildEdges) {
        edgeList();
        vertexRings();
    }
    if (flags & ComputeNormals) {
        computeTriangleNormals();
        computeCornerNormals();
        if (!(flags & KeepTriangleNormals))
            releaseTriangleNormals();
    }
    attributes_->buildRenderVertices(triangles_);
    if (!(flags & NoParts))
        buildParts();
    releaseBuildData();
}

void RobustMesh::dropUnusedPoints()
{
    const uint32_t rawCount = static_cast<uint32_t>(rawPositions_.size());
    std::vector<uint32_t> renumber(rawCount, kNoPoint);
    for (const IndexTriangle& t : rawTriangles_)
        for (uint32_t index : t.v)
            if (index < rawCount)
                renumber[index] = 0;

    uint32_t used = 0;
    for (uint32_t i = 0; i < rawCount; ++i) {
        if (renumber[i] == kNoPoint)
            continue;
        renumber[i] = used;
        rawPositions_[used++] = rawPositions_[i];
    }
    rawPositions_.resize(used);
    for (IndexTriangle& t : rawTriangles_)
        for (uint32_t& index : t.v)
            index = index < rawCount ? renumber[index] : kNoPoint;
}

void RobustMesh::weld()
{
    std::vector<uint32_t> weldMap;
    positions_ = weldPoints(rawPositions_, weldMap);
    box_ = BoundingBox();
    for (const Vector3f& p : rawPositions_)
        box_.extend(p);
    cleanTriangles(weldMap);
}

void RobustMesh::cleanTriangles(const std::vector<uint32_t>& weldMap)
{
    std::vector<uint32_t> kept;
    triangles_.clear();
    surfaceIds_.clear();
    for (uint32_t t = 0; t < rawTriangles_.size(); ++t) {
        const IndexTriangle& raw = rawTriangles_[t];
        if (raw[0] == kNoPoint || raw[1] == kNoPoint || raw[2] == kNoPoint)
            continue;
        IndexTriangle welded;
        for (int k = 0; k < 3; ++k)
            welded[k] = weldMap[raw[k]];
        if (welded[0] == welded[1] || welded[1] == welded[2] || welded[0] == welded[2])
            continue;
        const Vector3f& p0 = positions_[welded[0]];
        if (cross(positions_[welded[1]] - p0, positions_[welded[2]] - p0).length() == 0)
            continue;
        triangles_.push_back(welded);
        surfaceIds_.push_back(rawSurfaceIds_[t]);
        kept.push_back(t);
    }
    attributes_->keepTriangles(kept);
}

void RobustMesh::computeTriangleNormals()
{
    triangleNormals_.resize(triangles_.size());
    for (size_t t = 0; t < triangles_.size(); ++t) {
        const Vector3f& p0 = positions_[triangles_[t][0]];
        triangleNormals_[t] = normalize(cross(positions_[triangles_[t][1]] - p0, positions_[triangles_[t][2]] - p0));
    }
}

void RobustMesh::computeCornerNormals()
{
    const IncidenceRings& rings = vertexRings();
    std::vector<Vector3f> cornerNormals(triangles_.size() * 3);
    // Vertex by vertex, so that each ring's normals are fetched once for all
    // the corners that meet there.
    std::vector<uint32_t> ring;
    std::vector<Vector3f> ringNormals;
    for (uint32_t vertex = 0; vertex < rings.ownerCount(); ++vertex) {
        ring.clear();
        ringNormals.clear();
        rings.forEach(vertex, [&](uint32_t t) {
            ring.push_back(t);
            ringNormals.push_back(triangleNormals_[t]);
        });
        const bool bySurface = !smoothingCosines_.empty();
        for (size_t i = 0; i < ring.size(); ++i) {
            const Vector3f& own = ringNormals[i];
            Vector3f sum = bySurface ? Vector3f(0, 0, 0) : own;
            float count = bySurface ? 0 : 1;
            // Neighbours within 60 degrees of this triangle smooth its corner,
            // or those of its own surface within the surface's angle. By
            // surface the sum runs in ring order, own triangle included, so
            // that corners smoothed by the same triangles get the same normal
            // to the last bit and share a vertex.
            const uint32_t surface = surfaceIds_[ring[i]];
            const float limit = !bySurface ? 0.5f : surface < smoothingCosines_.size() ? smoothingCosines_[surface] : 1.0f;
            for (size_t j = 0; j < ring.size(); ++j) {
                const bool near = j == i ? bySurface
                                         : dot(own, ringNormals[j]) > limit &&
                                               (!bySurface || surfaceIds_[ring[j]] == surface);
                if (near) {
                    sum += ringNormals[j];
                    count += 1;
                }
            }
            const IndexTriangle& t = triangles_[ring[i]];
            const int corner = t[0] == vertex ? 0 : t[1] == vertex ? 1 : 2;
            cornerNormals[ring[i] * 3 + corner] = normalize(sum / count);
        }
    }
    std::vector<uint32_t> cornerNormal;
    std::vector<Vector3f> normals = weldPoints(cornerNormals, cornerNormal);
    attributes_->setNormals(std::move(normals), std::move(cornerNormal));
}

void RobustMesh::releaseBuildData()
{
    attributes_ = std::make_unique<CornerAttributes>();
    rawPositions_ = {};
    rawTriangles_ = {};
    rawSurfaceIds_ = {};
}

} // namespace hlv
