#include "timeline/events.h"

#include "timeline/layer_list.h"

namespace hlv {

EvtActivateBrush::EvtActivateBrush(float time_, Brush* brush_) : TimeLineEvent(time_), brush(brush_) {}

// The event's own time is the start, so a brush activated in a late frame
// still runs on the show's clock.
void EvtActivateBrush::execute(float) { LayerList::instance().activate(time, brush); }

} // namespace hlv
