#include "tests/support/sharpness.h"

#include <algorithm>

GreyPicture greyPicture(const uint8_t* pixels, int width, int height, int channels)
{
    GreyPicture grey{width, height, std::vector<float>(size_t(width) * size_t(height))};
    for (size_t i = 0; i < grey.values.size(); ++i) {
        const uint8_t* p = pixels + i * size_t(channels);
        grey.values[i] = channels >= 3 ? 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2] : float(p[0]);
    }
    return grey;
}

GreyPicture magnified(const GreyPicture& small, int factor)
{
    GreyPicture large{small.width * factor, small.height * factor, {}};
    large.values.resize(size_t(large.width) * size_t(large.height));
    auto source = [&](int pixel, int size) {
        float at = (float(pixel) + 0.5f) / float(factor) - 0.5f;
        return std::clamp(at, 0.0f, float(size - 1));
    };
    for (int y = 0; y < large.height; ++y) {
        const float sy = source(y, small.height);
        const int y0 = int(sy), y1 = std::min(y0 + 1, small.height - 1);
        const float fy = sy - float(y0);
        for (int x = 0; x < large.width; ++x) {
            const float sx = source(x, small.width);
            const int x0 = int(sx), x1 = std::min(x0 + 1, small.width - 1);
            const float fx = sx - float(x0);
            const float top = small.at(x0, y0) * (1 - fx) + small.at(x1, y0) * fx;
            const float bottom = small.at(x0, y1) * (1 - fx) + small.at(x1, y1) * fx;
            large.values[size_t(y) * size_t(large.width) + size_t(x)] = top * (1 - fy) + bottom * fy;
        }
    }
    return large;
}

GreyPicture reduced(const GreyPicture& large, int factor)
{
    GreyPicture small{large.width / factor, large.height / factor, {}};
    small.values.resize(size_t(small.width) * size_t(small.height));
    for (int y = 0; y < small.height; ++y)
        for (int x = 0; x < small.width; ++x) {
            float sum = 0;
            for (int dy = 0; dy < factor; ++dy)
                for (int dx = 0; dx < factor; ++dx)
                    sum += large.at(x * factor + dx, y * factor + dy);
            small.values[size_t(y) * size_t(small.width) + size_t(x)] = sum / float(factor * factor);
        }
    return small;
}

namespace {

PictureRect pixelsOf(const GreyPicture& picture, PictureRect rect, int scale)
{
    if (rect.width <= 0 || rect.height <= 0)
        return {0, 0, picture.width, picture.height};
    const int left = std::clamp(rect.x * scale, 0, picture.width), top = std::clamp(rect.y * scale, 0, picture.height);
    return {left, top, std::min(rect.width * scale, picture.width - left), std::min(rect.height * scale, picture.height - top)};
}

} // namespace

double gradientEnergy(const GreyPicture& picture, PictureRect rect, int scale)
{
    const PictureRect r = pixelsOf(picture, rect, scale);
    const int right = std::min(r.x + r.width, picture.width - 1), bottom = std::min(r.y + r.height, picture.height - 1);
    double sum = 0;
    for (int y = r.y; y < bottom; ++y)
        for (int x = r.x; x < right; ++x) {
            const double across = picture.at(x + 1, y) - picture.at(x, y);
            const double down = picture.at(x, y + 1) - picture.at(x, y);
            sum += across * across + down * down;
        }
    return right > r.x && bottom > r.y ? sum / (double(right - r.x) * double(bottom - r.y)) : 0.0;
}

double meanLuminance(const GreyPicture& picture, PictureRect rect, int scale)
{
    const PictureRect r = pixelsOf(picture, rect, scale);
    double sum = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x)
            sum += picture.at(x, y);
    return r.width > 0 && r.height > 0 ? sum / (double(r.width) * double(r.height)) : 0.0;
}
