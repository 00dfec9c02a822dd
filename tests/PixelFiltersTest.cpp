#include "imaging/ImagePanel.h"
#include "imaging/PixelFilters.h"

#include <gtest/gtest.h>

namespace {

// A 3 x 2 picture whose bytes are all different: pixel (x, y) holds
// 10*(3y+x)+1, +2, +3 for blue, green, red.
BgrImage Numbered()
{
    BgrImage image = MakeBgrImage(3, 2);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<unsigned char>(10 * (i / 3) + i % 3 + 1);
    return image;
}

std::vector<unsigned char> Pixel(const BgrImage &image, int x, int y)
{
    const unsigned char *p = image.Row(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

BgrImage OnePixel(unsigned char blue, unsigned char green, unsigned char red)
{
    BgrImage image = MakeBgrImage(1, 1);
    image.pixels = {blue, green, red};
    return image;
}

} // namespace

TEST(PixelFilters, FlipsMirrorExactlyInvertAndGrayscaleFollowTheirFormulas)
{
    const BgrImage image = Numbered();
    const BgrImage horizontal = Flipped(image, false, true);
    const BgrImage vertical = Flipped(image, true, false);
    const BgrImage both = Flipped(image, true, true);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(Pixel(horizontal, 2 - x, y), Pixel(image, x, y));
            EXPECT_EQ(Pixel(vertical, x, 1 - y), Pixel(image, x, y));
            EXPECT_EQ(Pixel(both, 2 - x, 1 - y), Pixel(image, x, y));
        }

    EXPECT_EQ(Inverted(OnePixel(0, 100, 255)), OnePixel(255, 155, 0));
    EXPECT_EQ(Inverted(Inverted(image)), image);
    EXPECT_EQ(Grayscaled(OnePixel(10, 20, 31)), OnePixel(20, 20, 20));
    EXPECT_EQ(Grayscaled(OnePixel(255, 255, 254)), OnePixel(254, 254, 254));
    EXPECT_EQ(Inverted(Flipped(BgrImage{}, true, true)), BgrImage{}) << "an empty picture stays empty";
}

TEST(PixelFilters, ChannelMaskThenBrightnessClampedAtBothEnds)
{
    const Channels all{true, true, true}, none{false, false, false};
    const struct {
        BgrImage source;
        Channels keep;
        int brightness;
        BgrImage view;
    } cases[] = {
        {OnePixel(10, 20, 30), all, 0, OnePixel(10, 20, 30)},
        {OnePixel(10, 20, 30), {false, true, true}, 0, OnePixel(0, 20, 30)},
        {OnePixel(10, 20, 30), {true, false, true}, 0, OnePixel(10, 0, 30)},
        {OnePixel(10, 20, 30), {true, true, false}, 0, OnePixel(10, 20, 0)},
        {OnePixel(10, 20, 30), none, 0, OnePixel(0, 0, 0)},
        {OnePixel(10, 20, 30), none, 100, OnePixel(100, 100, 100)},
        {OnePixel(0, 100, 250), all, 10, OnePixel(10, 110, 255)},
        {OnePixel(0, 100, 250), all, -101, OnePixel(0, 0, 149)},
        {OnePixel(0, 100, 250), all, 255, OnePixel(255, 255, 255)},
        {OnePixel(0, 100, 250), all, -255, OnePixel(0, 0, 0)},
        {BgrImage{}, all, 50, BgrImage{}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(MaskedAndBrightened(c.source, c.keep, c.brightness), c.view) << c.brightness;
        // Another picture's memory as the buffer changes nothing of the result.
        EXPECT_EQ(MaskedAndBrightened(c.source, c.keep, c.brightness, Numbered()), c.view) << c.brightness;
    }
}

TEST(PixelFilters, DitherPreviewShowsOddColumnsBlackAndChangesNothing)
{
    const BgrImage image = Numbered();
    ImagePanel panel;
    panel.resize(3, 2);
    panel.Show(image, true);
    const QImage shown = panel.grab().toImage();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const std::vector<unsigned char> p = Pixel(image, x, y);
            EXPECT_EQ(shown.pixel(x, y), x % 2 ? qRgb(0, 0, 0) : qRgb(p[2], p[1], p[0])) << x << "," << y;
        }
    EXPECT_EQ(image, Numbered());
}
