#include "render/gl_state_cache.h"

#include "render/gl_api.h"

namespace {

GLStateCache g_stateCache;  // constant-initialised (constexpr constructor)

// Calls `change` for every unit whose bit differs, lowest first, so that the
// last unit changed is the one left active.
template <typename Change>
void forChangedUnits(uint32_t cached, uint32_t mask, Change change)
{
    uint32_t changed = cached ^ mask;
    for (int unit = 0; unit < GLStateCache::kUnitCount; ++unit)
        if (changed & (1u << unit))
            change(static_cast<GLenum>(GL_TEXTURE0_ARB + unit), ((mask >> unit) & 1u) != 0);
}

} // namespace

GLStateCache& GLStateCache::instance()
{
    return g_stateCache;
}

void GLStateCache::setVertexArray(bool enabled)
{
    if (enabled == vertexArray_)
        return;
    if (enabled)
        glEnableClientState(GL_VERTEX_ARRAY);
    else
        glDisableClientState(GL_VERTEX_ARRAY);
    vertexArray_ = enabled;
}

void GLStateCache::setTextureUnits(uint32_t mask)
{
    forChangedUnits(textureUnits_, mask, [](GLenum unit, bool enable) {
        glActiveTextureARB(unit);
        if (enable)
            glEnable(GL_TEXTURE_2D);
        else
            glDisable(GL_TEXTURE_2D);
    });
    textureUnits_ = mask;
}

void GLStateCache::setTextureCoordArrays(uint32_t mask)
{
    forChangedUnits(textureCoordArrays_, mask, [](GLenum unit, bool enable) {
        glClientActiveTextureARB(unit);
        if (enable)
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        else
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    });
    textureCoordArrays_ = mask;
}

void GLStateCache::bindTexture(int unit, uint32_t texture)
{
    if (unit < 0 || unit >= kUnitCount || boundTextures_[unit] == texture)
        return;
    glActiveTextureARB(GL_TEXTURE0_ARB + unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    boundTextures_[unit] = texture;
}

void GLStateCache::setMatrixMode(uint32_t mode)
{
    if (matrixModeKnown_ && matrixMode_ == mode)
        return;
    glMatrixMode(mode);
    matrixMode_ = mode;
    matrixModeKnown_ = true;
}
