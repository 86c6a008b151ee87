#pragma once
// How hlvtool draws a part of a LightWave object: lit with its surface's
// colour, diffuse, luminosity, specular and glossiness, its first enabled
// colour picture on its first UV set (wrap modes, opacity and negative
// applied), its vertex colours, from both sides when the surface is double
// sided, blended when it is transparent.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "import/lw_scene.h"
#include "import/lw_surface.h"
#include "render/material.h"
#include "tools/hlvtool/pixel_lighting.h"

namespace hlv {
class RobustMesh;
}

namespace hlvtool {

class SurfaceMaterial : public hlv::Material {
public:
    // `picture` is the colour picture's file, empty for none.
    SurfaceMaterial(const LW::LWSurface& surface, const std::string& picture);
    ~SurfaceMaterial() override;

    void render(const Camera* camera, const hlv::MeshPart* part) override;

    bool hasTexture() const { return texture_ != 0; }
    bool transparent() const { return surface_.transparency > 0 || dissolve_ > 0; }

    // An item's dissolve (0 whole, 1 gone) fades the surface further.
    void setDissolve(float dissolve) { dissolve_ = dissolve; }
    // How much of the scene's ambient light the surface's colour takes: a
    // LightWave scene gives its own ambient light, the object view none.
    void setAmbientShare(float share) { ambientShare_ = share; }
    // Lit at every pixel by the program (null: by OpenGL at the corners).
    void usePixelLighting(const PixelLighting* lighting) { pixelLighting_ = lighting; }

private:
    void loadPicture(const std::string& picture);
    void setLighting() const;
    void bindTexture(const hlv::MeshPart& part) const;

    LW::LWSurface surface_;
    float dissolve_ = 0;
    float ambientShare_ = 0.3f;
    const PixelLighting* pixelLighting_ = nullptr;
    unsigned texture_ = 0;
    const LW::LWTextureBlock* layer_ = nullptr;  // the layer of the texture
    mutable std::vector<uint8_t> colours_;        // RGBA per vertex of the part drawn
};

// The file of a surface's colour picture; empty when it has none or it is
// not found.
using PictureFinder = std::function<std::string(const LW::LWSurface&)>;

// One material per part of a built mesh (one part per surface, in tag
// order), each drawn as its surface says; LightWave's grey where the file
// describes no surface.
std::vector<std::unique_ptr<SurfaceMaterial>> partMaterials(const hlv::RobustMesh& mesh,
                                                            const std::vector<uint32_t>& tagSurface,
                                                            const LW::Scene& record, const PictureFinder& picture);

} // namespace hlvtool
