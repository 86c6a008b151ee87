#include "tools/hlvtool/surface_material.h"

#include <algorithm>
#include <cmath>

#include "geometry/robust_mesh.h"
#include "import/content_directory.h"
#include "import/layer_picture.h"
#include "log/logger.h"
#include "render/gl_state_cache.h"
#include "render/image_file.h"

namespace hlvtool {

SurfaceMaterial::SurfaceMaterial(const LW::LWSurface& surface, const std::string& picture) : surface_(surface)
{
    const std::vector<const LW::LWTextureBlock*> layers = LW::LWSurface::enabledOf(surface_.colourBlocks);
    if (!layers.empty() && !picture.empty()) {
        layer_ = layers[0];
        loadPicture(picture);
    }
}

SurfaceMaterial::~SurfaceMaterial()
{
    if (texture_)
        glDeleteTextures(1, &texture_);
}

// The layer's opacity lays the picture over the surface's colour, as
// LightWave's normal blending does; a negative layer is inverted first.
void SurfaceMaterial::loadPicture(const std::string& picture)
{
    ImageRGB image;
    if (!loadImageRGB(picture.c_str(), image)) {
        hlv::log("\n%s'%s' (needed by surface '%s') cannot be decoded; the surface keeps its colour.",
                 LW::kUndecodablePictureWarning, picture.c_str(), surface_.name.c_str());
        return;
    }
    LW::layOverSurface(image, *layer_, surface_.colour);
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, GLsizei(image.width), GLsizei(image.height), 0, GL_RGB,
                 GL_UNSIGNED_BYTE, image.pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, LW::textureWrapOf(layer_->widthWrapMode));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, LW::textureWrapOf(layer_->heightWrapMode));
    // Outside a "reset" picture the surface shows its own colour.
    const float border[4] = {surface_.colour[0], surface_.colour[1], surface_.colour[2], 1};
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void SurfaceMaterial::setLighting() const
{
    const LW::LWSurface& s = surface_;
    const float alpha = (1 - std::clamp(s.transparency, 0.0f, 1.0f)) * (1 - std::clamp(dissolve_, 0.0f, 1.0f));
    // A picture carries the colour; the lighting then scales white.
    float base[3];
    for (int i = 0; i < 3; ++i)
        base[i] = texture_ ? 1.0f : s.colour[i];
    const float diffuse[4] = {base[0] * s.diffuse, base[1] * s.diffuse, base[2] * s.diffuse, alpha};
    const float ambient[4] = {ambientShare_ * base[0], ambientShare_ * base[1], ambientShare_ * base[2], alpha};
    const float emission[4] = {base[0] * s.luminosity, base[1] * s.luminosity, base[2] * s.luminosity, 1};
    const float specular[4] = {s.specular, s.specular, s.specular, 1};
    // LightWave's glossiness g gives a highlight of exponent 2^(10 g + 2).
    const GLint exponent = GLint(std::min(128.0f, std::exp2(10 * std::clamp(s.glossiness, 0.0f, 1.0f) + 2)));
    const GLenum faces = s.doubleSided ? GL_FRONT_AND_BACK : GL_FRONT;
    glMaterialfv(faces, GL_AMBIENT, ambient);
    glMaterialfv(faces, GL_DIFFUSE, diffuse);
    glMaterialfv(faces, GL_EMISSION, emission);
    glMaterialfv(faces, GL_SPECULAR, specular);
    glMateriali(faces, GL_SHININESS, exponent);
}

void SurfaceMaterial::bindTexture(const hlv::MeshPart& part) const
{
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexCoordPointer(2, GL_FLOAT, 0, part.uvLayers[0].data());
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
}

void SurfaceMaterial::render(const Camera*, const hlv::MeshPart* part)
{
    const LW::LWSurface& s = surface_;
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    if (s.doubleSided) {
        glDisable(GL_CULL_FACE);
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    }
    if (transparent()) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
    }
    setLighting();
    // Vertex colours, mixed into the surface's colour by the map's intensity.
    const bool vertexColours = !s.vertexColourMap.empty() && part->hasWeights();
    if (vertexColours) {
        colours_.resize(4 * size_t(part->vertexCount));
        for (uint32_t v = 0; v < part->vertexCount; ++v) {
            const std::array<uint8_t, 4> rgba = s.vertexColourBytes(part->weights[v]);
            std::copy(rgba.begin(), rgba.end(), &colours_[4 * v]);
        }
        glColorMaterial(s.doubleSided ? GL_FRONT_AND_BACK : GL_FRONT, GL_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours_.data());
        glEnableClientState(GL_COLOR_ARRAY);
    }
    const bool textured = texture_ && part->uvLayerCount > 0;
    if (textured)
        bindTexture(*part);
    if (part->hasNormals()) {
        glNormalPointer(GL_FLOAT, sizeof(Vector3f), part->normals.data());
        glEnableClientState(GL_NORMAL_ARRAY);
    }
    glVertexPointer(3, GL_FLOAT, sizeof(Vector3f), part->positions.data());
    GLStateCache::instance().setVertexArray(true);
    if (pixelLighting_)
        pixelLighting_->begin(textured, vertexColours);
    hlv::drawRangedElements(GL_TRIANGLES, part->vertexCount, 3 * part->triangleCount, part->indices.data());
    if (pixelLighting_)
        pixelLighting_->end();
    GLStateCache::instance().setVertexArray(false);
    glDisableClientState(GL_NORMAL_ARRAY);
    if (textured) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_2D);
    }
    if (vertexColours) {
        glDisableClientState(GL_COLOR_ARRAY);
        glDisable(GL_COLOR_MATERIAL);
    }
    if (transparent()) {
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
    }
    if (s.doubleSided) {
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
        glEnable(GL_CULL_FACE);
    }
    glDisable(GL_LIGHTING);
}

std::vector<std::unique_ptr<SurfaceMaterial>> partMaterials(const hlv::RobustMesh& mesh,
                                                            const std::vector<uint32_t>& tagSurface,
                                                            const LW::Scene& record, const PictureFinder& picture)
{
    std::vector<uint32_t> tags = mesh.surfaceIds();
    std::sort(tags.begin(), tags.end());
    tags.erase(std::unique(tags.begin(), tags.end()), tags.end());
    std::vector<std::unique_ptr<SurfaceMaterial>> materials;
    for (uint32_t tag : tags) {
        const uint32_t index = tag < tagSurface.size() ? tagSurface[tag] : ~0u;
        const LW::LWSurface surface = index < record.surfaces.size() ? *record.surfaces[index] : LW::LWSurface();
        materials.push_back(std::make_unique<SurfaceMaterial>(surface, picture(surface)));
    }
    return materials;
}

} // namespace hlvtool
