// A LightWave scene's objects are read by what they hold, whatever their
// names: LWOB, LWO2 and LWO3 objects, saved without an extension or as
// ".LWO".
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "geometry/nmesh.h"
#include "geometry/uni_surface_mesh.h"
#include "import/lws_convert.h"
#include "import/lws_parser.h"
#include "scene/scene.h"
#include "tests/geometry/capturing_logger.h"
#include "tests/import/lw_test_objects.h"
#include "tools/writers/xm_writer.h"  // writeFileBytes
#include "tests/import/lws_parse.h"

TEST(LwsObjectKinds, ObjectsAreReadByTheirContentWhateverTheirNames)
{
    namespace fs = std::filesystem;
    const std::string folder = (fs::current_path() / "lws_object_kinds").string();
    fs::remove_all(folder);
    fs::create_directories(folder + "/Objects");
    writers::writeFileBytes(folder + "/Objects/plate", lwtest::keyholeLwob());
    writers::Lwo2Writer star(writers::ObjectFormat::Lwo3);
    star.tags({"Star"}).layer(0).points(lwtest::starPoints()).polygons({{0, 1, 2, 3, 4}}).surfaceTags({{0, 0}});
    ASSERT_TRUE(star.save(folder + "/Objects/STAR.LWO"));
    ASSERT_TRUE(lwtest::cageObject().save(folder + "/Objects/cage.object"));

    CapturingLogger log;
    LW::LwsScene record;
    std::unique_ptr<Scene> scene = importLwsText("LWSC\n3\nFirstFrame 0\nLastFrame 1\nFramesPerSecond 30\n"
                                                 "LoadObjectLayer 1 Objects/plate\nLoadObjectLayer 1 Objects/STAR.LWO\n"
                                                 "LoadObjectLayer 1 Objects/cage.object\n",
                                                 folder, record);
    ASSERT_EQ(scene->primitives().size(), 3u);
    // The plate's ring (8 triangles), the star's five tips, the cage's cube
    // and pentagon subdivided at LightWave's level 3 (each n-gon n quads,
    // then four times as many twice, two triangles a quad).
    const uint32_t triangles[3] = {8, 5, 2 * (6 * 4 + 5) * 16};
    for (size_t i = 0; i < 3; ++i) {
        const auto* mesh = dynamic_cast<const NMesh*>(scene->primitives()[i]);
        ASSERT_NE(mesh, nullptr) << i;
        uint32_t count = 0;
        for (const UniSurfaceMesh* element : mesh->elements)
            count += element->triangle_count;
        EXPECT_EQ(count, triangles[i]) << i;
    }
    fs::remove_all(folder);
}
