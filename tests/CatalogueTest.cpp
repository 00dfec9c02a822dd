#include "TemplateFixture.h"
#include "library/Catalogue.h"
#include "library/XmlDocument.h"

#include <QTest>

namespace {

class CatalogueTest : public TemplateFixture {
protected:
    void AddTemplate(const std::string &id, const std::string &settings)
    {
        WriteTemplateFile(id, "settings.qrl", settings);
    }
    QStringList Row(int row)
    {
        QStringList texts;
        for (int column = 0; column < 4; ++column) texts << Window().Ui()->ListView1->topLevelItem(row)->text(column);
        return texts;
    }
};

}  // namespace

TEST(CatalogueFile, SettingsNeedThreeLines)
{
    TempFolder dir;
    const struct {
        std::string settings;
        TemplateEntry entry;
    } cases[] = {
        {"Title\r\nAuthor\n", {"a", "", "a", ""}},
        {"Title\rAuthor\r\r", {"Title", "Author", "b", ""}},
        {"Title\nAuthor\nGPL\nextra\n", {"Title", "Author", "c", "GPL"}},
    };
    for (const auto &[settings, entry] : cases) {
        dir.Write(entry.folder + "/settings.qrl", settings);
        const TemplateEntry read = ReadTemplateEntry(dir.Path(entry.folder), entry.folder);
        EXPECT_EQ(read.title, entry.title) << settings;
        EXPECT_EQ(read.author, entry.author) << settings;
        EXPECT_EQ(read.license, entry.license) << settings;
    }
    EXPECT_EQ(ReadTemplateEntry(dir.Path("missing"), "missing").title, "missing");
}

TEST(CatalogueFile, ValuesReadBackUnchanged)
{
    TempFolder dir;
    const std::vector<TemplateEntry> entries = {{"Café & Bäckerei <b>", "Zoë > all", "cafe", "CC-BY"},
                                                {"", "", "x", ""}};
    const std::string text = CatalogueText(entries);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1),
              "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><settings><channel>\r\n");
    EXPECT_NE(text.find("<title>Caf&#233; &amp; B&#228;ckerei &lt;b&gt;</title>\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 23), "</channel></settings>\r\n");
    dir.Write("c.xml", text);
    XmlDocument doc;
    const auto read = ReadCatalogue(doc, dir.Path("c.xml"));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].title, entries[0].title);
    EXPECT_EQ(read[0].author, entries[0].author);
    EXPECT_EQ(read[1].folder, "x");
}

TEST_F(CatalogueTest, NoTemplatesGiveAnEmptyListAndAnEmptyCatalogue)
{
    std::filesystem::create_directories(folder.Path("templates"));
    EXPECT_EQ(Window().Ui()->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(folder.Read("templates_tmp.xml"),
              "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><settings><channel>\r\n</channel></settings>\r\n");
    EXPECT_FALSE(Window().Ui()->BitBtn10->isEnabled());
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(CatalogueTest, ListsEveryTemplateFolderInFolderOrder)
{
    AddTemplate("beta", "Aardvark\nAnn\nMIT\n");
    AddTemplate("alpha", "Zebra & Co\nBob\nGPL\n");
    ASSERT_EQ(Window().Ui()->ListView1->topLevelItemCount(), 2);
    EXPECT_EQ(Row(0), QStringList({"Zebra & Co", "Bob", "alpha", "GPL"}));
    EXPECT_EQ(Row(1), QStringList({"Aardvark", "Ann", "beta", "MIT"}));
}

TEST_F(CatalogueTest, SelectingRowsAndClickingEmptySpace)
{
    AddTemplate("one", "First\nA\nL\n");
    AddTemplate("two", "Second\nB\nL\n");
    auto *ui = Window().Ui();
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    QTreeWidget *list = ui->ListView1;
    for (int row : {0, 1})
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row)).center());
    EXPECT_EQ(ui->TemplateRoot->text(), "templates/two");
    EXPECT_EQ(Window().SelectedTemplateTitle(), "Second");
    EXPECT_TRUE(ui->BitBtn10->isEnabled());
    EXPECT_FALSE(ui->Image1->isVisible()) << "no screenshot: the fixed picture shows";

    const QPoint emptySpace(10, list->viewport()->height() - 5);
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, emptySpace);
    EXPECT_EQ(ui->TemplateRoot->text(), "templates/two") << "the reset is the left button's";
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, emptySpace);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_TRUE(ui->TemplateRoot->text().isEmpty());
    EXPECT_EQ(Window().SelectedTemplateTitle(), "");
    EXPECT_FALSE(ui->BitBtn10->isEnabled());

    // Deselecting with the keyboard keeps the template.
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(0));
    QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_EQ(ui->TemplateRoot->text(), "templates/one");
    EXPECT_TRUE(ui->BitBtn10->isEnabled());
}
