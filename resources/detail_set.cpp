#include "resources/detail_set.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "platform/path.h"
#include "render/device.h"

namespace detailset {

namespace {

std::atomic<bool> chosen{false};

bool exists(const std::string& name)
{
    if (FILE* file = platform::openResource(name, "rb")) {
        std::fclose(file);
        return true;
    }
    return false;
}

} // namespace

void chooseFor(unsigned frameWidth, unsigned frameHeight)
{
    use(frameWidth > gldevice::screenWidth || frameHeight > gldevice::screenHeight);
}

void use(bool inUse) { chosen.store(inUse); }

bool inUse() { return chosen.load(); }

std::string fileOf(const std::string& name)
{
    if (!inUse())
        return name;
    std::string twin = kFolder + name;
    return exists(twin) ? twin : name;
}

bool isTwin(const std::string& file)
{
    return file.compare(0, std::strlen(kFolder), kFolder) == 0;
}

} // namespace detailset
