#include "app/loading_frame.h"

#include "geometry/surface.h"
#include "render/device.h"
#include "resources/bitmap_manager.h"
#include "timeline/brush_backdrop.h"
#include "timeline/events.h"
#include "timeline/layer_list.h"
#include "timeline/timeline.h"

namespace {
constexpr const char* kLoadingPicture = "demo\\loading.jpg";
} // namespace

// The frame goes through the same timeline and layer list as the show.
// Nothing is cleared, since the backdrop covers the screen; the viewport is
// set, since the frame need not be the window's size. A picture that
// cannot be loaded throws BitmapLoadError.
void showLoadingFrame()
{
    BitmapManager& bitmaps = BitmapManager::instance();
    bitmaps.loadPadded(kLoadingPicture);
    auto* backdrop = new hlv::BrushBackdrop;
    backdrop->bitmapName = kLoadingPicture;
    new hlv::EvtActivateBrush(0.0f, backdrop);  // files itself into the timeline

    hlv::TimeLine& timeline = hlv::TimeLine::instance();
    hlv::LayerList& layers = hlv::LayerList::instance();
    timeline.rewind();
    timeline.advance(0.0f);
    setWholeFrameViewport();
    layers.render(0.0f);
    gldevice::current->present();
    EndFrame();

    timeline.clear();
    bitmaps.release(kLoadingPicture);
    layers.clear();  // deletes the backdrop
}
