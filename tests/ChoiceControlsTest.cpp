#include "TemplateFixture.h"

namespace {

class ChoiceControlsTest : public TemplateFixture {
protected:
    const LayoutRow &Layout(int row) { return Window().LayoutTable().rows[row]; }
    static QString Selected(const QListWidget *list)
    {
        return list->currentItem() && list->currentItem()->isSelected() ? list->currentItem()->text() : "<none>";
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
