// The picture decoders. The first byte picks the entry point and the name
// the format is taken from; the rest is the file.
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "render/image_file.h"

namespace {

const char* const kStoredNames[] = {"a.jpg", "a.png", "a.bmp", "a.tga", "a.gif", "noextension"};
const unsigned kNameCount = sizeof kStoredNames / sizeof kStoredNames[0];

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    unsigned mode = data[0] % 3;
    const char* storedName = kStoredNames[(data[0] / 3) % kNameCount];
    const uint8_t* bytes = data + 1;
    size_t count = size - 1;
    if (mode == 0) {
        ImageRGB image;
        loadImageRGBFromMemory(bytes, count, storedName, image);
    } else if (mode == 1) {
        Image8 image;
        loadImage8FromMemory(bytes, count, storedName, image);
    } else {
        // Files: the PNG probe, then both decoders (libpng for PNG files).
        static const std::string path = fuzz::scratchPath(".png");
        if (!fuzz::writeScratch(path, bytes, count))
            return 0;
        unsigned flags = 0;
        isPngFile(path.c_str(), flags);
        ImageRGB rgb;
        loadImageRGB(path.c_str(), rgb);
        Image8 grey;
        loadImage8(path.c_str(), grey);
    }
    return 0;
}
