#pragma once
// How a layer draws one part of a mesh: a material sets its OpenGL state,
// points the vertex arrays at the part and draws the part's triangles.

#include <cstdint>

#include "geometry/mesh_part.h"
#include "render/gl_api.h"

class Camera;

namespace hlv {

class Material {
public:
    // Layers own their materials through this base and delete them as such.
    virtual ~Material() = default;
    virtual void render(const Camera* camera, const MeshPart* part) = 0;
};

// Locks the vertex arrays for the draws that follow when the driver can
// compile them, and unlocks them when it goes out of scope.
class LockedArrays {
public:
    explicit LockedArrays(uint32_t vertexCount) : locked_(glflags::EXT_compiled_vertex_array != 0)
    {
        if (locked_)
            glLockArraysEXT(0, static_cast<GLsizei>(vertexCount));
    }
    ~LockedArrays()
    {
        if (locked_)
            glUnlockArraysEXT();
    }
    LockedArrays(const LockedArrays&) = delete;
    LockedArrays& operator=(const LockedArrays&) = delete;

private:
    bool locked_;
};

// Draws 32-bit indexed primitives, as a ranged draw when the driver offers
// one (it lets the driver fetch only the vertices in use).
inline void drawRangedElements(GLenum mode, uint32_t vertexCount, uint32_t indexCount, const uint32_t* indices)
{
    if (indexCount == 0)
        return;
    if (glflags::EXT_draw_range_elements)
        glDrawRangeElementsEXT(mode, 0, vertexCount - 1, static_cast<GLsizei>(indexCount), GL_UNSIGNED_INT, indices);
    else
        glDrawElements(mode, static_cast<GLsizei>(indexCount), GL_UNSIGNED_INT, indices);
}

} // namespace hlv
