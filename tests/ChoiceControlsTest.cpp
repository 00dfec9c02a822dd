#include "TemplateFixture.h"
#include "WhileShown.h"

#include "app/Windows.h"
#include "imaging/TForm5.h"
#include "imaging/ThumbnailViewer.h"
#include "ui_TForm5.h"

#include <QBuffer>
#include <QImage>

namespace {

class ChoiceControlsTest : public TemplateFixture {
protected:
    ~ChoiceControlsTest() override { Form5 = nullptr; }
    const LayoutRow &Layout(int row) { return Window().LayoutTable().rows[row]; }
    static QString Selected(const QListWidget *list)
    {
        return list->currentItem() && list->currentItem()->isSelected() ? list->currentItem()->text() : "<none>";
    }
    static std::vector<std::string> Names(const QListWidget *list)
    {
        std::vector<std::string> names;
        for (const QString &text : Items(list)) names.push_back(platform::FileNameFromText(text));
        return names;
    }
};

}  // namespace

TEST_F(ChoiceControlsTest, OptionsAreTheSortedFilesInsideTheTemplateWithoutThumbnailCachesAndAClickStoresTheOption)
{
    // A layout row "Columns" over lay\ and an image row "Logo" over pics\; at first also a layout row over a
    // missing folder and one over a folder outside the template.
    const std::string columns =
        "<item><title>Columns</title><default>wide</default><folder>lay\\</folder><var>%%L%%</var></item>";
    AddTemplate("t", "<div>%%L%%</div><div>%%M%%</div><img src=\"%%IMG%%\">",
                {{"layouts.xml", ItemFile(columns + "<item><title>Nothing</title><default>plain</default><folder>"
                                                   "missing\\</folder></item><item><title>Out</title><default>plain"
                                                   "</default><folder>..\\..\\out\\</folder></item>")},
                 {"lay/wide.lyo", "<wide/>\n"},
                 {"lay/narrow.LYO", "<narrow/>\n"},
                 {"lay/readme.txt", "not an option"},
                 {"images.xml", ItemFile("<item><image>Logo</image><url>logo.gif</url><folder>pics\\</folder>"
                                         "<var>%%IMG%%</var></item>")},
                 {"pics/logo.gif", "GIF89a"},
                 {"pics/Thumbs.db", ""},
                 {"pics/old/keep.gif", "GIF89a"}});
    folder.Write("out/leak.lyo", "");
    OpenShown("t");
    ClickRow(ui()->ListBox10, 1);
    EXPECT_EQ(Items(ui()->ListBox11), QStringList({"plain"})) << "a missing folder shows the current option only";
    ClickRow(ui()->ListBox10, 2);
    EXPECT_EQ(Items(ui()->ListBox11), QStringList({"plain"})) << "a folder outside the template is not listed";

    WriteTemplateFile("t", "layouts.xml", ItemFile(columns));
    Open("t");
    ui()->ListBox11->addItems({"narrow", "wide"});
    ui()->ListBox7->addItems({"logo.gif"});
    ForgetPreview();
    ClickRow(ui()->ListBox11, 0);
    ClickRow(ui()->ListBox7, 0);
    EXPECT_FALSE(Rebuilt()) << "no title selected";
    EXPECT_EQ(Layout(0).option, "wide");

    ClickRow(ui()->ListBox10, 0);
    EXPECT_EQ(Items(ui()->ListBox11), QStringList({"narrow", "wide"}));
    EXPECT_EQ(Selected(ui()->ListBox11), "wide");
    ClickRow(ui()->ListBox6, 0);
    EXPECT_EQ(Items(ui()->ListBox7), QStringList({"logo.gif", "old"}));
    EXPECT_EQ(Selected(ui()->ListBox7), "logo.gif");
    EXPECT_FALSE(Rebuilt()) << "selecting a title writes nothing";
    EXPECT_TRUE(Window().updatesEnabled());

    ClickRow(ui()->ListBox11, 0);
    EXPECT_EQ(Layout(0).option, "narrow");
    EXPECT_TRUE(PreviewContains("<div><narrow/>\r\n</div>"));
    ClickRow(ui()->ListBox7, 1);
    EXPECT_EQ(Window().ImageTable().rows[0].fileName, "old") << "a sub-folder is chosen like a file";
    EXPECT_TRUE(PreviewContains("<img src=\"pics\\old\">"));
}

TEST_F(ChoiceControlsTest, FileNamesThatAreNotUtf8AreListedChosenBrowsedAndExportedAsTheirBytes)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray bitmap;
    QBuffer buffer(&bitmap);
    picture.save(&buffer, "BMP");
    AddTemplate("t", "<div>%%L%%</div><img src=\"%%IMG%%\">",
                {{"layouts.xml", ItemFile("<item><title>Menu</title><default>plain</default><folder>lay/</folder>"
                                          "<var>%%L%%</var></item>")},
                 {"lay/plain.lyo", "<plain/>"}, {"lay/men\xFC.lyo", "<menu/>"},
                 {"images.xml", ItemFile("<item><image>Logo</image><url>logo.bmp</url><folder>pics/</folder>"
                                         "<var>%%IMG%%</var></item>")},
                 {"pics/logo.bmp", bitmap.toStdString()}, {"pics/caf\xE9.bmp", bitmap.toStdString()},
                 {"static_files.qrl", "d\xE9j\xE0.txt\n"}, {"d\xE9j\xE0.txt", "vu"},
                 {"presets/images/Abend\xE4.xml",
                  ItemFile("<item><image>Logo</image><var>pics/</var><url>logo.bmp</url></item>")}});
    OpenShown("t");
    Form5 = new TForm5(&Window());
    ClickRow(ui()->ListBox10, 0);
    ClickRow(ui()->ListBox11, 0);
    EXPECT_TRUE(PreviewContains("<div><menu/>"));
    ClickRow(ui()->ListBox6, 0);
    EXPECT_EQ(Names(ui()->ListBox7), (std::vector<std::string>{"caf\xE9.bmp", "logo.bmp"}));
    ClickRow(ui()->ListBox7, 0);
    EXPECT_TRUE(PreviewContains("<img src=\"pics/caf\xE9.bmp\">"));

    ClickRow(ui()->ListBox7, 1);
    const auto pending = WhileShown(Form5, [&] {
        ThumbnailViewer *viewer = Form5->Viewer();
        ASSERT_EQ(viewer->Files(), (std::vector<std::string>{"caf\xE9.bmp", "logo.bmp"}));
        EXPECT_EQ(viewer->item(0)->text(), platform::FileNameToText("caf\xE9.bmp"));
        EXPECT_FALSE(viewer->item(0)->data(Qt::DecorationRole).value<QPixmap>().isNull()) << "the picture is read";
        viewer->SetPosition(0);
        Form5->Ui()->BitBtn2->click();
    });
    ui()->BitBtn22->click();
    EXPECT_TRUE(pending->Done());
    const std::string &logo = Window().ImageTable().rows[0].fileName;
    EXPECT_EQ(logo, "caf\xE9.bmp") << "the browser hands the name back";

    ui()->PageControl1->setCurrentWidget(ui()->TabSheet3);
    EXPECT_EQ(Names(ui()->ListBox13), (std::vector<std::string>{"d\xE9j\xE0.txt", "pics/caf\xE9.bmp", "index.html"}));
    EXPECT_EQ(ReadTemplateFile("t", "template/pics/caf\xE9.bmp"), bitmap.toStdString());

    ui()->PageControl1->setCurrentWidget(ui()->TabSheet2);
    EXPECT_EQ(Names(ui()->ListBox8), std::vector<std::string>{"Abend\xE4"});
    ui()->ListBox8->setCurrentRow(0);
    ui()->Button18->click();
    EXPECT_EQ(logo, "logo.bmp") << "the preset is read";
    ui()->ListBox8->setCurrentRow(0);
    ScriptedBoxes yes({platform::BoxAnswer::Yes});
    ui()->Button16->click();
    EXPECT_FALSE(folder.Exists("templates/t/presets/images/Abend\xE4.xml")) << "and deleted";
}
