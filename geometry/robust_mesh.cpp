#include "geometry/robust_mesh.h"

#include <algorithm>
#include <cmath>

#include "persist/encoding.h"

namespace hlv {

RobustMesh::~RobustMesh() = default;

void RobustMesh::setPoints(std::vector<Vector3f> points) { rawPositions_ = std::move(points); }

void RobustMesh::setTriangles(const std::vector<TaggedTriangle>& triangles)
{
    rawTriangles_.resize(triangles.size());
    rawSurfaceIds_.resize(triangles.size());
    for (size_t i = 0; i < triangles.size(); ++i) {
        rawTriangles_[i] = IndexTriangle{{triangles[i].a, triangles[i].b, triangles[i].c}};
        rawSurfaceIds_[i] = triangles[i].tag;
    }
}

void RobustMesh::setCornerColours(const std::vector<uint32_t>& colours, const std::vector<uint32_t>& corners)
{
    attributes_->setColours(colours, corners, static_cast<uint32_t>(rawTriangles_.size() * 3));
}

void RobustMesh::setSmoothingAngles(const std::vector<float>& anglesBySurface)
{
    smoothingCosines_.clear();
    for (float angle : anglesBySurface)
        smoothingCosines_.push_back(angle > 0 ? std::cos(angle) : 1.0f);
}

uint32_t RobustMesh::addUVSet() { return attributes_->addUVSet(static_cast<uint32_t>(rawTriangles_.size() * 3)); }

void RobustMesh::setTriangleUVs(uint32_t set, uint32_t triangle, const float uv[6])
{
    attributes_->setTriangleUVs(set, triangle, uv);
}

const std::vector<Vector3f>& RobustMesh::triangleNormals()
{
    if (triangleNormals_.size() != triangles_.size())
        computeTriangleNormals();
    return triangleNormals_;
}

const EdgeList& RobustMesh::edgeList()
{
    if (!edges_)
        edges_ = std::make_unique<EdgeList>(triangles_);
    return *edges_;
}

const IncidenceRings& RobustMesh::vertexRings()
{
    if (!vertexRings_)
        vertexRings_ = std::make_unique<IncidenceRings>(buildVertexRings(triangles_, static_cast<uint32_t>(positions_.size())));
    return *vertexRings_;
}

// A built mesh stores its welded data; one read back holds it as raw data,
// ready for build() like an imported one.
void RobustMesh::serialize(pstream& stream, bool write)
{
    io(stream, write, box_);
    io(stream, write, quantised_);
    serializePositions(stream, write);
    serializeTriangles(stream, write);
    std::vector<uint32_t>& colours = attributes_->colourValues();
    std::vector<uint32_t>& cornerColours = attributes_->cornerColours();
    io_index_list(stream, write, colours);
    io_index_list(stream, write, cornerColours);
    if (!write) {
        const bool fits = std::all_of(cornerColours.begin(), cornerColours.end(),
                                      [&colours](uint32_t c) { return c < colours.size(); });
        if (!fits || (!cornerColours.empty() && cornerColours.size() != rawTriangles_.size() * 3))
            throw persistent::bad_data;
        built_ = false;
    }
}

void RobustMesh::serializePositions(pstream& stream, bool write)
{
    std::vector<Vector3f>& positions = built_ ? positions_ : rawPositions_;
    if (write) {
        if (quantised_) {
            stream.write(static_cast<unsigned int>(positions.size() * 3));
            for (const Vector3f& p : positions)
                for (float c : {p.x, p.y, p.z})
                    stream.write(static_cast<short>(std::clamp(std::trunc(c), -32768.0f, 32767.0f)));
        } else {
            stream.write(static_cast<unsigned int>(positions.size()));
            for (Vector3f& p : positions)
                io(stream, true, p);
        }
        return;
    }
    std::vector<Vector3f> read;
    if (quantised_) {
        const unsigned int coordinates = read_count(stream, sizeof(short));
        if (coordinates % 3 != 0)
            throw persistent::bad_data;
        read.resize(coordinates / 3);
        for (Vector3f& p : read) {
            short x, y, z;
            stream.read(x).read(y).read(z);
            p.set(x, y, z);
        }
    } else {
        read.resize(read_count(stream, 3 * sizeof(float)));
        for (Vector3f& p : read)
            io(stream, false, p);
    }
    rawPositions_ = std::move(read);
    positions_.clear();
}

void RobustMesh::serializeTriangles(pstream& stream, bool write)
{
    if (write) {
        std::vector<IndexTriangle>& triangles = built_ ? triangles_ : rawTriangles_;
        stream.write(static_cast<unsigned int>(triangles.size()));
        for (const IndexTriangle& t : triangles)
            stream.write(t[0]).write(t[1]).write(t[2]);
        return;
    }
    std::vector<IndexTriangle> read(read_count(stream, 3));
    for (IndexTriangle& t : read) {
        stream.read(t[0]).read(t[1]).read(t[2]);
        if (t[0] >= rawPositions_.size() || t[1] >= rawPositions_.size() || t[2] >= rawPositions_.size())
            throw persistent::bad_data;
    }
    rawTriangles_ = std::move(read);
    rawSurfaceIds_.assign(rawTriangles_.size(), 0);
    triangles_.clear();
    surfaceIds_.clear();
    parts_.clear();
    edges_.reset();
    vertexRings_.reset();
    triangleNormals_.clear();
}

} // namespace hlv
