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

TEST(MetafileFrameTest, TheFrameComesFromTheHeaderOrTheWindowRecords)
{
    EXPECT_EQ(EmfFrame(RedAndBlueEmf(200, 100))->pixels, QSize(200, 100));
    EXPECT_EQ(WmfFrame(RedAndBlueWmf(true, 200, 100))->pixels, QSize(200, 100));
    EXPECT_EQ(WmfFrame(RedAndBlueWmf(false, 300, 40))->pixels, QSize(300, 40)) << "the window without a placeable header";

    EXPECT_EQ(WmfFrame(Wmf(2880, 1440, true, 1440).Bytes())->pixels, QSize(192, 96)) << "at 1440 units an inch";
    EXPECT_EQ(WmfFrame(Wmf(120, -80, false).Bytes())->pixels, QSize(120, 80));

    EXPECT_FALSE(WmfFrame(Wmf(0, 50, false).Bytes())) << "no width";
    EXPECT_FALSE(EmfFrame(Emf(0, 50).Bytes()));
    EXPECT_FALSE(WmfFrame(RedAndBlueEmf())) << "an enhanced metafile is no standard one";
    EXPECT_FALSE(EmfFrame(RedAndBlueWmf(true)));
    EXPECT_FALSE(EmfFrame(RedAndBlueEmf().substr(0, 80))) << "a header cut short";
}

// Both kinds, with and without a placeable header, at the three cell sizes:
// fitted into the cell less its padding, proportions kept, never enlarged,
// transparent where the metafile draws nothing.
TEST(MetafileThumbnailTest, MetafilesAreDrawnFittedIntoTheirCells)
{
    TempFolder folder;
    folder.Write("enhanced.emf", RedAndBlueEmf());
    folder.Write("placeable.WMF", RedAndBlueWmf(true));
    folder.Write("standard.wmf", RedAndBlueWmf(false));
    folder.Write("small.emf", RedAndBlueEmf(40, 20));
    folder.Write("tall.wmf", RedAndBlueWmf(false, 100, 400));
    ThumbnailViewer viewer;
    viewer.SetFolder(folder.Path());
    viewer.Reload();
    const struct {
        QSize cell, wide, tall;
    } sizes[] = {{{200, 50}, {88, 44}, {11, 44}}, {{400, 100}, {188, 94}, {23, 94}}, {{800, 200}, {200, 100}, {48, 194}}};
    for (const auto &size : sizes) {
        viewer.SetCellSize(size.cell);
        for (const char *name : {"enhanced.emf", "placeable.WMF", "standard.wmf"}) {
            const QImage picture = Thumbnail(viewer, name).toImage();
            ASSERT_EQ(picture.size(), size.wide) << name << " in " << size.cell.width();
            ExpectRedAndBlue(picture, name);
        }
        EXPECT_EQ(Thumbnail(viewer, "small.emf").size(), QSize(40, 20)) << "never enlarged";
        EXPECT_EQ(Thumbnail(viewer, "tall.wmf").size(), size.tall);
    }
    ExpectRedAndBlue(Thumbnail(viewer, "small.emf").toImage(), "small.emf");

    // In the window: the picture centred in its cell, the viewer's own ground around it.
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
    const std::string emf = RedAndBlueEmf(), wmf = RedAndBlueWmf(false);
    const std::string pastTheEnd("\xF0\xFF\xFF\x7F", 4);
    std::minstd_rand random(17);
    std::string noise(4096, '\0');
    for (char &c : noise) c = static_cast<char>(random());
    const struct {
        const char *name;
        std::string bytes;
        bool drawn;
    } files[] = {
        {"good.emf", emf, true},
        {"good.wmf", wmf, true},
        {"cut.emf", emf.substr(0, Emf::kHeaderSize + 30), false},
        {"cut.wmf", wmf.substr(0, wmf.size() / 2), false},
        {"billions.emf", std::string(emf).replace(52, 4, std::string("\0\0\0\x80", 4)), true},  // 2^31 records
        {"huge.emf", Emf(100000, 100000).Brush(kRed).Rectangle(0, 0, 50000, 100000).Bytes(), true},
        {"past_end.emf", std::string(emf).replace(Emf::kHeaderSize + 4, 4, pastTheEnd), false},  // a record's size
        {"past_end.wmf", std::string(wmf).replace(18, 4, pastTheEnd), false},
        {"noise.wmf", noise, false},
        {"at_cap.emf", emf + std::string(kMetafileFileCap - emf.size(), '\0'), true},
        {"over_cap.emf", emf + std::string(kMetafileFileCap + 1 - emf.size(), '\0'), false},
        {"crash.emf", "crash", false},
        {"hang.wmf", "hang", false},
        // libwmf takes 3 GiB for a record this large: beyond the helper's limit.
        {"huge_record.wmf", std::string(wmf).replace(12, 4, std::string("\0\0\0\x60", 4)), false},
        {"zz.emf", emf, true},
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
            int wrong = viewer.count() != int(std::size(files));
            for (const auto &file : files)
                if (Thumbnail(viewer, file.name).isNull() == file.drawn) {
                    std::fprintf(stderr, "%s\n", file.name);
                    ++wrong;
                }
            wrong += Thumbnail(viewer, "huge.emf").size() != QSize(94, 94);
            std::_Exit(wrong);
        },
        testing::ExitedWithCode(0), "");
}
