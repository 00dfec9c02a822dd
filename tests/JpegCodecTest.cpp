#include "MemoryLimit.h"
#include "TempFiles.h"
#include "imaging/JpegCodec.h"

#include <QImageWriter>
#include <gmock/gmock.h>

#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

// Mean difference of the colour bytes of two pictures of one size.
double MeanDifference(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return a.isNull() ? 0 : sum / (3.0 * a.width() * a.height());
}

// Tiles of `tile` pixels, with blue, green and red each distinct.
BgrImage Tiles(int width, int height, int tile)
{
    BgrImage image = MakeBgrImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char *pixel = image.Row(y) + x * 3;
            pixel[0] = (x / tile) % 2 ? 30 : 200;
            pixel[1] = (y / tile) % 2 ? 180 : 40;
            pixel[2] = 120;
        }
    return image;
}

// The JPEG file with its frame header claiming another size.
std::string ClaimingSize(std::string jpeg, int width, int height)
{
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == '\xFF' && (jpeg[i + 1] == '\xC0' || jpeg[i + 1] == '\xC2')) {
            // Marker, length (2 bytes), precision (1), height (2), width (2).
            const char size[] = {char(height >> 8), char(height), char(width >> 8), char(width)};
            jpeg.replace(i + 5, 4, size, 4);
            break;
        }
    return jpeg;
}

// Whether the editor's decoding and the thumbnail's both open the file; refusals go to stderr.
bool Opens(const std::string &path)
{
    try {
        DecodeJpegFile(path);
    } catch (const std::runtime_error &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return false;
    }
    return !LoadJpegImage(path, QSize(394, 94)).isNull();
}

} // namespace

TEST(JpegCodec, RoundTripKeepsSizeAndColoursInBlueGreenRedOrderAndGrayExpandsToThreeBytes)
{
    TempFolder folder;
    const BgrImage original = Tiles(37, 21, 16);
    const std::string file = folder.Path("q.jpg");
    EncodeJpegFile(original, file);
    for (const QImage &decoded : {ToQImage(DecodeJpegFile(file)), LoadJpegImage(file)}) {
        ASSERT_EQ(decoded.size(), QSize(37, 21));
        EXPECT_LT(MeanDifference(decoded, ToQImage(original)), 5.0);
    }

    // Qt's encoder stores a grayscale picture as one channel.
    QImage gray(16, 8, QImage::Format_Grayscale8);
    gray.fill(90);
    ASSERT_TRUE(gray.save(QString::fromStdString(folder.Path("g.jpg")), "JPG", 100));
    const BgrImage grayDecoded = DecodeJpegFile(folder.Path("g.jpg"));
    ASSERT_EQ(grayDecoded.pixels.size(), 16u * 8u * 3u);
    EXPECT_THAT(grayDecoded.pixels, testing::Each(testing::AllOf(testing::Ge(88), testing::Le(92))));
}

TEST(JpegCodec, ThumbnailsAreScaledOnceFromTheWholePicture)
{
    TempFolder folder;
    const struct {
        QSize picture, space, thumbnail;
    } cases[] = {
        {{1600, 1200}, {394, 94}, {125, 94}},
        {{760, 190}, {194, 44}, {176, 44}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.picture.width());
        EncodeJpegFile(Tiles(c.picture.width(), c.picture.height(), 40), folder.Path("c.jpg"));
        const QImage thumbnail = LoadJpegImage(folder.Path("c.jpg"), c.space);
        ASSERT_EQ(thumbnail.size(), c.thumbnail);
        const QImage whole = LoadJpegImage(folder.Path("c.jpg"));
        EXPECT_LT(MeanDifference(thumbnail, whole.scaled(c.thumbnail, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)), 2.0);
    }
}

// Pictures over the cap are refused from their header, before any large
// allocation; a 50-megapixel photograph still opens.
TEST(JpegCodecDeathTest, OversizedPicturesFailCleanlyWithinAMemoryBound)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempFolder folder;
    EncodeJpegFile(Tiles(32, 32, 16), folder.Path("baseline.jpg"));
    QImageWriter writer(QString::fromStdString(folder.Path("progressive.jpg")), "jpeg");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(ToQImage(Tiles(32, 32, 16))));
    const struct {
        const char *name, *source;
        int width, height;
        bool opens;
    } cases[] = {
        {"progressive_bomb.jpg", "progressive.jpg", 64775, 65367, false},
        {"baseline_bomb.jpg", "baseline.jpg", 30000, 30000, false},
        {"camera.jpg", "baseline.jpg", 8688, 5792, true},
    };
    for (const auto &c : cases)
        folder.Write(c.name, ClaimingSize(folder.Read(c.source), c.width, c.height));
    EXPECT_EXIT(
        {
            LimitAddressSpaceGrowth(rlim_t{1} << 30);
            int wrong = 0;
            for (const auto &c : cases)
                wrong += Opens(folder.Path(c.name)) != c.opens;
            std::filesystem::remove_all(folder.Path());
            std::_Exit(wrong);
        },
        testing::ExitedWithCode(0), "too large to open");
}

TEST(JpegCodec, BadFilesRaiseReadableErrors)
{
    TempFolder folder;
    folder.Write("text.jpg", "this is no picture");
    EncodeJpegFile(Tiles(64, 64, 16), folder.Path("good.jpg"));
    folder.Write("cut.jpg", folder.Read("good.jpg").substr(0, 200));

    for (const char *name : {"text.jpg", "missing.jpg", "cut.jpg"}) {
        EXPECT_THAT(FailureText([&] { DecodeJpegFile(folder.Path(name)); }), testing::HasSubstr(name));
        EXPECT_TRUE(LoadJpegImage(folder.Path(name)).isNull()) << name;
    }
    EXPECT_THROW(EncodeJpegFile(Tiles(4, 4, 2), folder.Path("no/such/folder.jpg")), std::runtime_error);
    EXPECT_THROW(EncodeJpegFile(BgrImage{}, folder.Path("empty.jpg")), std::runtime_error);
    EXPECT_FALSE(folder.Exists("empty.jpg"));
}
