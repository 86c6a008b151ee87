#pragma once
#include <cstdint>

namespace hlv {

// Three vertex indices of one triangle, in winding order.
struct IndexTriangle {
    uint32_t v[3] = {0, 0, 0};

    uint32_t& operator[](int corner) { return v[corner]; }
    uint32_t operator[](int corner) const { return v[corner]; }
    bool operator==(const IndexTriangle& o) const { return v[0] == o.v[0] && v[1] == o.v[1] && v[2] == o.v[2]; }
};

static_assert(sizeof(IndexTriangle) == 12, "triangles are handed to OpenGL as packed index triples");

} // namespace hlv
