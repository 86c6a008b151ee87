#include "render/mat_volumetric.h"

#include <vector>

#include "math/camera.h"
#include "render/gl_state_cache.h"

namespace hlv {

namespace {

struct DepthRange {
    float min = 1e16f;
    float max = -1e16f;
};

// The clip-space w of every vertex: its distance in front of the eye along
// the view direction.
DepthRange eyeDepths(const Matrix44& viewProjection, const MeshPart& part, std::vector<float>& depths)
{
    DepthRange range;
    depths.resize(part.vertexCount);
    for (uint32_t i = 0; i < part.vertexCount; ++i) {
        const Vector3f& p = part.positions[i];
        const float w = viewProjection.at(3, 0) * p.x + viewProjection.at(3, 1) * p.y +
                        viewProjection.at(3, 2) * p.z + viewProjection.at(3, 3);
        depths[i] = w;
        if (w < range.min)
            range.min = w;
        if (w > range.max)
            range.max = w;
    }
    return range;
}

// 0 at the nearest vertex, 255 at the farthest, scaled down by the vertex's
// weight; the same byte in all four channels.
std::vector<uint8_t> depthColours(const MeshPart& part, const std::vector<float>& depths, const DepthRange& range)
{
    std::vector<uint8_t> colours(4 * size_t(part.vertexCount));
    const float span = range.max - range.min;
    for (uint32_t i = 0; i < part.vertexCount; ++i) {
        float g = (depths[i] - range.min) / span;
        if (part.hasWeights())
            g *= float(part.weights[i] & 0xFFu) / 255.0f;
        const uint8_t byte = static_cast<uint8_t>(g * 255.0f);
        for (int c = 0; c < 4; ++c)
            colours[4 * size_t(i) + c] = byte;
    }
    return colours;
}

void drawTriangles(const MeshPart& part)
{
    if (part.triangleCount)
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(3 * part.triangleCount), GL_UNSIGNED_INT,
                       part.indices.data());
}

} // namespace

void Mat_Volumetric::render(const Camera* camera, const MeshPart* part)
{
    GLStateCache& cache = GLStateCache::instance();
    cache.setTextureUnits(0);
    const Matrix44 viewProjection = camera->projectionMatrix() * camera->viewMatrix();

    std::vector<float> depths;
    const DepthRange range = eyeDepths(viewProjection, *part, depths);
    // A part without depth extent (flat and facing the eye, or empty) has
    // no thickness to show, and its depths cannot be normalised.
    if (!(range.max > range.min))
        return;
    const float span = range.max - range.min;
    const std::vector<uint8_t> colours = depthColours(*part, depths, range);
    const bool crossesEyePlane = range.min < 0;

    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glDepthMask(GL_FALSE);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours.data());
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vector3f), part->positions.data());
    cache.setVertexArray(true);
    {
        LockedArrays locked(part->vertexCount);

        // Where the near surface lies behind the eye it is clipped away; the
        // stencil marks the pixels where it was drawn.
        if (crossesEyePlane) {
            glEnable(GL_STENCIL_TEST);
            glStencilMask(0xFFFFFFFF);
            glStencilFunc(GL_ALWAYS, 0, 0);
            glStencilOp(GL_KEEP, GL_KEEP, GL_ZERO);
        }

        // Far surface: its normalised depth into destination alpha.
        glCullFace(GL_FRONT);
        drawTriangles(*part);

        if (crossesEyePlane) {
            glStencilFunc(GL_ALWAYS, 0, 0);
            glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
        }

        // Near surface subtracted: alpha becomes the normalised thickness.
        glCullFace(GL_BACK);
        glEnable(GL_BLEND);
        glBlendEquation(GL_FUNC_REVERSE_SUBTRACT);
        glBlendFunc(GL_ONE, GL_ONE);
        drawTriangles(*part);

        // The eye plane stands in for the near surface where none was drawn.
        if (crossesEyePlane) {
            glStencilFunc(GL_EQUAL, 0, 0xFFFFFFFF);
            glStencilOp(GL_ZERO, GL_KEEP, GL_KEEP);
            glDisableClientState(GL_COLOR_ARRAY);
            glCullFace(GL_FRONT);
            glColor4f(0.0f, 0.0f, 0.0f, -range.min / span);
            drawTriangles(*part);
            glCullFace(GL_BACK);
            glDisable(GL_STENCIL_TEST);
        }

        // The glow: colour times thickness (alpha) times ten world units.
        const float k = span * 10.0f;
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glBlendEquation(GL_FUNC_ADD);
        glBlendFunc(GL_DST_ALPHA, GL_ONE);
        glDisableClientState(GL_COLOR_ARRAY);
        glCullFace(GL_FRONT);
        glColor4f(k * colour[0], k * colour[1], k * colour[2], 0.0f);
        drawTriangles(*part);

        glCullFace(GL_BACK);
        glDepthMask(GL_TRUE);
    }
    cache.setVertexArray(false);
    glDisable(GL_BLEND);
}

} // namespace hlv
