#pragma once
// The pictures an object names, found beside the object as a scene's
// content directory finds them: by their own name first, the ".jpg" of
// that name last.

#include <string>
#include <vector>

namespace hlvtool {

// The picture's file, or empty when it is not found. The `search` folders
// (--search), in order, are looked in before the object's folder.
std::string findObjectPicture(const std::string& image, const std::string& objectPath,
                              const std::vector<std::string>& search);

// True when the file decodes as a picture.
bool isPicture(const std::string& file);

} // namespace hlvtool
