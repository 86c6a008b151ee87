#include "scene/keyframe_handlers.h"

#include <memory>

#include "math/envelope.h"
#include "persist/encoding.h"

namespace {
// Time, value, bias, continuity, tension and the linear flag.
const size_t kStoredControlPointBytes = 29;
}

void ConstantKeyframeHandler::serialize(pstream& s, bool write) { io(s, write, value); }

Vector3f ConstantKeyframeHandler::evaluate(Vector3f& output, float) const
{
    output = value;
    return output;
}

void LW5KeyframeHandler::serialize(pstream& s, bool write)
{
    HermiteInterpolator& curve = spline.interpolator;
    if (write)
        s.write(static_cast<unsigned int>(curve.points.size()));
    else
        curve.points.assign(read_count(s, kStoredControlPointBytes), HermiteInterpolator::Ctrl());
    for (HermiteInterpolator::Ctrl& point : curve.points) {
        io(s, write, point.time);
        io(s, write, point.value);
        io(s, write, point.bias);
        io(s, write, point.continuity);
        io(s, write, point.tension);
        io(s, write, point.linear);
    }
    io(s, write, curve.loopLength);
}

Vector3f LW5KeyframeHandler::evaluate(Vector3f& output, float time) const
{
    output = spline.evaluate(time);
    return output;
}

LW6KeyframeHandler::LW6KeyframeHandler() : envelopes_{new Envelope, new Envelope, new Envelope} {}

LW6KeyframeHandler::LW6KeyframeHandler(Envelope* x, Envelope* y, Envelope* z) : envelopes_{x, y, z} {}

LW6KeyframeHandler::~LW6KeyframeHandler()
{
    for (Envelope* envelope : envelopes_)
        delete envelope;
}

void LW6KeyframeHandler::serialize(pstream& s, bool write)
{
    if (write) {
        for (Envelope* envelope : envelopes_)
            io(s, true, *envelope);
        return;
    }
    std::unique_ptr<Envelope> read[3];
    for (auto& envelope : read) {
        envelope.reset(new Envelope);
        io(s, false, *envelope);
    }
    for (int i = 0; i < 3; ++i) {
        delete envelopes_[i];
        envelopes_[i] = read[i].release();
    }
}

Vector3f LW6KeyframeHandler::evaluate(Vector3f& output, float time) const
{
    output.set(envelopes_[0]->evaluate(time), envelopes_[1]->evaluate(time), envelopes_[2]->evaluate(time));
    return output;
}
