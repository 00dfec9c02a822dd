#include "TemplateFixture.h"
#include "WhileShown.h"

#include "app/Windows.h"
#include "imaging/TForm5.h"
#include "imaging/ThumbnailViewer.h"
#include "ui_TForm5.h"

#include <QDir>
#include <QFileInfo>

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
    const bool shm = QFileInfo(QStringLiteral("/dev/shm")).isWritable();
    const QTemporaryDir temp(shm ? QStringLiteral("/dev/shm/quorlin-XXXXXX") : QDir::tempPath() + "/quorlin-XXXXXX");
    ASSERT_TRUE(temp.isValid());
    const std::vector<std::string> sorted{"Anchor.jpg", "bay10.jpg",   "bay9.jpg",    "Cliff.ICO", "dune.bmp",  "Estuary.jpeg",
                                          "fjord.jpg",  "Glacier.JPG", "harbour.emf", "isle.wmf",  "Jetty.jpg", "kelp.bmp"};
    for (const int index : {5, 0, 9, 2, 11, 7, 1, 10, 4, 8, 3, 6})
        std::ofstream(temp.filePath(QString::fromStdString(sorted[index])).toStdString()) << "x";
    ThumbnailViewer viewer;
    viewer.SetFolder(temp.path().toStdString() + "/");
    viewer.Reload();
    EXPECT_EQ(viewer.Files(), sorted);
}
