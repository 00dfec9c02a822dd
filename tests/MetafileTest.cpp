#include "MemoryLimit.h"
#include "MetafileWriter.h"
#include "TempFiles.h"
#include "imaging/MetafilePicture.h"
#include "imaging/ThumbnailViewer.h"
#include "imaging/metafile/MetafileProtocol.h"
#include "imaging/metafile/MetafileRender.h"

#include <QApplication>
#include <gmock/gmock.h>

#include <cstdlib>
#include <random>
#include <unistd.h>

using namespace metafile_writer;

namespace {

QPixmap Thumbnail(const ThumbnailViewer &viewer, const std::string &name)
{
    const auto &files = viewer.Files();
    const auto found = std::find(files.begin(), files.end(), name);
    if (found == files.end()) return {};
    return viewer.item(int(found - files.begin()))->data(Qt::DecorationRole).value<QPixmap>();
}

// Red on the left half, blue in the middle of the right half, nothing in
// the corners of the right half (outside the ellipse).
void ExpectRedAndBlue(const QImage &picture, const std::string &name)
{
    const int w = picture.width(), h = picture.height();
    EXPECT_EQ(picture.pixel(w / 4, h / 2), qRgb(255, 0, 0)) << name;
    EXPECT_EQ(picture.pixel(w / 4, 1), qRgb(255, 0, 0)) << name;
    EXPECT_EQ(picture.pixel(3 * w / 4, h / 2), qRgb(0, 0, 255)) << name;
    EXPECT_EQ(qAlpha(picture.pixel(w - 1, 0)), 0) << name;
    EXPECT_EQ(qAlpha(picture.pixel(w - 1, h - 1)), 0) << name;
}

}  // namespace

// (The frames of the test pictures show in the sizes of their thumbnails below.)
TEST(MetafileFrameTest, TheFrameComesFromTheHeaderOrTheWindowRecords)
{
    EXPECT_EQ(WmfFrame(Wmf(2880, 1440, true, 1440).Bytes())->pixels, QSize(192, 96)) << "at 1440 units an inch";
    EXPECT_EQ(WmfFrame(Wmf(120, -80, false).Bytes())->pixels, QSize(120, 80));

    const std::string emf = RedAndBlue<Emf>(200, 100), wmf = RedAndBlue<Wmf>(200, 100, true);
    EXPECT_FALSE(WmfFrame(Wmf(0, 50, false).Bytes())) << "no width";
    EXPECT_FALSE(EmfFrame(Emf(0, 50).Bytes()));
    EXPECT_FALSE(WmfFrame(emf)) << "an enhanced metafile is no standard one";
    EXPECT_FALSE(EmfFrame(wmf));
    EXPECT_FALSE(EmfFrame(emf.substr(0, 80))) << "a header cut short";
}

// Both kinds, with and without a placeable header, at the three cell sizes:
// fitted into the cell less its padding, proportions kept, never enlarged,
// transparent where the metafile draws nothing; in the window centred in the cell.
TEST(MetafileThumbnailTest, MetafilesAreDrawnFittedIntoTheirCells)
{
    TempFolder folder;
    const char *names[] = {"enhanced.emf", "placeable.WMF", "standard.wmf", "small.emf", "tall.wmf"};
    const std::string files[] = {RedAndBlue<Emf>(200, 100), RedAndBlue<Wmf>(200, 100, true),
                                 RedAndBlue<Wmf>(200, 100, false), RedAndBlue<Emf>(40, 20),
                                 RedAndBlue<Wmf>(100, 400, false)};
    for (int n = 0; n < 5; ++n) folder.Write(names[n], files[n]);
    ThumbnailViewer viewer;
    viewer.SetFolder(folder.Path());
    viewer.Reload();
    const struct { QSize cell, wide, tall; } sizes[] = {
        {{200, 50}, {88, 44}, {11, 44}}, {{400, 100}, {188, 94}, {23, 94}}, {{800, 200}, {200, 100}, {48, 194}}};
    for (const auto &size : sizes) {
        viewer.SetCellSize(size.cell);
        const QSize expected[] = {size.wide, size.wide, size.wide, {40, 20}, size.tall};
        for (int n = 0; n < 5; ++n) {
            const QImage picture = Thumbnail(viewer, names[n]).toImage();
            ASSERT_EQ(picture.size(), expected[n]) << names[n] << " in " << size.cell.width();
            ExpectRedAndBlue(picture, names[n]);
        }
    }

    viewer.SetCellSize({400, 100});
    viewer.resize(420, 600);
    viewer.show();
    QApplication::processEvents();
    const QImage shown = viewer.viewport()->grab().toImage();
    const QRect cell = viewer.visualItemRect(viewer.item(0));  // enhanced.emf
    const QColor ground = viewer.palette().color(QPalette::Base);
    EXPECT_EQ(shown.pixelColor(cell.center() - QPoint(94 - 10, 47 - 10)), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(cell.center() + QPoint(47, -20)), QColor(Qt::blue));
    EXPECT_EQ(shown.pixelColor(cell.center() + QPoint(92, -45)), ground) << "outside the ellipse";
    EXPECT_EQ(shown.pixelColor(cell.center() - QPoint(100, 0)), ground) << "beside the picture";
}

// Each file that is broken, hostile or too large costs its own cell only;
// the viewer lives on within a memory bound, a hang costs its time limit and
// no more (the alarm ends the test otherwise), and the other files are drawn.
TEST(MetafileThumbnailDeathTest, HostileFilesCostOnlyTheirOwnCell)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string emf = RedAndBlue<Emf>(200, 100), wmf = RedAndBlue<Wmf>(200, 100, false);
    const auto patched = [](std::string bytes, std::size_t at, std::int64_t value) {
        return bytes.replace(at, 4, Fields(4, {value}));
    };
    std::minstd_rand random(17);
    std::string noise(4096, '\0');
    for (char &c : noise) c = static_cast<char>(random());
    const QSize drawn(188, 94), none(0, 0);
    const struct { const char *name; std::string bytes; QSize size; } files[] = {
        {"good.emf", emf, drawn}, {"good.wmf", wmf, drawn},
        {"cut.emf", emf.substr(0, Emf::kHeaderSize + 30), none}, {"cut.wmf", wmf.substr(0, wmf.size() / 2), none},
        {"billions.emf", patched(emf, 52, 0x80000000), drawn},  // 2^31 records
        {"huge.emf", Emf(100000, 100000).Brush(kRed).Rectangle(0, 0, 50000, 100000).Bytes(), {94, 94}},
        // A record's size past the end.
        {"past_end.emf", patched(emf, Emf::kHeaderSize + 4, 0x7FFFFFF0), none},
        {"past_end.wmf", patched(wmf, 18, 0x7FFFFFF0), none},
        {"noise.wmf", noise, none},
        {"at_cap.emf", emf + std::string(kMetafileFileCap - emf.size(), '\0'), drawn},
        {"over_cap.emf", emf + std::string(kMetafileFileCap + 1 - emf.size(), '\0'), none},
        {"crash.emf", "crash", none}, {"hang.wmf", "hang", none},
        // libwmf takes 3 GiB for a record this large: beyond the helper's limit.
        {"huge_record.wmf", patched(wmf, 12, 0x60000000), none},
        {"zz.emf", emf, drawn},  // after the failures, by a new helper
    };
    TempFolder folder;
    for (const auto &file : files) folder.Write(file.name, file.bytes);
    EXPECT_EXIT(
        {
            // Faults act only in helpers started from here on.
            setenv("QUORLIN_METAFILE_FAULTS", "1", 1);
            EndMetafileHelper();
            alarm(30);
            LimitAddressSpaceGrowth(rlim_t{1} << 30);
            ThumbnailViewer viewer;
            viewer.SetFolder(folder.Path());
            viewer.Reload();
            std::string wrong = viewer.count() == int(std::size(files)) ? "" : "the count; ";
            for (const auto &file : files)
                if (Thumbnail(viewer, file.name).size() != file.size) wrong += file.name + std::string("; ");
            std::fputs(wrong.c_str(), stderr);
            std::_Exit(!wrong.empty());
        },
        testing::ExitedWithCode(0), "");
    // The bound above passes on to the helpers started under it; here only the helper's own holds.
    EXPECT_TRUE(LoadMetafilePicture(folder.Path("huge_record.wmf"), {188, 94}).isNull()) << "over the helper's limit";
}
