#include "export/scalar_curve.h"

#include <algorithm>
#include <cmath>

#include "math/envelope.h"
#include "scene/hermite_spline.h"

namespace gltf_export {

namespace {

// Periods of a repeating behaviour unrolled at most; beyond them a curve
// holds its last unrolled piece (a guard against tiny periods over long
// ranges).
constexpr double kMaxPeriods = 100000;
// A two-dimensional Bezier span is no cubic of time: it is cut into this
// many pieces, each a cubic through the span's values and slopes.
constexpr int kBezier2DPieces = 16;

// The Hermite basis over one span: value and derivative with respect to w.
void hermite(double w, double v0, double out, double v1, double in, double& value, double& derivative)
{
    const double w2 = w * w, w3 = w2 * w;
    const double h2 = 3 * w2 - 2 * w3, h1 = 1 - h2, h3 = w3 - 2 * w2 + w, h4 = w3 - w2;
    const double d2 = 6 * w - 6 * w2, d3 = 3 * w2 - 4 * w + 1, d4 = 3 * w2 - 2 * w;
    value = h1 * v0 + h2 * v1 + h3 * out + h4 * in;
    derivative = -d2 * v0 + d2 * v1 + d3 * out + d4 * in;
}

// A two-dimensional Bezier span (control points as the envelope places
// them) at time t: the curve parameter found by bisection to double
// precision, the slope as dy/du over dx/du.
void bezier2D(const Key& k0, const Key& k1, double t, double& value, double& slope)
{
    const bool outIs2D = k0.shape == Envelope::Bezier2D;
    const double x[4] = {k0.time, k0.time + (outIs2D ? k0.params[2] : (double(k1.time) - k0.time) / 3),
                         double(k1.time) + k1.params[0], k1.time};
    const double y[4] = {k0.value, k0.value + (outIs2D ? k0.params[3] : k0.params[1] / 3.0),
                         double(k1.value) + k1.params[1], k1.value};
    auto at = [](const double (&p)[4], double u) {
        const double v = 1 - u;
        return v * v * v * p[0] + 3 * v * v * u * p[1] + 3 * v * u * u * p[2] + u * u * u * p[3];
    };
    auto derivative = [](const double (&p)[4], double u) {
        const double v = 1 - u;
        return 3 * v * v * (p[1] - p[0]) + 6 * v * u * (p[2] - p[1]) + 3 * u * u * (p[3] - p[2]);
    };
    double lower = 0, upper = 1, u = 0.5;
    for (int step = 0; step < 60; ++step) {
        u = (lower + upper) / 2;
        if (at(x, u) > t)
            upper = u;
        else
            lower = u;
    }
    value = at(y, u);
    const double dx = derivative(x, u);
    slope = std::fabs(dx) > 1e-12 ? derivative(y, u) / dx : 0;
}

bool repeats(int behaviour)
{
    return behaviour == Envelope::Repeat || behaviour == Envelope::Oscillate || behaviour == Envelope::Offset;
}

class EnvelopeCurve : public ScalarCurve {
public:
    explicit EnvelopeCurve(const Envelope& envelope) : envelope_(envelope)
    {
        for (const Key* key = envelope.firstKey; key; key = key->next)
            keys_.push_back(key);
    }

    void breakpoints(double first, double last, std::vector<double>& times) const override
    {
        if (keys_.size() < 2)
            return;
        const double t0 = keys_.front()->time, tn = keys_.back()->time, range = tn - t0;
        addPeriod(0, false, times);
        if (range <= 0)
            return;
        if (repeats(envelope_.preBehaviour) && first < t0)
            for (double c = std::max(std::floor((first - t0) / range), -kMaxPeriods); c < 0; ++c)
                addPeriod(c, envelope_.preBehaviour == Envelope::Oscillate, times);
        if (repeats(envelope_.postBehaviour) && last > tn)
            for (double c = 1; c <= std::min(std::floor((last - t0) / range), kMaxPeriods); ++c)
                addPeriod(c, envelope_.postBehaviour == Envelope::Oscillate, times);
    }

    void evaluate(double inside, double time, double& value, double& slope) const override
    {
        value = slope = 0;
        if (keys_.empty()) {
            value = envelope_.defaultValue;
            return;
        }
        const Key& first = *keys_.front();
        const Key& last = *keys_.back();
        if (keys_.size() == 1 || last.time <= first.time) {
            value = first.value;
            return;
        }
        const double range = double(last.time) - first.time;
        double period = 0, offset = 0;
        bool mirrored = false;
        if (inside < first.time || inside > last.time) {
            const bool before = inside < first.time;
            const int behaviour = before ? envelope_.preBehaviour : envelope_.postBehaviour;
            switch (behaviour) {
            case Envelope::Reset:
                return;
            case Envelope::Repeat:
            case Envelope::Oscillate:
            case Envelope::Offset:
                period = std::floor((inside - first.time) / range);
                mirrored = behaviour == Envelope::Oscillate && std::fmod(std::fabs(period), 2.0) == 1.0;
                if (behaviour == Envelope::Offset)
                    offset = period * (double(last.value) - first.value);
                break;
            case Envelope::LinearBehaviour: {
                const Key& a = before ? first : *last.prev;
                const Key& b = before ? *first.next : last;
                slope = (before ? outgoingTangent(a, b) : incomingTangent(a, b)) / (double(b.time) - a.time);
                const Key& end = before ? first : last;
                value = end.value + slope * (time - end.time);
                return;
            }
            default:  // constant
                value = before ? first.value : last.value;
                return;
            }
        }
        auto local = [&](double t) {
            const double shifted = t - period * range;
            return mirrored ? double(first.time) + last.time - shifted : shifted;
        };
        const double within = local(inside);
        size_t k = 0;
        while (k + 2 < keys_.size() && !(within <= keys_[k + 1]->time))
            ++k;
        span(k, local(time), value, slope);
        value += offset;
        if (mirrored)
            slope = -slope;
    }

private:
    void addPeriod(double period, bool mirrored, std::vector<double>& times) const
    {
        const double t0 = keys_.front()->time, tn = keys_.back()->time, shift = period * (tn - t0);
        const bool odd = mirrored && std::fmod(std::fabs(period), 2.0) == 1.0;
        auto add = [&](double t) { times.push_back(shift + (odd ? t0 + tn - t : t)); };
        for (size_t k = 0; k < keys_.size(); ++k) {
            add(keys_[k]->time);
            if (k > 0 && keys_[k]->shape == Envelope::Bezier2D)
                for (int j = 1; j < kBezier2DPieces; ++j)
                    add(keys_[k - 1]->time + (double(keys_[k]->time) - keys_[k - 1]->time) * j / kBezier2DPieces);
        }
    }

    // The span from key k to key k + 1 at local time t.
    void span(size_t k, double t, double& value, double& slope) const
    {
        const Key& k0 = *keys_[k];
        const Key& k1 = *keys_[k + 1];
        const double length = double(k1.time) - k0.time;
        if (length <= 0) {
            value = k1.value;
            slope = 0;
            return;
        }
        const double w = (t - k0.time) / length;
        switch (k1.shape) {
        case Envelope::TCB:
        case Envelope::Hermite:
        case Envelope::Bezier: {
            double derivative;
            hermite(w, k0.value, outgoingTangent(k0, k1), k1.value, incomingTangent(k0, k1), value, derivative);
            slope = derivative / length;
            return;
        }
        case Envelope::Linear:
            value = k0.value + w * (double(k1.value) - k0.value);
            slope = (double(k1.value) - k0.value) / length;
            return;
        case Envelope::Stepped:
            value = k0.value;
            slope = 0;
            return;
        case Envelope::Bezier2D:
            bezier2D(k0, k1, t, value, slope);
            return;
        default:
            value = slope = 0;
            return;
        }
    }

    const Envelope& envelope_;
    std::vector<const Key*> keys_;
};

float component(const Vector3f& v, int c) { return c == 0 ? v.x : c == 1 ? v.y : v.z; }

class Lw5Curve : public ScalarCurve {
public:
    Lw5Curve(const HermiteInterpolator& spline, int component) : spline_(spline), component_(component) {}

    void breakpoints(double first, double last, std::vector<double>& times) const override
    {
        (void)first;
        for (const HermiteInterpolator::Ctrl& point : spline_.points)
            times.push_back(point.time);
        const double loop = spline_.loopLength;
        if (loop <= 0 || spline_.points.empty())
            return;
        for (double c = 1; c <= std::min(std::floor(last / loop), kMaxPeriods); ++c) {
            times.push_back(c * loop);
            for (const HermiteInterpolator::Ctrl& point : spline_.points)
                times.push_back(c * loop + point.time);
        }
    }

    void evaluate(double inside, double time, double& value, double& slope) const override
    {
        const std::vector<HermiteInterpolator::Ctrl>& points = spline_.points;
        const size_t n = points.size();
        value = slope = 0;
        if (n == 0)
            return;
        if (n == 1) {
            value = component(points[0].value, component_);
            return;
        }
        const double loop = spline_.loopLength;
        const double shift = loop > 0 && inside > loop ? std::floor(inside / loop) * loop : 0;
        const double within = inside - shift, t = time - shift;
        if (within > points[n - 1].time) {
            value = component(points[n - 1].value, component_);
            return;
        }
        size_t i = 1;
        while (i < n - 1 && points[i].time < within)
            ++i;
        auto v = [&](size_t k) { return double(component(points[k].value, component_)); };
        const HermiteInterpolator::Ctrl& key0 = points[i - 1];
        const HermiteInterpolator::Ctrl& key1 = points[i];
        const double length = double(key1.time) - key0.time;
        const double w = length != 0 ? (t - key0.time) / length : 0;
        const double d = v(i) - v(i - 1);
        if (key1.linear) {
            value = v(i - 1) + d * w;
            slope = length != 0 ? d / length : 0;
            return;
        }
        const double a = (1 - key0.tension) * (1 + key0.continuity) * (1 + key0.bias);
        const double b = (1 - key0.tension) * (1 - key0.continuity) * (1 - key0.bias);
        const double out = i == 1 ? d * (a + b) * 0.5
                                  : ((v(i - 1) - v(i - 2)) * a + d * b) * (length / (double(key1.time) - points[i - 2].time));
        const double c = (1 - key1.tension) * (1 - key1.continuity) * (1 + key1.bias);
        const double e = (1 - key1.tension) * (1 + key1.continuity) * (1 - key1.bias);
        const double in = i == n - 1 ? d * (c + e) * 0.5
                                     : ((v(i + 1) - v(i)) * e + d * c) * (length / (double(points[i + 1].time) - key0.time));
        double derivative;
        hermite(w, v(i - 1), out, v(i), in, value, derivative);
        slope = length != 0 ? derivative / length : 0;
    }

private:
    const HermiteInterpolator& spline_;
    int component_;
};

} // namespace

std::unique_ptr<ScalarCurve> envelopeCurve(const Envelope& envelope) { return std::make_unique<EnvelopeCurve>(envelope); }

std::unique_ptr<ScalarCurve> lw5Curve(const HermiteInterpolator& spline, int component)
{
    return std::make_unique<Lw5Curve>(spline, component);
}

} // namespace gltf_export
