#pragma once
#include <list>

namespace hlv {

class Brush;

// The eight layers of active brushes, drawn once per frame: layer 0 first,
// each layer in activation order.
class LayerList {
public:
    static constexpr int kLayerCount = 8;
    struct Entry {
        float startTime;  // show time of the activation
        Brush* brush;
    };

    static LayerList& instance();

    void activate(float startTime, Brush* brush);  // appends to the brush's layer
    void render(float t);  // draws each brush at t - start; removes finished ones
    void skip(float t);    // removes the brushes finished at t, drawing nothing
    void clear();          // destroys every brush and empties the layers

    bool holds(const Brush* brush) const;  // true while some entry refers to it

    const std::list<Entry>& layer(int index) const { return layers_[index]; }

private:
    void visit(float t, bool draw);

    std::list<Entry> layers_[kLayerCount];
};

} // namespace hlv
