// LightWave objects; the loader reads files, so each input goes to a scratch file.
#include <cstdint>
#include <memory>

#include "fuzz/fuzz_input.h"
#include "import/lwo2_loader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::silenceLogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = fuzz::scratchPath(".lwo");
    if (!fuzz::writeScratch(path, data, size))
        return 0;
    try {
        std::unique_ptr<hlv::RobustMesh> mesh(loadLWO2(path.c_str(), nullptr));
        if (mesh)
            mesh->build(0);
    } catch (bool) {
    }
    return 0;
}
