#include "tools/hlvtool/object_pictures.h"

#include "import/content_directory.h"
#include "import/picture_lookup.h"

namespace hlvtool {

std::string findObjectPicture(const std::string& image, const std::string& objectPath)
{
    if (image.empty())
        return {};
    const size_t slash = objectPath.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "." : objectPath.substr(0, slash);
    return LW::findContentFile(LW::pictureName(image, folder, {}), folder, {});
}

} // namespace hlvtool
