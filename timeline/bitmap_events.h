#pragma once
#include <string>

#include "timeline/timeline.h"

namespace hlv {

// Loads a picture as a padded backdrop texture (BitmapManager::loadPadded).
class EvtLoadBitmapBackdrop : public TimeLineEvent {
public:
    EvtLoadBitmapBackdrop(float time, const char* fileName);
    void execute(float t) override;

    std::string fileName;
};

// Loads an 8-bit picture as an alpha-only texture (BitmapManager::loadAlpha).
class EvtLoadBitmapAlpha : public TimeLineEvent {
public:
    EvtLoadBitmapAlpha(float time, const char* fileName);
    void execute(float t) override;

    std::string fileName;
};

// Releases a picture from the bitmap manager.
class EvtUnloadBitmap : public TimeLineEvent {
public:
    EvtUnloadBitmap(float time, const char* fileName);
    void execute(float t) override;

    std::string fileName;
};

} // namespace hlv
