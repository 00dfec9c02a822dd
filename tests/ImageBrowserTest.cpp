#include "MemoryLimit.h"
#include "TemplateFixture.h"
#include "WhileShown.h"

#include "app/Windows.h"
#include "imaging/JpegCodec.h"
#include "imaging/TForm5.h"
#include "imaging/ThumbnailViewer.h"
#include "ui_TForm5.h"

#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QThreadPool>

#include <cstdlib>
#include <set>
#include <utility>

namespace {

class ImageBrowserTest : public TemplateFixture {
protected:
    void SetUp() override
    {
        InstallSample("meadowlark");
        OpenShown("meadowlark");
        Form5 = new TForm5(&Window());
    }
    ~ImageBrowserTest() override { Form5 = nullptr; }

    ThumbnailViewer *Viewer() { return Form5->Viewer(); }
    std::string Logo() { return Window().ImageTable().rows[0].fileName; }

    // Presses "Select"; `act` runs while the browser is shown and must close
    // it. Returns whether the browser was shown.
    bool Browse(const std::function<void()> &act)
    {
        const auto pending = WhileShown(Form5, act);
        ui()->BitBtn22->click();
        return pending->Done();
    }
    void Choose(int position) { Viewer()->SetPosition(position), Form5->Ui()->BitBtn2->click(); }
};

// Freed memory that the address sanitizer holds back before reusing it.
#if defined(__SANITIZE_ADDRESS__)
constexpr rlim_t kSanitizerQuarantine = rlim_t{320} << 20;
#else
constexpr rlim_t kSanitizerQuarantine = 0;
#endif

// A viewer of the browser's width on `folder`, shown.
void ShowOn(ThumbnailViewer &viewer, const std::string &folder)
{
    viewer.resize(820, 560);
    viewer.SetFolder(folder);
    viewer.Reload();
    viewer.show();
    QCoreApplication::processEvents();
}

}  // namespace

TEST_F(ImageBrowserTest, OpensOnTheCurrentPictureOkHandsTheChoiceBackByNameAndCancelWritesNothing)
{
    EXPECT_FALSE(Browse([&] { Form5->reject(); })) << "no title selected";
    for (const char *extra : {"notes.txt", "Thumbs.db", "Zebra.BMP", "sketch.png", "old.jpg/inner.jpg"})
        WriteTemplateFile("meadowlark", std::string("images/logo/") + extra, "x");
    ClickRow(ui()->ListBox6, 0);
    EXPECT_TRUE(Browse([&] {
        EXPECT_EQ(Viewer()->Files(), (std::vector<std::string>{"house.jpg", "leaf.jpg", "sun.jpg", "Zebra.BMP"}));
        EXPECT_EQ(Viewer()->Position(), 1) << "the row's current file, leaf.jpg";
        const QPixmap thumbnail = Viewer()->item(0)->data(Qt::DecorationRole).value<QPixmap>();
        EXPECT_EQ(thumbnail.size(), QSize(64, 64)) << "small pictures are never enlarged";
        Choose(3);
    }));
    EXPECT_EQ(Logo(), "Zebra.BMP");
    EXPECT_EQ(ui()->ListBox7->currentItem()->text(), "Zebra.BMP");
    EXPECT_TRUE(PreviewContains("images/logo/Zebra.BMP"));

    ForgetPreview();
    Browse([&] { Form5->Ui()->BitBtn2->click(); });
    EXPECT_EQ(Logo(), "Zebra.BMP") << "OK untouched hands the same file back";
    EXPECT_TRUE(Rebuilt());

    Browse([&] {
        QTest::mouseDClick(Viewer()->viewport(), Qt::LeftButton, {}, Viewer()->visualItemRect(Viewer()->item(0)).center());
    });
    EXPECT_EQ(Logo(), "house.jpg") << "a double-click is OK";

    ForgetPreview();
    Browse([&] { Form5->Ui()->ComboBox1->setCurrentIndex(0), Viewer()->SetPosition(2), Form5->Ui()->BitBtn1->click(); });
    Browse([&] { Choose(-1); });
    EXPECT_EQ(Logo(), "house.jpg");
    EXPECT_FALSE(Rebuilt());
    EXPECT_EQ(Viewer()->CellSize(), QSize(200, 50)) << "the size chosen stays, even when cancelled";
}

TEST(ThumbnailViewerTest, PicturesLinkedFromOutsideTheFolderAreNotShown)
{
    TempFolder temp;
    temp.Write("outside/secret.jpg", "x");
    temp.Write("images/own.jpg", "x");
    std::filesystem::create_symlink(temp.Path("outside/secret.jpg"), temp.Path("images/leak.jpg"));
    std::filesystem::create_symlink("own.jpg", temp.Path("images/alias.jpg"));
    ThumbnailViewer viewer;
    viewer.SetFolder(temp.Path("images"));
    viewer.Reload();
    EXPECT_EQ(viewer.Files(), (std::vector<std::string>{"alias.jpg", "own.jpg"}));
}

TEST(ThumbnailViewerTest, PicturesAreSortedWhateverOrderTheFolderListsThemIn)
{
    // tmpfs lists a folder newest first, other file systems in creation or
    // hash order: the files are made in an order that is none of these sorted.
    const QTemporaryDir temp(QFileInfo("/dev/shm").isWritable() ? "/dev/shm/quorlin-XXXXXX"
                                                                 : QDir::tempPath() + "/quorlin-XXXXXX");
    const std::vector<std::string> sorted{"Anchor.jpg", "bay10.jpg",   "bay9.jpg",    "Cliff.ICO", "dune.bmp",  "Estuary.jpeg",
                                          "fjord.jpg",  "Glacier.JPG", "harbour.emf", "isle.wmf",  "Jetty.jpg", "kelp.bmp"};
    for (const int index : {5, 0, 9, 2, 11, 7, 1, 10, 4, 8, 3, 6})
        std::ofstream(temp.filePath(QString::fromStdString(sorted[index])).toStdString()) << "x";
    ThumbnailViewer viewer;
    ShowOn(viewer, temp.path().toStdString() + "/");
    EXPECT_EQ(viewer.Files(), sorted);
}

TEST(ThumbnailViewerTest, OnlyTheCellsInViewAreReadAsTheyAreDrawn)
{
    TempFolder temp;
    for (int n = 1000; n < 2000; ++n) temp.Write("images/p" + std::to_string(n) + ".jpg", "");
    std::set<std::pair<int, int>> reads;  // row, cell width
    ThumbnailViewer viewer([&](const std::string &path, QSize space) {
        reads.emplace(std::stoi(path.substr(path.rfind('/') + 2)) - 1000, space.width() + 2 * ThumbnailViewer::kPadding);
        return QImage(space, QImage::Format_RGB32);
    });
    // Draws; checks that just the cells in view were read, at `width` (none if `kept`); returns them.
    const auto expectInViewReadAsDrawn = [&](int width, bool kept = false) {
        viewer.viewport()->grab();
        std::set<std::pair<int, int>> inView;
        for (int row = 0; row < viewer.count(); ++row)
            if (viewer.visualItemRect(viewer.item(row)).intersects(viewer.viewport()->rect()))
                inView.emplace(row, width);
        EXPECT_EQ(reads, kept ? decltype(reads){} : inView);
        reads.clear();
        return inView;
    };
    ShowOn(viewer, temp.Path("images"));
    const std::size_t firstScreen = expectInViewReadAsDrawn(400).size();
    ASSERT_TRUE(firstScreen > 4 && firstScreen < 20) << firstScreen;
    viewer.ScrollToPosition(999);
    EXPECT_TRUE(expectInViewReadAsDrawn(400).contains({999, 400}));
    viewer.SetCellSize({800, 200});
    expectInViewReadAsDrawn(800);
    viewer.ScrollToPosition(0);
    viewer.SetCellSize({400, 100});
    expectInViewReadAsDrawn(400, true);
    viewer.Reload();  // the files may have changed since
    viewer.ScrollToPosition(0);
    expectInViewReadAsDrawn(400);
}

// 2000 pictures of 800 x 200 (thumbnails of 140 KB to 600 KB each), scrolled
// through at every size in a child process whose address space may grow by
// 192 MiB only: every cell shows its picture.
TEST(ThumbnailViewerDeathTest, ALargeFolderIsDrawnAtEverySizeWithinAMemoryBound)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempFolder temp;
    BgrImage orange = MakeBgrImage(800, 200);
    for (std::size_t at = 0; at < orange.pixels.size(); at += 3) orange.pixels[at + 1] = 160, orange.pixels[at + 2] = 240;
    EncodeJpegFile(orange, temp.Path("one.jpg"));
    std::filesystem::create_directory(temp.Path("images"));
    for (int n = 0; n < 2000; ++n)
        std::filesystem::create_hard_link(temp.Path("one.jpg"), temp.Path("images/" + std::to_string(n) + ".jpg"));
    const QSize cells[] = {{200, 50}, {400, 100}, {800, 200}};
    EXPECT_EXIT(
        {
            // Fonts, styles and the scaler's one worker thread (each reserves an
            // arena of 64 MiB of address space) come before the bound.
            QThreadPool::globalInstance()->setMaxThreadCount(1);
            ThumbnailViewer viewer;
            ShowOn(viewer, temp.Path());
            for (const QSize cell : cells) { viewer.SetCellSize(cell); viewer.viewport()->grab(); }
            LimitAddressSpaceGrowth((rlim_t{192} << 20) + kSanitizerQuarantine);
            viewer.SetFolder(temp.Path("images"));
            viewer.Reload();
            int missing = 0;
            for (const QSize cell : cells) {
                viewer.SetCellSize(cell);
                QImage shown;
                for (int row = 0, top = -1; row < viewer.count(); ++row) {
                    viewer.ScrollToPosition(row);
                    const int scrolled = viewer.verticalScrollBar()->value();
                    if (std::exchange(top, scrolled) != scrolled) shown = viewer.viewport()->grab().toImage();
                    const QColor colour = shown.pixelColor(viewer.visualItemRect(viewer.item(row)).center());
                    missing += std::abs(colour.red() - 240) >= 12 || std::abs(colour.green() - 160) >= 12 ||
                               colour.blue() >= 12;
                }
            }
            std::_Exit(missing);
        },
        testing::ExitedWithCode(0), "");
}
