#pragma once
#include <functional>

class FrameRateKeeper;

// One frame of the show: viewport, show time, events, frame reset, timeline,
// layers, present, end of frame. `showTime` is asked once, after the
// viewport is set; `beforePresent` (if any) runs on the finished back
// buffer. False, with nothing drawn, once the quit has been posted.
bool runFrame(const std::function<float()>& showTime, const std::function<void()>& beforePresent = {});

// A frame at `showTime` without the drawing: its events fire and the brushes
// finished by then are retired, in the order a drawn frame does both, so
// that the frames after it are drawn as if it had been.
void skipFrame(float showTime);

// Takes the show start time and runs frames on the real clock until the
// quit, or until `frameDone` (given each frame's show time and its time in
// milliseconds from the frame before, 0 for the first) returns false;
// `keeper` holds the refresh.
void playFrames(FrameRateKeeper& keeper, const std::function<bool(float, double)>& frameDone = {});

// Takes the show start time and runs frames until the quit, then shuts the
// show down. Returns 1. Steps the frame down when it cannot hold the
// display's refresh (app/frame_rate_keeper.h).
int runMainLoop();

// Stops the music, deletes the device, restores the desktop mode and closes
// the window.
void shutDownShow();
