#include "TemplateFixture.h"
#include "WhileShown.h"
#include "app/Windows.h"
#include "imaging/ImageFileNames.h"
#include "imaging/ImagePanel.h"
#include "imaging/PixelFilters.h"
#include "imaging/TForm5.h"
#include "imaging/ThumbnailViewer.h"
#include "imaging/TForm10.h"
#include "imaging/TForm20.h"
#include "ui_TForm10.h"
#include "ui_TForm20.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <jpeglib.h>

namespace {

// Every step of a JPEG file's quantisation tables; quality 100 makes them all 1.
std::vector<int> QuantisationSteps(const std::string &jpeg)
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(jpeg.data()), jpeg.size());
    jpeg_read_header(&info, TRUE);
    std::vector<int> steps;
    for (const JQUANT_TBL *table : info.quant_tbl_ptrs)
        if (table) steps.insert(steps.end(), std::begin(table->quantval), std::end(table->quantval));
    jpeg_destroy_decompress(&info);
    return steps;
}

// The mean difference of two pictures' bytes; 255 when their sizes differ.
double MeanDifference(const BgrImage &a, const BgrImage &b)
{
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 255;
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) sum += std::abs(a.pixels[i] - b.pixels[i]);
    return sum / static_cast<double>(a.pixels.size());
}

// The meadowlark sample open in the main window, with the editor and its
// save-as dialog created as the program creates them.
class ImageEditorTest : public TemplateFixture {
protected:
    void SetUp() override
    {
        InstallSample("meadowlark");
        WriteTemplateFile("meadowlark", "images/logo/badge.png", "PNG");
        OpenShown("meadowlark");
        Form1 = &Window();
        Form10 = new TForm10(&Window());
        Form20 = new TForm20(&Window());
        Form5 = new TForm5(&Window());
    }
    void TearDown() override { Form1 = nullptr, Form10 = nullptr, Form20 = nullptr, Form5 = nullptr; }

    Ui::TForm10 *editor() { return Form10->Ui(); }

    void Choose(int row, const QString &file)
    {
        ClickRow(ui()->ListBox6, row);
        const auto items = ui()->ListBox7->findItems(file, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << file.toStdString();
        ClickRow(ui()->ListBox7, ui()->ListBox7->row(items.front()));
    }
    // Presses "Tweak"; `whileOpen` runs inside the editor's modal loop, which
    // is then left if it is still running. Returns whether the editor opened.
    bool Tweak(const std::function<void()> &whileOpen)
    {
        const auto pending = WhileShown(Form10, [whileOpen] {
            whileOpen();
            if (Form10->isVisible()) Form10->reject();
        });
        ui()->BitBtn18->click();
        return pending->Done();
    }
    void SaveAs(const QString &name)
    {
        Form20->FormShow();
        Form20->Ui()->LabeledEdit1->setText(name);
        Form20->BitBtn5Click();
    }
    std::string Photo(const std::string &name) { return folder.Path("templates/meadowlark/images/photos/" + name); }
};

} // namespace

TEST(EditorWindowSize, FollowsPictureWithinScreenAndMinimum)
{
    const QSize screen(1024, 768);
    EXPECT_EQ(EditorWindowSize({659, 219}, screen), QSize(690, 350));
    EXPECT_EQ(EditorWindowSize({700, 637}, screen).height(), 767);
    EXPECT_EQ(EditorWindowSize({700, 638}, screen).height(), 718);
    EXPECT_EQ(EditorWindowSize({993, 300}, screen).width(), 1023);
    EXPECT_EQ(EditorWindowSize({994, 300}, screen).width(), 994);
    EXPECT_EQ(EditorWindowSize({3000, 300}, screen).width(), 994);
}

TEST(ImageFileNames, SaveNamesAndCopyProposalsSkippingTakenFilesButNotFolders)
{
    EXPECT_EQ(JpegSaveName(""), ".jpg");
    EXPECT_EQ(JpegSaveName("a.b\\photo"), "a.b\\photo.jpg");
    EXPECT_EQ(JpegSaveName("a.b/photo.JpEg"), "a.b/photo.JpEg");
    EXPECT_EQ(JpegSaveName("logo.png"), "logo.jpg");

    TempFolder images;
    EXPECT_EQ(ProposedCopyName(images.Path(), "header.JPG"), "header_1.jpg");
    images.Write("header_1.jpg", "");
    std::filesystem::create_directory(images.Path("header_2.jpg"));
    EXPECT_EQ(ProposedCopyName(images.Path(), "header.JPG"), "header_2.jpg");
    EXPECT_EQ(ProposedCopyName(images.Path(), "header_1.jpg"), "header_1_1.jpg");
    EXPECT_EQ(ProposedCopyName(images.Path(), "noext"), "noext_1.jpg");
}

TEST(ImageFileNames, CopyProposalPassesEveryTakenNameInARow)
{
    TempFolder images;
    for (const char *taken : {"header_1.jpg", "HEADER_2.JPG", "header_4.jpg"}) images.Write(taken, "");
    EXPECT_EQ(ProposedCopyName(images.Path(), "header.jpg"), "header_3.jpg");
    images.Write("header_3.jpg", "");
    EXPECT_EQ(ProposedCopyName(images.Path(), "header.jpg"), "header_5.jpg");
}

TEST_F(ImageEditorTest, FiltersAndViewSettingsSaveNamesAndFailedLoadsInOneSession)
{
    // The photo (row "Welcome photo") loaded as "Tweak" loads it, without the modal loop.
    Choose(2, "garden.jpg");
    Form10->setWindowTitle("images/photos/garden.jpg");
    Form10->FormShow();
    Form10->BitBtn3Click();
    Form10->BitBtn2Click();
    Form10->BitBtn1Click();
    Form10->Grayscale1Click();
    const BgrImage edited = Grayscaled(Inverted(Flipped(DecodeJpegFile(Photo("garden.jpg")), true, true)));
    EXPECT_EQ(Form10->ViewImage(), edited);

    editor()->CheckBox1->click(); // blue off
    const unsigned char *view = Form10->ViewImage().pixels.data();
    editor()->ScrollBar1->setValue(-41);
    editor()->ScrollBar1->triggerAction(QScrollBar::SliderPageStepAdd); // a click on the trough
    EXPECT_EQ(Form10->BaseImage(), edited);
    EXPECT_EQ(Form10->ViewImage(), MaskedAndBrightened(edited, {false, true, true}, -40));
    EXPECT_EQ(editor()->Label3->text(), "-40");
    // Recomputing the view reuses its memory, and the panel draws it without a copy.
    EXPECT_EQ(Form10->ViewImage().pixels.data(), view);
    EXPECT_EQ(editor()->Panel2->Shown().constBits(), view);

    // Taken names and names leading out of the image folder are refused.
    const auto before = Items(ui()->ListBox7);
    for (const QString name : {"room.jpg", "Room.JPG", "../escape.jpg", "..\\escape.jpg"}) {
        SaveAs(name);
        EXPECT_EQ(Form20->Ui()->LabeledEdit1->selectedText(), name);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("templates/meadowlark/images/escape.jpg")));
    EXPECT_EQ(Items(ui()->ListBox7), before);
    EXPECT_NE(Form20->result(), QDialog::Accepted);
    SaveAs("my..photo.jpg");
    EXPECT_TRUE(std::filesystem::exists(Photo("my..photo.jpg")));

    // A file that cannot be loaded closes the editor with the reason; the picture stays.
    WriteTemplateFile("meadowlark", "images/photos/broken.jpg", "not a picture");
    for (const QString name : {"none.jpg", "broken.jpg"}) {
        Form10->setWindowTitle("images/photos/" + name);
        Form10->show();
        QCoreApplication::processEvents();
        EXPECT_FALSE(Form10->isVisible()) << name.toStdString();
        EXPECT_EQ(Form10->BaseImage(), edited);
    }
    const QString taken = "Such image already exists. Please, change the file name.";
    const QString leaves = "The name leads out of the image folder. Please, change the file name.";
    ASSERT_EQ(boxes.Texts().size(), 6);
    EXPECT_EQ(boxes.Texts().first(5), QStringList({taken, taken, leaves, leaves, "Error: cannot load image!"}));
    EXPECT_TRUE(boxes.Texts()[5].contains("broken.jpg: Not a JPEG file")) << boxes.Texts()[5].toStdString();
}

TEST_F(ImageEditorTest, SaveWritesTheViewWithItsChannelMaskAndBrightness)
{
    Choose(2, "garden.jpg");
    Form10->setWindowTitle("images/photos/garden.jpg");
    Form10->FormShow();
    editor()->CheckBox3->click(); // red off
    editor()->ScrollBar1->setValue(60);
    ASSERT_GT(MeanDifference(Form10->ViewImage(), Form10->BaseImage()), 20);
    SaveAs("tinted.jpg");
    EXPECT_LT(MeanDifference(DecodeJpegFile(Photo("tinted.jpg")), Form10->ViewImage()), 2) << "the loss of JPEG only";
}

TEST_F(ImageEditorTest, TweakRefusesOtherFilesButKeepsTheChoiceAndSavesTheEditedFileAsTheRowsImage)
{
    Choose(0, "badge.png"); // not in images.xml
    EXPECT_FALSE(Tweak([] {}));
    EXPECT_EQ(boxes.Texts(), QStringList{"This editor currently supports only JPEG images."});
    EXPECT_EQ(Window().ImageTable().rows[0].fileName, "badge.png");
    EXPECT_EQ(Form10->windowTitle(), "images/logo/badge.png");

    Choose(2, "garden.jpg");
    EXPECT_TRUE(Tweak([&] {
        EXPECT_EQ(Form10->frameGeometry().size(), QSize(690, 370)) << "the picture of 320 x 240 sizes the window";
        editor()->BitBtn3->click();
        editor()->BitBtn4->click();
        QTimer::singleShot(0, Form20, [&] {
            EXPECT_EQ(Form20->Ui()->LabeledEdit1->text(), "garden_1.jpg");
            QTest::keyClick(Form20->Ui()->LabeledEdit1, Qt::Key_Return);
            if (Form20->isVisible()) Form20->reject();
        });
        editor()->BitBtn5->click();
        EXPECT_FALSE(Form10->isVisible());
    }));
    EXPECT_THAT(QuantisationSteps(ReadTemplateFile("meadowlark", "images/photos/garden_1.jpg")), testing::Each(1))
        << "saved at quality 100";
    EXPECT_EQ(Window().ImageTable().rows[2].fileName, "garden_1.jpg");
    EXPECT_EQ(Window().ImageTable().rows[0].fileName, "leaf.jpg") << "rows go back to images.xml";
    EXPECT_TRUE(PreviewContains("garden_1.jpg"));
}

TEST_F(ImageEditorTest, ImageFolderLeadingOutIsNeitherListedShownEditedNorWritten)
{
    folder.Write("x/other.jpg", "x");
    std::filesystem::copy_file(Photo("garden.jpg"), folder.Path("x/garden.jpg"));
    std::filesystem::create_directory_symlink(folder.Path("x"), folder.Path("templates/meadowlark/images/linked"));
    const auto outside = folder.Snapshot("x");
    const std::string images = ReadTemplateFile("meadowlark", "images.xml");
    for (const std::string leadingOut : {"../../x/", "images/linked/"}) {
        std::string hostile = images;
        WriteTemplateFile("meadowlark", "images.xml", hostile.replace(hostile.find("images/photos/"), 14, leadingOut));
        Open("meadowlark");
        ClickRow(ui()->ListBox6, 2);
        EXPECT_EQ(Items(ui()->ListBox7), QStringList{"garden.jpg"}) << leadingOut;
        std::vector<std::string> shown{"not shown"};
        const auto browsing = WhileShown(Form5, [&] { shown = Form5->Viewer()->Files(), Form5->reject(); });
        ui()->BitBtn22->click();
        EXPECT_TRUE(browsing->Done() && shown.empty());
        Tweak([] {});
        SaveAs("new.jpg");
    }
    EXPECT_EQ(folder.Snapshot("x"), outside);
    EXPECT_TRUE(Form10->BaseImage().Empty());
    const QStringList refusals{"Error: cannot load image!",
                               "The image folder lies outside the template's folder. Nothing was saved."};
    EXPECT_EQ(boxes.Texts(), refusals + refusals);
}
