#include "imaging/PixelFilters.h"

#include <algorithm>
#include <cstring>

namespace {

// Runs `change` on each pixel (three bytes: blue, green, red) of a copy.
template <typename Change> BgrImage EachPixel(const BgrImage &source, Change change)
{
    BgrImage result = source;
    for (int y = 0; y < result.height; ++y) {
        unsigned char *pixel = result.Row(y);
        for (int x = 0; x < result.width; ++x, pixel += 3)
            change(pixel, x);
    }
    return result;
}

unsigned char Clamped(int value) { return static_cast<unsigned char>(std::clamp(value, 0, 255)); }

} // namespace

BgrImage Flipped(const BgrImage &source, bool vertical, bool horizontal)
{
    BgrImage result = source;
    for (int y = 0; y < source.height; ++y) {
        const unsigned char *from = source.Row(vertical ? source.height - 1 - y : y);
        unsigned char *to = result.Row(y);
        for (int x = 0; x < source.width; ++x)
            std::memcpy(to + 3 * x, from + 3 * (horizontal ? source.width - 1 - x : x), 3);
    }
    return result;
}

BgrImage Inverted(const BgrImage &source)
{
    return EachPixel(source, [](unsigned char *pixel, int) {
        for (int i = 0; i < 3; ++i)
            pixel[i] = static_cast<unsigned char>(255 - pixel[i]);
    });
}

BgrImage Grayscaled(const BgrImage &source)
{
    return EachPixel(source, [](unsigned char *pixel, int) {
        const auto gray = static_cast<unsigned char>((pixel[0] + pixel[1] + pixel[2]) / 3);
        std::fill_n(pixel, 3, gray);
    });
}

BgrImage ChannelMasked(const BgrImage &source, bool keepBlue, bool keepGreen, bool keepRed)
{
    const bool keep[3] = {keepBlue, keepGreen, keepRed};
    return EachPixel(source, [&keep](unsigned char *pixel, int) {
        for (int i = 0; i < 3; ++i)
            if (!keep[i]) pixel[i] = 0;
    });
}

BgrImage Brightened(const BgrImage &source, int brightness)
{
    if (brightness == 0) return source;
    return EachPixel(source, [brightness](unsigned char *pixel, int) {
        for (int i = 0; i < 3; ++i)
            pixel[i] = Clamped(pixel[i] + brightness);
    });
}

BgrImage Dithered(const BgrImage &source)
{
    return EachPixel(source, [](unsigned char *pixel, int x) {
        if (x % 2 == 1) std::fill_n(pixel, 3, 0);
    });
}
