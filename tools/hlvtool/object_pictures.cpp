#include "tools/hlvtool/object_pictures.h"

#include "import/content_directory.h"
#include "import/picture_lookup.h"
#include "render/image_file.h"

namespace hlvtool {

std::string findObjectPicture(const std::string& image, const std::string& objectPath, const std::string& search)
{
    if (image.empty())
        return {};
    const size_t slash = objectPath.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "." : objectPath.substr(0, slash);
    std::vector<std::string> searchFolders;
    if (!search.empty())
        searchFolders.push_back(search);
    return LW::findContentFile(LW::pictureName(image, folder, searchFolders), folder, searchFolders);
}

bool isPicture(const std::string& file)
{
    ImageRGB image;
    return loadImageRGB(file.c_str(), image);
}

} // namespace hlvtool
