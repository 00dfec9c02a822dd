#include "ControlsFixture.h"

#include "app/Windows.h"
#include "imaging/TForm5.h"
#include "imaging/ThumbnailViewer.h"
#include "ui_TForm5.h"

#include <QTimer>

#include <functional>

namespace {

class ImageBrowserTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        InstallSample("meadowlark");
        OpenShown("meadowlark");
        Form5 = new TForm5(&Window());
    }
    ~ImageBrowserTest() override { Form5 = nullptr; }

    Ui::TForm1 *ui() { return Window().Ui(); }
    ThumbnailViewer *Viewer() { return Form5->Viewer(); }
    const ImageRow &Logo() { return Window().ImageTable().rows[0]; }

    // Presses "Select"; `act` runs while the browser is shown and must close it.
    // Returns whether the browser was shown.
    bool Browse(const std::function<void()> &act)
    {
        bool shown = false;
        QTimer::singleShot(0, Form5, [&] {
            shown = Form5->isVisible();
            act();
        });
        ui()->BitBtn22->click();
        QApplication::processEvents();
        return shown;
    }
    void Choose(int position)
    {
        Viewer()->SetPosition(position);
        Form5->Ui()->BitBtn2->click();
    }
    static QString Selected(const QListWidget *list)
    {
        return list->currentItem() && list->currentItem()->isSelected() ? list->currentItem()->text() : "<none>";
    }
};

}  // namespace

TEST_F(ImageBrowserTest, OpensOnTheCurrentFileAndOkHandsTheChoiceBack)
{
    ClickRow(ui()->ListBox6, 0);
    std::vector<std::string> files;
    int opened = -2;
    EXPECT_TRUE(Browse([&] {
        files = Viewer()->Files();
        opened = Viewer()->Position();
        Choose(2);
    }));
    EXPECT_EQ(files, (std::vector<std::string>{"house.jpg", "leaf.jpg", "sun.jpg"}));
    EXPECT_EQ(opened, 1) << "the row's current file, leaf.jpg";
    EXPECT_EQ(Logo().fileName, "sun.jpg");
    EXPECT_EQ(Selected(ui()->ListBox7), "sun.jpg");
    EXPECT_TRUE(PreviewContains("images/logo/sun.jpg"));

    ForgetPreview();
    Browse([&] { Form5->Ui()->BitBtn2->click(); });
    EXPECT_EQ(Logo().fileName, "sun.jpg") << "OK untouched hands the same file back";
    EXPECT_TRUE(Rebuilt());

    Browse([&] {
        const QRect cell = Viewer()->visualItemRect(Viewer()->item(0));
        QTest::mouseDClick(Viewer()->viewport(), Qt::LeftButton, {}, cell.center());
    });
    EXPECT_FALSE(Form5->isVisible());
    EXPECT_EQ(Logo().fileName, "house.jpg") << "a double-click is OK";
}

TEST_F(ImageBrowserTest, CancelOrNoSelectionWritesNothingAndTheSizeStays)
{
    ClickRow(ui()->ListBox6, 1);
    ForgetPreview();
    Browse([&] {
        Form5->Ui()->ComboBox1->setCurrentIndex(0);
        Viewer()->SetPosition(0);
        Form5->Ui()->BitBtn1->click();
    });
    Browse([&] { Choose(-1); });
    EXPECT_EQ(Window().ImageTable().rows[1].fileName, "meadow.jpg");
    EXPECT_FALSE(Rebuilt());
    EXPECT_EQ(Viewer()->CellSize(), QSize(200, 50));
    Browse([&] { Form5->Ui()->ComboBox1->setCurrentIndex(2), Form5->reject(); });
    EXPECT_EQ(Viewer()->CellSize(), QSize(800, 200));
    EXPECT_EQ(Form5->windowTitle(), "Image Browser");
}

TEST_F(ImageBrowserTest, WithoutTitleNothingOpens)
{
    EXPECT_FALSE(Browse([&] { Form5->reject(); }));
}

TEST_F(ImageBrowserTest, FoldersWithOtherEntriesHandOverByName)
{
    for (const char *extra : {"notes.txt", "Thumbs.db", "Zebra.BMP", "sketch.png", "old.jpg/inner.jpg"})
        WriteTemplateFile("meadowlark", std::string("images/logo/") + extra, "x");
    ClickRow(ui()->ListBox6, 0);
    EXPECT_EQ(Items(ui()->ListBox7),
              QStringList({"house.jpg", "leaf.jpg", "notes.txt", "old.jpg", "sketch.png", "sun.jpg", "Zebra.BMP"}));
    std::vector<std::string> files;
    Browse([&] {
        files = Viewer()->Files();
        Choose(3);
    });
    EXPECT_EQ(files, (std::vector<std::string>{"house.jpg", "leaf.jpg", "sun.jpg", "Zebra.BMP"}));
    EXPECT_EQ(Logo().fileName, "Zebra.BMP");
    EXPECT_EQ(Selected(ui()->ListBox7), "Zebra.BMP");

    int opened = -2;
    Browse([&] { opened = Viewer()->Position(), Form5->reject(); });
    EXPECT_EQ(opened, 3);
}

TEST(ThumbnailViewerTest, PicturesAreScaledDownProportionallyNeverUp)
{
    EXPECT_TRUE(ThumbnailViewer::IsPictureName("a.JPEG") && ThumbnailViewer::IsPictureName("b.wmf"));
    EXPECT_FALSE(ThumbnailViewer::IsPictureName("c.png") || ThumbnailViewer::IsPictureName("jpg"));
    EXPECT_EQ(FittedImage(QImage(1000, 100, QImage::Format_RGB32), QSize(394, 94)).size(), QSize(394, 39));
    EXPECT_EQ(FittedImage(QImage(100, 200, QImage::Format_RGB32), QSize(394, 94)).size(), QSize(47, 94));
    EXPECT_EQ(FittedImage(QImage(64, 64, QImage::Format_RGB32), QSize(394, 94)).size(), QSize(64, 64));
}
