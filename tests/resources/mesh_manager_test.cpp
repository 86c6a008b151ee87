#include <gtest/gtest.h>

#include "resources/mesh_manager.h"
#include "tools/writers/lwo2_writer.h"

namespace {

struct Counted {
    explicit Counted(int* destroyed) : destroyed_(destroyed) {}
    ~Counted() { ++*destroyed_; }
    int* destroyed_;
};

} // namespace

TEST(ResourceManager, OwnsByNameAndDestroysOnReleaseAndExit)
{
    int destroyed = 0;
    Counted* first = new Counted(&destroyed);
    {
        ResourceManager<Counted> manager;
        EXPECT_TRUE(manager.add("demo\\a.jpg", first));
        Counted second(&destroyed);
        // A name already held keeps its first resource.
        EXPECT_FALSE(manager.add("demo\\a.jpg", &second));
        EXPECT_EQ(manager.find("demo\\a.jpg"), first);
        // Names are compared as given: another spelling is another entry.
        EXPECT_EQ(manager.find("demo/a.jpg"), nullptr);
        manager.release("absent");
        EXPECT_EQ(destroyed, 0);

        manager.release("demo\\a.jpg");
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(manager.find("demo\\a.jpg"), nullptr);

        manager.add("b", new Counted(&destroyed));
        manager.add("c", new Counted(&destroyed));
        manager.add("null", nullptr);
        destroyed = 0;
    }
    // The destructor destroys what is still held; `second` went out of scope too.
    EXPECT_EQ(destroyed, 3);
}

TEST(MeshManager, LoadKeepsTheResultUnderItsName)
{
    writers::Lwo2Writer object;
    object.points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).polygons({{0, 1, 2}});
    ASSERT_TRUE(object.save("triangle.lwo"));
    ASSERT_TRUE(object.save("other_form.lwo", "LWOB"));

    hlv::RobustMesh* mesh = meshManager.load("triangle.lwo", nullptr);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(meshManager.find("triangle.lwo"), mesh);
    EXPECT_EQ(meshManager.load("triangle.lwo", nullptr), mesh);
    mesh->build(0);
    EXPECT_EQ(mesh->triangleCount(), 1u);

    // Another IFF form gives null, and the null is kept under its name.
    EXPECT_EQ(meshManager.load("other_form.lwo", nullptr), nullptr);
    EXPECT_TRUE(meshManager.contains("other_form.lwo"));

    // A failed load adds nothing.
    EXPECT_THROW(meshManager.load("missing.lwo", nullptr), bool);
    EXPECT_FALSE(meshManager.contains("missing.lwo"));

    meshManager.release("triangle.lwo");
    EXPECT_EQ(meshManager.find("triangle.lwo"), nullptr);
}
