#include "tools/assetgen/picture_files.h"

#include "tools/writers/picture_writer.h"

namespace assetgen {

void saveJpeg(const PackFolder& pack, const char* resourceName, const Canvas& canvas, int quality)
{
    std::string path = pack.pathOf(resourceName);
    checkWritten(writers::writeJpeg(path, canvas.bytes().data(), uint32_t(canvas.width()), uint32_t(canvas.height()),
                                    unsigned(canvas.channels()), quality),
                 path);
}

void savePng(const PackFolder& pack, const char* resourceName, const Canvas& canvas)
{
    std::string path = pack.pathOf(resourceName);
    checkWritten(writers::writePng(path, canvas.bytes().data(), uint32_t(canvas.width()), uint32_t(canvas.height()),
                                   unsigned(canvas.channels())),
                 path);
}

} // namespace assetgen
