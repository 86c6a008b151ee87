#pragma once
// The pictures an object names, found beside the object as a scene's
// content directory finds them: by their own name first, the ".jpg" of
// that name last.

#include <string>

namespace hlvtool {

// The picture's file, or empty when it is not found.
std::string findObjectPicture(const std::string& image, const std::string& objectPath);

} // namespace hlvtool
