#include <memory>

#include "import/lwo2_object.h"

namespace LW {

uint32_t objectSurface(Scene& scene, Lwo2Object& object, const std::string& name)
{
    auto known = object.surfaceNames.find(name);
    if (known != object.surfaceNames.end())
        return known->second;
    const uint32_t index = static_cast<uint32_t>(scene.surfaces.size());
    auto described = object.describedSurfaces.find(name);
    if (described != object.describedSurfaces.end()) {
        scene.surfaces.push_back(std::move(described->second));
        object.describedSurfaces.erase(described);
    } else {
        scene.surfaces.push_back(std::make_unique<LWSurface>());
    }
    scene.surfaces.back()->name = name;
    object.surfaceNames.emplace(name, index);
    return index;
}

} // namespace LW
