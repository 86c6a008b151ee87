#pragma once
// How hlvtool draws a part of a LightWave object: lit with its surface's
// colour, diffuse, luminosity, specular and glossiness, its first enabled
// colour picture on its first UV set (wrap modes, opacity and negative
// applied), its vertex colours, from both sides when the surface is double
// sided, blended when it is transparent.

#include <memory>
#include <string>
#include <vector>

#include "import/lw_surface.h"
#include "render/material.h"

namespace hlvtool {

class SurfaceMaterial : public hlv::Material {
public:
    // `picture` is the colour picture's file, empty for none.
    SurfaceMaterial(const LW::LWSurface& surface, const std::string& picture);
    ~SurfaceMaterial() override;

    void render(const Camera* camera, const hlv::MeshPart* part) override;

    bool hasTexture() const { return texture_ != 0; }
    bool transparent() const { return surface_.transparency > 0; }

private:
    void loadPicture(const std::string& picture);
    void setLighting() const;
    void bindTexture(const hlv::MeshPart& part) const;

    LW::LWSurface surface_;
    unsigned texture_ = 0;
    const LW::LWTextureBlock* layer_ = nullptr;  // the layer of the texture
    mutable std::vector<uint8_t> colours_;        // RGBA per vertex of the part drawn
};

} // namespace hlvtool
