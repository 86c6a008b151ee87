#include <gtest/gtest.h>

#include "recording.h"
#include "resources/scene_manager.h"
#include "tests/scene/scene_builders.h"
#include "timeline/brush_envelope_value.h"
#include "timeline/brush_envelope_zoom_factor.h"
#include "timeline/events.h"

TEST(BrushEnvelopeValue, WritesTheEnvelopeAtTheLocalTime)
{
    float offset = 7;
    hlv::BrushEnvelopeValue brush(&offset);
    brush.render(3);
    EXPECT_EQ(offset, 0.0f);  // no keys: the default value

    brush.value.addKey(0, 0).addKey(0.25f, 1).setLinear();
    brush.render(1.0f);
    EXPECT_FLOAT_EQ(offset, 4.0f);
    brush.render(10.0f);
    EXPECT_FLOAT_EQ(offset, 40.0f);
}

TEST(BrushEnvelopeZoomFactor, SetsTheNearDistanceOnlyOnceTheSceneIsLoaded)
{
    auto* scene = new Scene;
    TransformNode* root = placed(*scene, Vector3f(), nullptr);
    scene->set_root(root);
    camera_on_z(*scene, 10, root);
    Camera& camera = *scene->cameras()[0];

    hlv::BrushEnvelopeZoomFactor zoom;
    zoom.sceneName = "demo\\zoomed.hlv";
    zoom.zoom.addKey(0, 2).addKey(1, 4);
    zoom.render(0.5f);  // no such scene

    // Registered but still loading: skipped without waiting.
    auto* entry = new SceneEntry;
    entry->loaded = platform::createEvent();
    sceneManager.add("demo\\zoomed.hlv", entry);
    zoom.render(0.5f);
    EXPECT_EQ(camera.nearDistance(), 1.0f);

    entry->scene = scene;
    zoom.cameraIndex = 1;  // outside the camera table
    zoom.render(0.5f);
    EXPECT_EQ(camera.nearDistance(), 1.0f);

    zoom.cameraIndex = 0;
    zoom.render(1.0f);
    EXPECT_EQ(camera.nearDistance(), 4.0f);
    // The projection follows: x scale is near / half-width.
    EXPECT_FLOAT_EQ(camera.projectionMatrix().m[0], 4.0f);
    sceneManager.release("demo\\zoomed.hlv");
}

using EvtChangeValueTest = TimelineFixture;

TEST_F(EvtChangeValueTest, LaterEventAtTheSameTimeWins)
{
    bool visible = false;
    bool on = true, off = false;
    new hlv::EvtChangeValue<bool>(2, &visible, on);
    new hlv::EvtChangeValue<bool>(2, &visible, off);
    new hlv::EvtChangeValue<bool>(3, &visible, on);
    on = false;  // the value was copied when the event was made
    timeline.rewind();
    timeline.advance(2.5f);
    EXPECT_FALSE(visible);
    timeline.advance(3);
    EXPECT_TRUE(visible);
}
