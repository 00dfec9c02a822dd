#include "imaging/JpegCodec.h"

#include "ImageCompare.h"
#include "TempFiles.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A picture with a distinct colour in each quadrant.
BgrImage Quadrants(int width, int height)
{
    BgrImage image = MakeBgrImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char *pixel = image.Row(y) + x * 3;
            pixel[0] = x < 16 ? 200 : 30;  // blue
            pixel[1] = y < 16 ? 40 : 180; // green
            pixel[2] = 120;                // red
        }
    return image;
}

} // namespace

TEST(JpegCodec, RoundTripKeepsSizeAndColoursInBlueGreenRedOrder)
{
    TempFolder folder;
    const BgrImage original = Quadrants(37, 21);
    EncodeJpegFile(original, folder.Path("q.jpg"));
    const BgrImage decoded = DecodeJpegFile(folder.Path("q.jpg"));
    ASSERT_EQ(decoded.width, 37);
    ASSERT_EQ(decoded.height, 21);
    EXPECT_LT(MeanDifference(original, decoded), 5.0);

    const QImage shown = LoadJpegImage(folder.Path("q.jpg"));
    ASSERT_EQ(shown.size(), QSize(37, 21));
    const QColor topLeft = shown.pixelColor(2, 2);
    EXPECT_NEAR(topLeft.blue(), 200, 12);
    EXPECT_NEAR(topLeft.green(), 40, 12);
    EXPECT_NEAR(topLeft.red(), 120, 12);
}

TEST(JpegCodec, GrayscaleFileExpandsToThreeEqualBytes)
{
    // A grayscale JPEG written through Qt's own encoder, which stores one channel.
    TempFolder folder;
    QImage gray(16, 8, QImage::Format_Grayscale8);
    gray.fill(90);
    ASSERT_TRUE(gray.save(QString::fromStdString(folder.Path("g.jpg")), "JPG", 100));
    const BgrImage decoded = DecodeJpegFile(folder.Path("g.jpg"));
    ASSERT_EQ(decoded.pixels.size(), 16u * 8u * 3u);
    for (std::size_t i = 0; i < decoded.pixels.size(); i += 3) {
        EXPECT_EQ(decoded.pixels[i], decoded.pixels[i + 1]);
        EXPECT_EQ(decoded.pixels[i], decoded.pixels[i + 2]);
        EXPECT_NEAR(decoded.pixels[i], 90, 2);
    }
}

TEST(JpegCodec, BadFilesRaiseReadableErrors)
{
    TempFolder folder;
    folder.Write("text.jpg", "this is no picture");
    EncodeJpegFile(Quadrants(64, 64), folder.Path("good.jpg"));
    folder.Write("cut.jpg", folder.Read("good.jpg").substr(0, 200));

    for (const char *name : {"text.jpg", "missing.jpg", "cut.jpg"}) {
        SCOPED_TRACE(name);
        try {
            DecodeJpegFile(folder.Path(name));
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error &error) {
            EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
        }
        EXPECT_TRUE(LoadJpegImage(folder.Path(name)).isNull());
    }
    EXPECT_THROW(EncodeJpegFile(Quadrants(4, 4), folder.Path("no/such/folder.jpg")), std::runtime_error);
    EXPECT_THROW(EncodeJpegFile(BgrImage{}, folder.Path("empty.jpg")), std::runtime_error);
    EXPECT_FALSE(folder.Exists("empty.jpg"));
}
