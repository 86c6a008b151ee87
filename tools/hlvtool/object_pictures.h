#pragma once
// The pictures an object names, found beside the object as a scene's
// content directory finds them: by their own name first, the ".jpg" of
// that name last.

#include <string>

namespace hlvtool {

// The picture's file, or empty when it is not found. `search` (--search),
// when given, is looked in before the object's folder.
std::string findObjectPicture(const std::string& image, const std::string& objectPath, const std::string& search);

// True when the file decodes as a picture.
bool isPicture(const std::string& file);

} // namespace hlvtool
