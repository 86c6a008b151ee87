#include "timeline/clear_show.h"

#include <set>

#include "timeline/brush.h"
#include "timeline/events.h"
#include "timeline/layer_list.h"
#include "timeline/timeline.h"

namespace hlv {

void clearShow()
{
    TimeLine& timeline = TimeLine::instance();
    LayerList& layers = LayerList::instance();
    // A brush may wait on several activations, or on one while already
    // drawing: each is destroyed exactly once.
    std::set<Brush*> waiting;
    for (TimeLineEvent* event : timeline.pending())
        if (auto* activation = dynamic_cast<EvtActivateBrush*>(event))
            if (activation->brush && !layers.holds(activation->brush))
                waiting.insert(activation->brush);
    layers.clear();
    timeline.clear();
    for (Brush* brush : waiting)
        delete brush;
}

} // namespace hlv
