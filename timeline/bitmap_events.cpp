#include "timeline/bitmap_events.h"

#include "resources/bitmap_manager.h"

namespace hlv {

EvtLoadBitmapBackdrop::EvtLoadBitmapBackdrop(float time, const char* fileName_)
    : TimeLineEvent(time), fileName(fileName_)
{
}

void EvtLoadBitmapBackdrop::execute(float)
{
    BitmapManager::instance().loadPadded(fileName.c_str());
}

EvtLoadBitmapAlpha::EvtLoadBitmapAlpha(float time, const char* fileName_) : TimeLineEvent(time), fileName(fileName_)
{
}

void EvtLoadBitmapAlpha::execute(float)
{
    BitmapManager::instance().loadAlpha(fileName.c_str());
}

EvtUnloadBitmap::EvtUnloadBitmap(float time, const char* fileName_) : TimeLineEvent(time), fileName(fileName_) {}

void EvtUnloadBitmap::execute(float)
{
    BitmapManager::instance().release(fileName.c_str());
}

} // namespace hlv
