#include "imaging/PixelFilters.h"

#include <algorithm>
#include <cstring>

namespace {

// A picture of the source's size in the buffer's memory, or in new memory
// when the buffer's size differs.
BgrImage SizedLike(const BgrImage &source, BgrImage buffer)
{
    if (buffer.pixels.size() != source.pixels.size()) buffer.pixels = std::vector<unsigned char>(source.pixels.size());
    buffer.width = source.width;
    buffer.height = source.height;
    return buffer;
}

// Runs `change` on each pixel (three bytes: blue, green, red) of the source,
// writing the changed pixel into the result.
template <typename Change> BgrImage EachPixel(const BgrImage &source, BgrImage buffer, Change change)
{
    BgrImage result = SizedLike(source, std::move(buffer));
    for (int y = 0; y < source.height; ++y) {
        const unsigned char *from = source.Row(y);
        unsigned char *to = result.Row(y);
        for (int x = 0; x < source.width; ++x, from += 3, to += 3)
            change(from, to, x);
    }
    return result;
}

unsigned char Clamped(int value) { return static_cast<unsigned char>(std::clamp(value, 0, 255)); }

} // namespace

BgrImage Flipped(const BgrImage &source, bool vertical, bool horizontal, BgrImage buffer)
{
    BgrImage result = SizedLike(source, std::move(buffer));
    for (int y = 0; y < source.height; ++y) {
        const unsigned char *from = source.Row(vertical ? source.height - 1 - y : y);
        unsigned char *to = result.Row(y);
        for (int x = 0; x < source.width; ++x)
            std::memcpy(to + 3 * x, from + 3 * (horizontal ? source.width - 1 - x : x), 3);
    }
    return result;
}

BgrImage Inverted(const BgrImage &source, BgrImage buffer)
{
    return EachPixel(source, std::move(buffer), [](const unsigned char *from, unsigned char *to, int) {
        for (int i = 0; i < 3; ++i)
            to[i] = static_cast<unsigned char>(255 - from[i]);
    });
}

BgrImage Grayscaled(const BgrImage &source, BgrImage buffer)
{
    return EachPixel(source, std::move(buffer), [](const unsigned char *from, unsigned char *to, int) {
        std::fill_n(to, 3, static_cast<unsigned char>((from[0] + from[1] + from[2]) / 3));
    });
}

BgrImage MaskedAndBrightened(const BgrImage &source, Channels keep, int brightness, BgrImage buffer)
{
    // What each byte becomes, by channel and value.
    const bool kept[3] = {keep.blue, keep.green, keep.red};
    unsigned char becomes[3][256];
    for (int channel = 0; channel < 3; ++channel)
        for (int value = 0; value < 256; ++value)
            becomes[channel][value] = Clamped((kept[channel] ? value : 0) + brightness);
    return EachPixel(source, std::move(buffer), [&becomes](const unsigned char *from, unsigned char *to, int) {
        for (int i = 0; i < 3; ++i)
            to[i] = becomes[i][from[i]];
    });
}
