#include "app/pack_folder.h"

#include <cstdio>

#include "platform/show_pack.h"

bool openShowPack(const char* program, const std::string& chosenFolder)
{
    const platform::PackSearch search = platform::findShowPack(chosenFolder);
    if (search.folder.empty()) {
        std::fprintf(stderr, "%s: %s\n", program, search.error.c_str());
        return false;
    }
    platform::usePackFolder(search.folder);
    return true;
}
