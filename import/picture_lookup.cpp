#include "import/picture_lookup.h"

#include "import/content_directory.h"
#include "platform/path.h"

namespace LW {

std::string pictureName(const std::string& image, const std::string& folder, const std::vector<std::string>& search)
{
    const std::string jpeg = platform::renameExtension(image, ".jpg");
    if (jpeg != image && findContentFile(image, folder, search).empty() && !findContentFile(jpeg, folder, search).empty())
        return jpeg;
    return image;
}

} // namespace LW
