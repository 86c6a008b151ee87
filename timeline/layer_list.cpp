#include "timeline/layer_list.h"

#include <set>

#include "log/logger.h"
#include "timeline/brush.h"

namespace hlv {

LayerList& LayerList::instance()
{
    static LayerList list;
    return list;
}

void LayerList::activate(float startTime, Brush* brush)
{
    if (!brush)
        return;
    if (brush->layer < 0 || brush->layer >= kLayerCount) {
        log("LayerList: brush on layer %d ignored (layers are 0 to %d)\n", brush->layer, kLayerCount - 1);
        return;
    }
    layers_[brush->layer].push_back({startTime, brush});
}

bool LayerList::holds(const Brush* brush) const
{
    for (const auto& layer : layers_)
        for (const Entry& entry : layer)
            if (entry.brush == brush)
                return true;
    return false;
}

void LayerList::render(float t) { visit(t, true); }

void LayerList::skip(float t) { visit(t, false); }

void LayerList::visit(float t, bool draw)
{
    for (auto& layer : layers_) {
        for (auto it = layer.begin(); it != layer.end();) {
            float local = t - it->startTime;
            Brush* brush = it->brush;
            if (!brush->isFinished(local)) {
                if (draw)
                    brush->render(local);
                ++it;
                continue;
            }
            it = layer.erase(it);
            // A brush activated more than once lives until its last entry
            // goes, so that no entry is left pointing at a destroyed brush.
            if (brush->deleteWhenFinished && !holds(brush))
                delete brush;
        }
    }
}

void LayerList::clear()
{
    std::set<Brush*> brushes;
    for (auto& layer : layers_) {
        for (const Entry& entry : layer)
            brushes.insert(entry.brush);
        layer.clear();
    }
    for (Brush* brush : brushes)
        delete brush;
}

} // namespace hlv
