// Points made where a polygon's edges cross join the object after the file's
// points, with vertex-map values mixed like their positions.
#include "import/lwo2_object.h"

namespace LW {

namespace {

template <size_t N>
void extendMap(VertexMap<N>& map, const std::vector<AddedPoint>& added, uint32_t base)
{
    using Value = typename VertexMap<N>::Value;
    auto place = [base](uint32_t index) { return index >= kAddedPoint ? base + (index - kAddedPoint) : index; };
    map.values.resize(base);
    for (const AddedPoint& point : added) {
        Value value{}, seen{};
        bool overridden = false;
        for (int s = 0; s < 4 && point.weights[s] > 0; ++s) {
            const uint32_t source = place(point.sources[s]);
            overridden = overridden || map.overrides.count({point.polygon, source}) != 0;
            const Value own = map.at(point.polygon, source);
            const Value shared = source < map.values.size() ? map.values[source] : Value{};
            for (size_t i = 0; i < N; ++i) {
                value[i] += point.weights[s] * shared[i];
                seen[i] += point.weights[s] * own[i];
            }
        }
        map.values.push_back(value);
        if (overridden)
            map.overrides[{point.polygon, static_cast<uint32_t>(map.values.size() - 1)}] = seen;
    }
}

} // namespace

void placeAddedPoints(Lwo2Object& object)
{
    if (object.addedPoints.empty())
        return;
    const uint32_t base = static_cast<uint32_t>(object.points.size());
    for (const AddedPoint& point : object.addedPoints)
        object.points.push_back(point.position);
    for (hlv::RobustMesh::TaggedTriangle& t : object.triangles)
        for (uint32_t* corner : {&t.a, &t.b, &t.c})
            if (*corner >= kAddedPoint)
                *corner = base + (*corner - kAddedPoint);
    for (auto& map : object.uvMaps)
        extendMap(map.second, object.addedPoints, base);
    for (auto& map : object.colorMaps)
        extendMap(map.second, object.addedPoints, base);
    object.addedPoints.clear();
}

} // namespace LW
