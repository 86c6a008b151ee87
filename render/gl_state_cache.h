#pragma once
// The one process-wide record of the texture units, client arrays, bound
// textures and matrix mode. Every change of that state goes through it, so
// that redundant OpenGL calls are skipped; code that changes it directly
// must put it back to what the cache holds. Main thread only.

#include <cstdint>

class GLStateCache {
public:
    static constexpr int kUnitCount = 32;
    static constexpr uint32_t kUnknownTexture = 0xFFFFFFFFu;

    // Constant-initialised, so it is ready before any other static object.
    constexpr GLStateCache()
    {
        for (uint32_t& texture : boundTextures_)
            texture = kUnknownTexture;
    }
    static GLStateCache& instance();

    void setVertexArray(bool enabled);
    void setTextureUnits(uint32_t mask);           // GL_TEXTURE_2D per unit
    void setTextureCoordArrays(uint32_t mask);     // GL_TEXTURE_COORD_ARRAY per client unit
    void bindTexture(int unit, uint32_t texture);  // on GL_TEXTURE_2D
    void setMatrixMode(uint32_t mode);

    uint32_t textureUnits() const { return textureUnits_; }
    uint32_t textureCoordArrays() const { return textureCoordArrays_; }
    uint32_t boundTexture(int unit) const { return boundTextures_[unit]; }

private:
    uint32_t textureUnits_ = 0;
    uint32_t textureCoordArrays_ = 0;
    uint32_t matrixMode_ = 0;
    bool matrixModeKnown_ = false;
    uint32_t boundTextures_[kUnitCount] = {};
    bool vertexArray_ = false;
};
