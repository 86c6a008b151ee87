#include "tools/assetgen/reverb.h"

#include <cmath>
#include <cstddef>

namespace assetgen {

namespace {

class Comb {
public:
    explicit Comb(size_t length) : buffer_(length, 0.0f) {}
    float run(float in, float feedback, float damping)
    {
        float out = buffer_[index_];
        filtered_ = out * (1 - damping) + filtered_ * damping;
        buffer_[index_] = in + filtered_ * feedback;
        index_ = (index_ + 1) % buffer_.size();
        return out;
    }

private:
    std::vector<float> buffer_;
    size_t index_ = 0;
    float filtered_ = 0;
};

class AllPass {
public:
    explicit AllPass(size_t length) : buffer_(length, 0.0f) {}
    float run(float in)
    {
        float delayed = buffer_[index_];
        float out = delayed - in;
        buffer_[index_] = in + delayed * 0.5f;
        index_ = (index_ + 1) % buffer_.size();
        return out;
    }

private:
    std::vector<float> buffer_;
    size_t index_ = 0;
};

// One side of the room; the right side's delays are a little longer so the
// two decorrelate.
class Room {
public:
    explicit Room(size_t spread)
    {
        for (size_t length : {1116u, 1188u, 1277u, 1356u, 1422u, 1491u})
            combs_.emplace_back(length + spread);
        for (size_t length : {556u, 441u, 341u})
            allPasses_.emplace_back(length + spread);
    }
    float run(float in)
    {
        float sum = 0;
        for (Comb& comb : combs_)
            sum += comb.run(in, 0.82f, 0.3f);
        for (AllPass& pass : allPasses_)
            sum = pass.run(sum);
        return sum;
    }

private:
    std::vector<Comb> combs_;
    std::vector<AllPass> allPasses_;
};

} // namespace

void addReverb(std::vector<float>& stereo, float wet)
{
    Room left(0), right(23);
    const float gain = 0.06f;  // the combs' sum runs hot
    for (size_t i = 0; i + 1 < stereo.size(); i += 2) {
        float in = (stereo[i] + stereo[i + 1]) * gain;
        float l = left.run(in), r = right.run(in);
        stereo[i] += l * wet;
        stereo[i + 1] += r * wet;
    }
}

void normalise(std::vector<float>& samples, float peak)
{
    float top = 1e-9f;
    for (float s : samples)
        top = std::fmax(top, std::fabs(s));
    float k = peak / top;
    for (float& s : samples)
        s *= k;
}

} // namespace assetgen
