#pragma once
#include <string>

#include "timeline/brush.h"

namespace hlv {

// Draws nothing: every frame it sets the near distance of one camera of a
// loaded scene to its envelope's value. The view window keeps its size at
// the near distance, so a larger value zooms in. The camera keeps the last
// value after the brush has finished.
class BrushEnvelopeZoomFactor : public Brush {
public:
    void render(float localTime) override;

    std::string sceneName;  // a scene held by the scene manager
    int cameraIndex = 0;
    Envelope zoom;
};

} // namespace hlv
