#pragma once
// The real show in a hidden window, started as the program starts it (the
// disclaimer answered) from the generated pack, and driven frame by frame
// on a virtual clock, for end-to-end tests.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/frame_choice.h"
#include "timeline/layer_list.h"

// One presented frame, RGB, top row first.
struct ShowFrame {
    float time = 0.0f;
    int width = 800, height = 600;
    std::vector<uint8_t> rgb;  // width x height x 3

    const uint8_t* at(int x, int y) const { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
    // Mean luminance (0..255) of a rectangle.
    double meanLuminance(int x, int y, int width, int height) const;
    // Share (0..1) of the frame's pixels whose every channel is at least `level`.
    double shareAtLeast(int level) const;
    // Mean absolute difference per channel to a picture of the same size.
    double meanDifference(const std::vector<uint8_t>& otherRgb) const;
};

class ShowRun {
public:
    // A clock of no frames of its own: only the frames asked for are drawn,
    // as on a machine so slow that each frame replays every event it missed.
    static constexpr int kOnlyAskedFrames = 0;

    // Starts the show; the test fails (fatally for the caller's checks) when
    // it cannot. With `askDisclaimer` the start-up asks its question (answered
    // through SKYDRIFT_ANSWER) and `loadDuringShow` is not used. The frame
    // is the show's reference one, 800x600 with one sample, unless given.
    ShowRun(bool loadDuringShow, int framesPerSecond, bool askDisclaimer = false,
            const FrameChoice& frame = FrameChoice{false, {800, 600}, 1});
    ~ShowRun();  // shuts the show down as the program does at quit

    bool started() const { return started_; }
    // Renders every frame of the clock before `t` (each handed to `visit`, if
    // given, after it is drawn), then the frame at `t`, which it returns.
    ShowFrame frameAt(float t, const std::function<void(float)>& visit = {});

private:
    bool renderFrame(float t, ShowFrame* frame);

    int framesPerSecond_;
    long nextFrame_ = 0;
    bool started_ = false;
    std::string previousFolder_;
};

// Every active brush of type T, in drawing order.
template <typename T>
std::vector<T*> activeBrushes()
{
    std::vector<T*> found;
    for (int layer = 0; layer < hlv::LayerList::kLayerCount; ++layer)
        for (const hlv::LayerList::Entry& entry : hlv::LayerList::instance().layer(layer))
            if (auto* brush = dynamic_cast<T*>(entry.brush))
                found.push_back(brush);
    return found;
}

// The picture in the pack under `demoPath` ("demo/SkyDrift.jpg"), scaled to
// 800x600 by nearest pixel, RGB, top row first; empty when it cannot be read.
std::vector<uint8_t> packPictureOnScreen(const std::string& demoPath);
