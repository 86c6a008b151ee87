#pragma once
// SubPatch cages of the subdivision tests, written as Modeler writes them.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "math/vector3.h"
#include "tools/writers/lwo2_writer.h"

// A cube of side 2 about the origin, each face clockwise seen from outside
// (as LightWave writes polygons); the top face (+y) is the fifth.
inline const std::vector<Vector3f> kCubePoints = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                                  {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
inline const std::vector<std::vector<uint32_t>> kCubeFaces = {{3, 2, 1, 0}, {6, 7, 4, 5}, {2, 6, 5, 1},
                                                              {0, 4, 7, 3}, {3, 7, 6, 2}, {0, 1, 5, 4}};

// The polygons in one list of `type` (SUBD, PTCH or FACE), surface "Side"
// on each but the one `top` names ("Top").
inline writers::Lwo2Writer subPatchObject(const std::vector<Vector3f>& points,
                                          const std::vector<std::vector<uint32_t>>& faces, const std::string& type,
                                          int top = -1)
{
    writers::Lwo2Surface side, topSurface;
    side.name = "Side";
    topSurface.name = "Top";
    std::vector<std::pair<uint32_t, uint16_t>> tags;
    for (uint32_t f = 0; f < faces.size(); ++f)
        tags.push_back({f, uint16_t(int(f) == top ? 1 : 0)});
    writers::Lwo2Writer writer;
    writer.tags({"Side", "Top"}).layer(0).points(points).polygons(faces, type).surfaceTags(tags);
    writer.surface(side).surface(topSurface);
    return writer;
}
