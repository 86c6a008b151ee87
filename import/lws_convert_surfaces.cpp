// Importer surfaces into scene surfaces, loading each texture image once.
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <type_traits>

#include "geometry/surface.h"
#include "import/content_directory.h"
#include "import/importer_context.h"
#include "import/layer_picture.h"
#include "import/lws_convert.h"
#include "import/picture_lookup.h"
#include "log/logger.h"
#include "render/image_file.h"
#include "render/texture_image.h"
#include "scene/scene.h"

namespace LW {

namespace {

class TextureTable {
public:
    TextureTable(LwsScene& source, ::Scene& target, const ConvertOptions& options)
        : source_(source), target_(target), options_(options) {}

    // The texture's index in the scene, or -1 when its image is missing or
    // does not decode. The picture is laid over `under` (the colour below
    // the layer) as the layer says.
    int indexOf(const LWTextureBlock& block, const std::string& surfaceName, const float (&under)[3])
    {
        if (block.imageName.empty())
            return -1;
        const std::string key = keyOf(block, under);
        auto known = loaded_.find(key);
        if (known != loaded_.end())
            return known->second;
        const std::string name = pictureName(block.imageName, source_.sceneFolder, source_.searchDirectories);
        const std::string file = locateSceneFile(source_, name, "surface '" + surfaceName + "'");
        int index = -1;
        if (!file.empty()) {
            hlv::log("\n%s** loading image %s - ", indent(), file.c_str());
            index = load(file, name, block, under);
            if (index >= 0) {
                hlv::log("loading OK (%d)", index);
            } else {
                hlv::log("FAILED !");
                source_.files.back().problem = "cannot be decoded";
                hlv::log("\n%s%s'%s' (needed by surface '%s') cannot be decoded; the surface keeps its colour.",
                         indent(), kUndecodablePictureWarning, file.c_str(), surfaceName.c_str());
            }
        }
        loaded_[key] = index;
        return index;
    }

private:
    // One texture per picture and the way it is laid: layers that change
    // nothing of the picture share it.
    static std::string keyOf(const LWTextureBlock& block, const float (&under)[3])
    {
        if (!changesPicture(block))
            return block.imageName + "|" + std::to_string(int(block.widthWrapMode)) + "," +
                   std::to_string(int(block.heightWrapMode));
        char text[160];
        std::snprintf(text, sizeof text, "|%d,%d,%g,%d,%g,%g,%g", int(block.widthWrapMode), int(block.heightWrapMode),
                      double(block.opacity), int(block.negative), double(under[0]), double(under[1]),
                      double(under[2]));
        return block.imageName + text;
    }
    static bool changesPicture(const LWTextureBlock& block)
    {
        return block.opacity < 1 || block.negative || surroundedAcross(block);
    }

    int load(const std::string& file, const std::string& name, const LWTextureBlock& block, const float (&under)[3])
    {
        const bool plain = !changesPicture(block) && block.widthWrapMode == WrapMode::Repeat &&
                           block.heightWrapMode == WrapMode::Repeat;
        unsigned pngFlags = 0;
        std::unique_ptr<TextureImage> texture;
        if (plain && isPngFile(file.c_str(), pngFlags) && (pngFlags & kPngGrey)) {
            auto image = std::make_unique<Image8>();
            if (!loadImage8(file.c_str(), *image))
                return -1;
            texture = options_.uploadTextures ? std::make_unique<TextureImage>(image.release(), 0)
                                              : keep(std::move(image));
        } else if (plain) {
            auto image = std::make_unique<ImageRGB>();
            if (!loadImageRGB(file.c_str(), *image))
                return -1;
            texture = options_.uploadTextures ? std::make_unique<TextureImage>(image.release(), 0)
                                              : keep(std::move(image));
        } else {
            auto image = std::make_unique<ImageRGB>();
            if (!loadImageRGB(file.c_str(), *image))
                return -1;
            if (changesPicture(block)) {
                layOverSurface(*image, block, under);
                if (surroundedAcross(block))
                    *image = surroundedPicture(*image, block, under);
                // The pixels are no longer the file's: they are stored as
                // pixels.
                image->name.clear();
            }
            texture = keep(std::move(image));
            // A surrounded picture has the surface's colour at its edges.
            const auto wrapOf = [](WrapMode mode) { return mode == WrapMode::Reset ? GLenum(GL_CLAMP_TO_EDGE)
                                                                                   : textureWrapOf(mode); };
            texture->wrapS = wrapOf(block.widthWrapMode);
            texture->wrapT = wrapOf(block.heightWrapMode);
            if (options_.uploadTextures)
                texture->uploadRGB(texture->rgb.release());
        }
        texture->name = name;
        return target_.add_texture(texture.release());
    }

    template <typename Image>
    static std::unique_ptr<TextureImage> keep(std::unique_ptr<Image> image)
    {
        auto texture = std::make_unique<TextureImage>();
        texture->flags = TextureImage::Compress;
        if constexpr (std::is_same_v<Image, Image8>)
            texture->gray = std::move(image);
        else
            texture->rgb = std::move(image);
        return texture;
    }

    LwsScene& source_;
    ::Scene& target_;
    const ConvertOptions& options_;
    std::map<std::string, int> loaded_;
};

// The first enabled layer's texture, laid over `under`, or -1.
int firstTexture(TextureTable& textures, const std::vector<LWTextureBlock>& blocks, const std::string& surfaceName,
                 const float (&under)[3])
{
    const std::vector<const LWTextureBlock*> enabled = LWSurface::enabledOf(blocks);
    return enabled.empty() ? -1 : textures.indexOf(*enabled[0], surfaceName, under);
}

} // namespace

std::vector<std::string> sceneSurfaceNames(const Scene& source)
{
    std::map<std::string, int> uses;
    std::vector<std::string> names;
    for (const auto& surface : source.surfaces) {
        const int use = ++uses[surface->name];
        names.push_back(use == 1 ? surface->name : surface->name + " (" + std::to_string(use) + ")");
    }
    return names;
}

void convertSurfaces(LwsScene& source, ::Scene& target, const ConvertOptions& options)
{
    hlv::log("\n%sProcessing surfaces ---------------------------------------------------", indent());
    TextureTable textures(source, target, options);
    const std::vector<std::string> names = sceneSurfaceNames(source);
    for (size_t i = 0; i < source.surfaces.size(); ++i) {
        const LWSurface& lwSurface = *source.surfaces[i];
        const std::string& name = names[i];
        hlv::log("\n%s%s", indent(), name.c_str());
        // A colour picture lies over the surface's colour, a diffuse one
        // over its diffuse level.
        const float level[3] = {lwSurface.diffuse, lwSurface.diffuse, lwSurface.diffuse};
        const int colour = firstTexture(textures, lwSurface.colourBlocks, lwSurface.name, lwSurface.colour);
        const int diffuse = firstTexture(textures, lwSurface.diffuseBlocks, lwSurface.name, level);
        std::unique_ptr<Surface> surface;
        if (colour >= 0 && diffuse >= 0)
            surface = std::make_unique<TexDifSurface>(name, &target, colour, diffuse);
        else if (colour >= 0 || diffuse >= 0)
            surface = std::make_unique<TextureSurface>(name, &target, colour >= 0 ? colour : diffuse);
        else
            surface = std::make_unique<Surface>(name, &target);
        // A colour texture carries the colour of its surface; otherwise the
        // surface shows its colour scaled by its diffuse level, which also
        // darkens a diffuse texture.
        if (colour < 0) {
            for (int c = 0; c < 3; ++c)
                surface->colour[c] = lwSurface.colour[c];
            surface->colour_factor = lwSurface.diffuse;
        }
        surface->double_sided = lwSurface.doubleSided;
        surface->opacity = 1 - std::clamp(lwSurface.transparency, 0.0f, 1.0f);
        if (target.add_surface(surface.get()))
            surface.release();
    }
}

} // namespace LW
