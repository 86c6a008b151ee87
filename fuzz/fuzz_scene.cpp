// A whole scene file read from memory and post-loaded, as load_scene does.
#include <cstdint>
#include <exception>
#include <memory>

#include "fuzz/fuzz_input.h"
#include "persist/factory.h"
#include "persist/pstream.h"
#include "scene/scene.h"
#include "tests/support/gl_window.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::silenceLogs();
    register_factories();
    // Scenes hold textures, which upload as they are read.
    if (!openTestWindow())
        std::terminate();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    memory_pstream stream(data, size);
    try {
        std::unique_ptr<persistent> object(read_object(stream));
        if (auto* scene = dynamic_cast<Scene*>(object.get()))
            scene->post_load();
    } catch (persistent::exception) {
    } catch (const std::exception&) {
    }
    return 0;
}
