#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "geometry/surface.h"
#include "resources/scene_manager.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include "tests/support/gl_window.h"
#include "tests/tools/hlvtool_test_scene.h"

namespace {

// The colour at the middle of the window after drawing `scene` through its
// camera 0 at `seconds`, over its backdrop.
Rgba centreAt(Scene& scene, float seconds)
{
    glViewport(0, 0, 800, 600);
    glClearColor(scene.backdrop[0], scene.backdrop[1], scene.backdrop[2], 1);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene.set_pending_camera(0);
    scene.evaluate(seconds);
    scene.draw();
    EndFrame();
    return readPixel(400, 300);
}

void expectColour(const Rgba& pixel, bool red, bool green, bool blue, const char* what)
{
    EXPECT_EQ(pixel.r > 200, red) << what << ": " << int(pixel.r) << " " << int(pixel.g) << " " << int(pixel.b);
    EXPECT_EQ(pixel.g > 200, green) << what << ": " << int(pixel.r) << " " << int(pixel.g) << " " << int(pixel.b);
    EXPECT_EQ(pixel.b > 200, blue) << what << ": " << int(pixel.r) << " " << int(pixel.g) << " " << int(pixel.b);
}

} // namespace

class LightWaveSceneImport : public GLWindowTest {};

TEST_F(LightWaveSceneImport, ConvertsWritesReadsBackAndDrawsWhereTheEnvelopesPutTheCamera)
{
    const std::string folder = (std::filesystem::current_path() / "lws_scene_import").string();
    std::filesystem::remove_all(folder);
    const std::string path = writeTestLightWaveScene(folder);

    SceneManager manager;
    SceneEntry* entry = manager.importLWS(path.c_str(), folder.c_str());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(manager.find(path.c_str()), entry);
    EXPECT_EQ(manager.importLWS(path.c_str(), folder.c_str()), entry) << "a held name is not imported again";
    Scene& imported = *entry->scene;
    EXPECT_EQ(imported.primitives().size(), 2u);  // red.lwo is shared by two items
    EXPECT_EQ(imported.cameras().size(), 1u);
    EXPECT_TRUE(imported.fog_enabled);

    const std::string file = folder + "/scene.hlv";
    save_scene(imported, file);
    std::unique_ptr<Scene> reread(load_scene(file));
    ASSERT_EQ(reread->cameras().size(), 1u);
    EXPECT_EQ(reread->nodes().size(), imported.nodes().size());
    EXPECT_FLOAT_EQ(reread->fog_end, 480.0f);

    for (Scene* scene : {&imported, reread.get()}) {
        const char* which = scene == &imported ? "imported" : "read back";
        SCOPED_TRACE(which);
        expectColour(centreAt(*scene, 0.0f), true, false, false, "red quad ahead at 0 s");
        expectColour(centreAt(*scene, 0.5f), false, false, true, "between the quads at 0.5 s");
        expectColour(centreAt(*scene, 1.0f), false, true, false, "green quad ahead at 1 s");
    }
    manager.releaseAll();
    std::filesystem::remove_all(folder);
}
