// The draw parts of a RobustMesh: one per surface id, in ascending id order,
// each with compact vertex arrays and indices of its own.
#include "geometry/radix_sort.h"
#include "geometry/robust_mesh.h"
#include "geometry/sorted_runs.h"

namespace hlv {

namespace {

constexpr uint32_t kUnset = 0xFFFFFFFFu;

} // namespace

void RobustMesh::buildParts()
{
    parts_.clear();
    RadixSort sorter;
    sorter.sort(surfaceIds_.data(), surfaceIds_.size());
    const std::vector<uint32_t>& order = sorter.ranks();
    std::vector<uint32_t> partOf;
    const uint32_t count =
        numberRuns(order, [this](uint32_t a, uint32_t b) { return surfaceIds_[a] == surfaceIds_[b]; }, partOf);
    parts_.resize(count);

    const CornerAttributes& attributes = *attributes_;
    const uint32_t uvSets = attributes.uvSetCount();
    // The local number of each render vertex within the part being filled.
    std::vector<uint32_t> localVertex(attributes.renderVertexCount());
    std::vector<uint32_t> localOwner(attributes.renderVertexCount(), kUnset);

    size_t i = 0;
    for (uint32_t p = 0; p < count; ++p) {
        MeshPart& part = parts_[p];
        part.partIndex = p;
        part.uvLayerCount = uvSets;
        part.uvLayers.resize(uvSets);
        for (; i < order.size() && partOf[order[i]] == p; ++i) {
            const uint32_t t = order[i];
            ++part.triangleCount;
            for (uint32_t k = 0; k < 3; ++k) {
                const uint32_t vertex = attributes.renderVertex(t * 3 + k);
                if (localOwner[vertex] != p) {
                    localOwner[vertex] = p;
                    localVertex[vertex] = part.vertexCount++;
                    const uint32_t corner = attributes.cornerOf(vertex);
                    part.positions.push_back(positions_[triangles_[corner / 3][corner % 3]]);
                    if (attributes.hasNormals())
                        part.normals.push_back(attributes.normal(corner));
                    if (attributes.hasColours())
                        part.weights.push_back(attributes.colour(corner));
                    for (uint32_t set = 0; set < uvSets; ++set) {
                        part.uvLayers[set].push_back(attributes.u(set, corner));
                        part.uvLayers[set].push_back(attributes.v(set, corner));
                    }
                }
                part.indices.push_back(localVertex[vertex]);
            }
        }
    }
}

} // namespace hlv
