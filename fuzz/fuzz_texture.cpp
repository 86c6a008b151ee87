// A texture record (the fields of "class TextureImage") read from memory;
// reading uploads, so the target owns a hidden GL window.
#include <cstdint>
#include <exception>

#include "fuzz/fuzz_input.h"
#include "persist/pstream.h"
#include "render/texture_image.h"
#include "tests/support/gl_window.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::silenceLogs();
    if (!openTestWindow())
        std::terminate();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    memory_pstream stream(data, size);
    TextureImage texture;
    try {
        texture.serialize(stream, false);
    } catch (persistent::exception) {
    } catch (const std::exception&) {
    }
    return 0;
}
