// Importer surfaces into scene surfaces, loading each texture image once.
#include <map>
#include <memory>
#include <type_traits>

#include "geometry/surface.h"
#include "import/importer_context.h"
#include "import/lws_files.h"
#include "import/lws_convert.h"
#include "log/logger.h"
#include "platform/path.h"
#include "render/image_file.h"
#include "render/texture_image.h"
#include "scene/scene.h"

namespace LW {

namespace {

// Where the image is: as the search finds it; pictures named with a folder
// of the machine the scene was made on are then looked for by their file
// name in the search directories.
std::string locate(const std::string& path, const Scene& scene)
{
    const std::string found = locateFile(path, scene);
    if (found != path || fileExists(path))
        return found;
    return locateFile(platform::fileNamePart(path.c_str()), scene);
}

class TextureTable {
public:
    TextureTable(const LwsScene& source, ::Scene& target, const ConvertOptions& options)
        : source_(source), target_(target), options_(options) {}

    // The texture's index in the scene, or -1 when its image does not decode.
    int indexOf(const LWTextureBlock& block)
    {
        if (block.imageName.empty())
            return -1;
        const std::string path = platform::renameExtension(block.imageName, ".jpg");
        auto known = loaded_.find(path);
        if (known != loaded_.end())
            return known->second;
        hlv::log("\n%s** loading image %s - ", indent(), path.c_str());
        const int index = load(path);
        if (index < 0)
            hlv::log("FAILED !");
        else
            hlv::log("loading OK (%d)", index);
        loaded_[path] = index;
        return index;
    }

private:
    int load(const std::string& path)
    {
        const std::string file = locate(path, source_);
        unsigned pngFlags = 0;
        std::unique_ptr<TextureImage> texture;
        if (isPngFile(file.c_str(), pngFlags) && (pngFlags & kPngGrey)) {
            auto image = std::make_unique<Image8>();
            if (!loadImage8(file.c_str(), *image))
                return -1;
            texture = options_.uploadTextures ? std::make_unique<TextureImage>(image.release(), 0)
                                              : keep(std::move(image));
        } else {
            auto image = std::make_unique<ImageRGB>();
            if (!loadImageRGB(file.c_str(), *image))
                return -1;
            texture = options_.uploadTextures ? std::make_unique<TextureImage>(image.release(), 0)
                                              : keep(std::move(image));
        }
        texture->name = path;
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

    const LwsScene& source_;
    ::Scene& target_;
    const ConvertOptions& options_;
    std::map<std::string, int> loaded_;
};

} // namespace

void convertSurfaces(const LwsScene& source, ::Scene& target, const ConvertOptions& options)
{
    hlv::log("\n%sProcessing surfaces ---------------------------------------------------", indent());
    TextureTable textures(source, target, options);
    for (const auto& lwSurface : source.surfaces) {
        hlv::log("\n%s%s", indent(), lwSurface->name.c_str());
        const int colour = lwSurface->colourBlocks.empty() ? -1 : textures.indexOf(lwSurface->colourBlocks[0]);
        const int diffuse = lwSurface->diffuseBlocks.empty() ? -1 : textures.indexOf(lwSurface->diffuseBlocks[0]);
        std::unique_ptr<Surface> surface;
        if (colour >= 0 && diffuse >= 0)
            surface = std::make_unique<TexDifSurface>(lwSurface->name, &target, colour, diffuse);
        else if (colour >= 0 || diffuse >= 0)
            surface = std::make_unique<TextureSurface>(lwSurface->name, &target, colour >= 0 ? colour : diffuse);
        else
            surface = std::make_unique<Surface>(lwSurface->name, &target);
        // A texture carries the colour of textured surfaces; plain ones show
        // the object's colour scaled by its diffuse level.
        if (lwSurface->colourBlocks.empty() && lwSurface->diffuseBlocks.empty()) {
            for (int i = 0; i < 3; ++i)
                surface->colour[i] = lwSurface->colour[i];
            surface->colour_factor = lwSurface->diffuse;
        }
        if (target.add_surface(surface.get()))
            surface.release();
    }
}

} // namespace LW
