// Drawing the four mesh formats with vertex arrays. Each relies on the
// texture state that its surface set; a format with fewer texture-coordinate
// sets than the surface enabled turns the extra arrays off, so OpenGL never
// reads coordinates from another mesh's (or a freed) array.
#include <cstddef>

#include "geometry/uni_surface_mesh.h"
#include "render/gl_api.h"
#include "render/gl_state_cache.h"

namespace {

void limit_coordinate_arrays(uint32_t setsPresent)
{
    GLStateCache& cache = GLStateCache::instance();
    cache.setTextureCoordArrays(cache.textureUnits() & setsPresent);
}

const char* bytes(const void* vertices) { return static_cast<const char*>(vertices); }

} // namespace

void UniSurfaceMesh::draw_range(unsigned int first, unsigned int last) const
{
    if (indices.empty())
        return;
    const GLsizei count = static_cast<GLsizei>(3 * triangle_count);
    if (glflags::EXT_draw_range_elements)
        glDrawRangeElementsEXT(GL_TRIANGLES, first, last, count, GL_UNSIGNED_SHORT, indices.data());
    else
        glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, indices.data());
}

void UniSurfaceMesh::draw_locked() const
{
    const GLsizei n = static_cast<GLsizei>(vertex_count());
    // The colour array leaves the current colour undefined: the surface's
    // colour is kept for the bucket's next items.
    const bool coloured = colours.size() == 4 * size_t(n);
    float surfaceColour[4];
    if (coloured) {
        glGetFloatv(GL_CURRENT_COLOR, surfaceColour);
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours.data());
        glEnableClientState(GL_COLOR_ARRAY);
    }
    if (glflags::EXT_compiled_vertex_array)
        glLockArraysEXT(0, n);
    draw_range(0, static_cast<unsigned int>(n - 1));
    if (glflags::EXT_compiled_vertex_array)
        glUnlockArraysEXT();
    if (coloured) {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4fv(surfaceColour);
    }
}

void UniSurfaceMesh_Point::draw() const
{
    limit_coordinate_arrays(0);
    glVertexPointer(3, GL_FLOAT, sizeof(VertexPoint), vertices.data());
    draw_locked();
}

void UniSurfaceMesh_PointUV::draw() const
{
    limit_coordinate_arrays(1);
    glClientActiveTextureARB(GL_TEXTURE0_ARB);
    glTexCoordPointer(2, GL_FLOAT, sizeof(VertexPointUV), bytes(vertices.data()) + offsetof(VertexPointUV, u));
    glVertexPointer(3, GL_FLOAT, sizeof(VertexPointUV), vertices.data());
    draw_locked();
}

void UniSurfaceMesh_PointUV2::draw() const
{
    GLStateCache& cache = GLStateCache::instance();
    cache.setTextureUnits(3);
    cache.setTextureCoordArrays(3);
    cache.setVertexArray(true);
    const char* base = bytes(vertices.data());
    if (glflags::ARB_multitexture) {
        glClientActiveTextureARB(GL_TEXTURE1_ARB);
        glTexCoordPointer(2, GL_FLOAT, sizeof(VertexPointUV2), base + offsetof(VertexPointUV2, u1));
        glClientActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glTexCoordPointer(2, GL_FLOAT, sizeof(VertexPointUV2), base + offsetof(VertexPointUV2, u0));
    glVertexPointer(3, GL_FLOAT, sizeof(VertexPointUV2), vertices.data());
    draw_locked();
}

void UniSurfaceMesh_PointNormal::draw() const
{
    limit_coordinate_arrays(0);
    glVertexPointer(3, GL_FLOAT, sizeof(VertexPointNormal), vertices.data());
    glColorPointer(3, GL_FLOAT, sizeof(VertexPointNormal), bytes(vertices.data()) + offsetof(VertexPointNormal, normal));
    glEnableClientState(GL_COLOR_ARRAY);
    draw_locked();
    glDisableClientState(GL_COLOR_ARRAY);
}
