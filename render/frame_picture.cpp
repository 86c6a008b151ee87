#include "render/frame_picture.h"

#include <algorithm>
#include <cmath>

#include "render/frame_layout.h"

FrameRect frameInTarget(int frameWidth, int frameHeight, int targetWidth, int targetHeight)
{
    if (frameSizeWithin(targetWidth, targetHeight) == FrameSize{frameWidth, frameHeight})
        return {(targetWidth - frameWidth) / 2, (targetHeight - frameHeight) / 2, frameWidth, frameHeight};
    return fitFrame(frameWidth, frameHeight, targetWidth, targetHeight);
}

namespace {

// The source position (in pixels, centres at i + 0.5) of destination pixel
// `i` of `to`, clamped to the outer pixel centres of `from`; the two
// neighbours and the weight of the second.
struct Tap {
    int first, second;
    float weight;
};

Tap tapFor(int i, int to, int from)
{
    const float at = (float(i) + 0.5f) * float(from) / float(to) - 0.5f;
    const float clamped = std::min(std::max(at, 0.0f), float(from - 1));
    const int first = int(clamped);
    return {first, std::min(first + 1, from - 1), clamped - float(first)};
}

} // namespace

std::vector<uint8_t> frameInPicture(const std::vector<uint8_t>& frame, int frameWidth, int frameHeight, int width,
                                    int height)
{
    std::vector<uint8_t> picture(size_t(width) * size_t(height) * 3, 0);
    const FrameRect at = frameInTarget(frameWidth, frameHeight, width, height);
    if (at.width <= 0 || at.height <= 0 || frame.size() < size_t(frameWidth) * size_t(frameHeight) * 3)
        return picture;
    const size_t frameRow = size_t(frameWidth) * 3;
    if (at.width == frameWidth && at.height == frameHeight) {
        for (int row = 0; row < frameHeight; ++row)
            std::copy_n(&frame[size_t(row) * frameRow], frameRow,
                        &picture[(size_t(at.y + row) * size_t(width) + size_t(at.x)) * 3]);
        return picture;
    }
    for (int y = 0; y < at.height; ++y) {
        const Tap v = tapFor(y, at.height, frameHeight);
        const uint8_t* upper = &frame[size_t(v.first) * frameRow];
        const uint8_t* lower = &frame[size_t(v.second) * frameRow];
        uint8_t* out = &picture[(size_t(at.y + y) * size_t(width) + size_t(at.x)) * 3];
        for (int x = 0; x < at.width; ++x) {
            const Tap h = tapFor(x, at.width, frameWidth);
            for (int c = 0; c < 3; ++c) {
                auto across = [&](const uint8_t* row) {
                    const float left = row[h.first * 3 + c], right = row[h.second * 3 + c];
                    return left + h.weight * (right - left);
                };
                const float top = across(upper), bottom = across(lower);
                *out++ = uint8_t(std::lround(top + v.weight * (bottom - top)));
            }
        }
    }
    return picture;
}
