#pragma once
// The process-wide owner of the show's pictures as textures, by path.

#include <stdexcept>
#include <string>

#include "render/texture_image.h"
#include "resources/resource_manager.h"

// A picture that cannot be used: missing, not decodable, or not matching its
// alpha picture. what() names the file; nothing is added when it is thrown.
class BitmapLoadError : public std::runtime_error {
public:
    BitmapLoadError(const std::string& fileName, const std::string& problem);
    const std::string& fileName() const { return fileName_; }

private:
    std::string fileName_;
};

class BitmapManager : public ResourceManager<TextureImage> {
public:
    static BitmapManager& instance();

    // An RGB picture in the top-left corner of a black texture with
    // power-of-two sides, so that it can be drawn one to one on screen.
    // Single level, clamped.
    void loadPadded(const char* name);
    // An RGBA texture: colour from `name`, alpha from the 8-bit picture
    // `alphaName`, stored under `name`. Both pictures have the same size.
    void loadWithAlpha(const char* name, const char* alphaName);
    // The same with the colour read from `colourName`: the show keeps its
    // figure under a short name of its own ("pupic").
    void loadWithAlpha(const char* name, const char* colourName, const char* alphaName);
    // A single-level alpha-only texture from an 8-bit picture.
    void loadAlpha(const char* name);
    // Each throws BitmapLoadError and adds nothing on failure; a name that is
    // already held is left as it is. While the high-detail set is in use
    // (resources/detail_set.h) each reads the name's twin where the set has
    // one and keeps it under the name, its texture's `detail` telling the
    // brushes how many of its pixels make one layout pixel.
};
