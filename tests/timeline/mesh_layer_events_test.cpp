#include <gtest/gtest.h>

#include "tests/timeline/mesh_layer_shapes.h"
#include "tests/timeline/recording.h"
#include "timeline/mesh_events.h"

using MeshEventTest = TimelineFixture;

TEST_F(MeshEventTest, UnloadReleasesTheMeshWhenItFires)
{
    holdMesh("demo\\ombres\\hlv.lwo", boxMesh({0, 0, 0}, {1, 1, 1}, 0));
    new hlv::EvtUnloadMesh(2.0f, "demo\\ombres\\hlv.lwo");
    new hlv::EvtUnloadMesh(2.0f, "demo\\never loaded.lwo");
    timeline.rewind();
    timeline.advance(1.9f);
    EXPECT_NE(meshManager.find("demo\\ombres\\hlv.lwo"), nullptr);
    timeline.advance(2.0f);
    EXPECT_EQ(meshManager.find("demo\\ombres\\hlv.lwo"), nullptr);
    EXPECT_EQ(meshManager.size(), 0u);
}
