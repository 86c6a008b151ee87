#pragma once
// The real show in a hidden window, started as the program starts it (the
// disclaimer answered) from the generated pack, and driven frame by frame
// on a virtual clock, for end-to-end tests.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One presented frame, RGB, top row first.
struct ShowFrame {
    float time = 0.0f;
    std::vector<uint8_t> rgb;  // 800 x 600 x 3

    const uint8_t* at(int x, int y) const { return &rgb[(size_t(y) * 800 + size_t(x)) * 3]; }
    // Mean luminance (0..255) of a rectangle.
    double meanLuminance(int x, int y, int width, int height) const;
    // Share (0..1) of the frame's pixels whose every channel is at least `level`.
    double shareAtLeast(int level) const;
    // Mean absolute difference per channel to a picture of the same size.
    double meanDifference(const std::vector<uint8_t>& otherRgb) const;
};

class ShowRun {
public:
    // Starts the show; the test fails (fatally for the caller's checks) when it cannot.
    ShowRun(bool loadDuringShow, int framesPerSecond);
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

// The picture in the pack under `demoPath` ("demo/SkyDrift.jpg"), scaled to
// 800x600 by nearest pixel, RGB, top row first; empty when it cannot be read.
std::vector<uint8_t> packPictureOnScreen(const std::string& demoPath);
