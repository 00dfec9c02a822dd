#include "app/TForm1.h"
#include "library/Catalogue.h"
#include "library/XmlDocument.h"
#include "ScriptedBoxes.h"
#include "ui_TForm1.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void WriteFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CatalogueTest : public ::testing::Test {
protected:
    void AddTemplate(const QString &id, const QByteArray &settings)
    {
        WriteFile(appDir.filePath("templates/" + id + "/settings.qrl"), settings);
    }
    std::unique_ptr<TForm1> Create() { return std::make_unique<TForm1>(appDir.path().toStdString()); }
    QString Catalogue() const { return appDir.filePath("templates_tmp.xml"); }

    QTemporaryDir appDir;
    ScriptedBoxes boxes;
};

QStringList Row(const QTreeWidget *list, int row)
{
    QStringList texts;
    for (int column = 0; column < 4; ++column) texts << list->topLevelItem(row)->text(column);
    return texts;
}

}  // namespace

TEST(CatalogueFile, SettingsNeedThreeLines)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath("a/settings.qrl"), "Title\r\nAuthor\n");
    WriteFile(dir.filePath("b/settings.qrl"), "Title\rAuthor\r\r");
    WriteFile(dir.filePath("c/settings.qrl"), "Title\nAuthor\nGPL\nextra\n");
    const std::string root = dir.path().toStdString() + "/";
    const TemplateEntry twoLines = ReadTemplateEntry(root + "a", "a");
    EXPECT_EQ(twoLines.title, "a");
    EXPECT_EQ(twoLines.author, "");
    EXPECT_EQ(twoLines.license, "");
    const TemplateEntry emptyThird = ReadTemplateEntry(root + "b", "b");
    EXPECT_EQ(emptyThird.title, "Title");
    EXPECT_EQ(emptyThird.license, "");
    const TemplateEntry full = ReadTemplateEntry(root + "c", "c");
    EXPECT_EQ(full.author, "Author");
    EXPECT_EQ(full.license, "GPL");
    EXPECT_EQ(ReadTemplateEntry(root + "missing", "missing").title, "missing");
}

TEST(CatalogueFile, ValuesReadBackUnchanged)
{
    QTemporaryDir dir;
    const std::vector<TemplateEntry> entries = {{"Café & Bäckerei <b>", "Zoë > all", "cafe", "CC-BY"},
                                                {"", "", "x", ""}};
    const std::string text = CatalogueText(entries);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1),
              "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><settings><channel>\r\n");
    EXPECT_NE(text.find("<title>Caf&#233; &amp; B&#228;ckerei &lt;b&gt;</title>\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 23), "</channel></settings>\r\n");
    WriteFile(dir.filePath("c.xml"), QByteArray::fromStdString(text));
    XmlDocument doc;
    const auto read = ReadCatalogue(doc, dir.filePath("c.xml").toStdString());
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].title, entries[0].title);
    EXPECT_EQ(read[0].author, entries[0].author);
    EXPECT_EQ(read[1].folder, "x");
}

TEST_F(CatalogueTest, NoTemplatesGiveAnEmptyListAndAnEmptyCatalogue)
{
    QDir(appDir.path()).mkdir("templates");
    auto form = Create();
    EXPECT_EQ(form->Ui()->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(ReadFile(Catalogue()),
              "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><settings><channel>\r\n</channel></settings>\r\n");
    EXPECT_FALSE(form->Ui()->BitBtn10->isEnabled());
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(CatalogueTest, ListsEveryTemplateFolderInFolderOrder)
{
    AddTemplate("beta", "Aardvark\nAnn\nMIT\n");
    AddTemplate("alpha", "Zebra & Co\nBob\nGPL\n");
    AddTemplate("gamma", "Only a title\n");
    auto form = Create();
    const QTreeWidget *list = form->Ui()->ListView1;
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(Row(list, 0), QStringList({"Zebra & Co", "Bob", "alpha", "GPL"}));
    EXPECT_EQ(Row(list, 1), QStringList({"Aardvark", "Ann", "beta", "MIT"}));
    EXPECT_EQ(Row(list, 2), QStringList({"gamma", "", "gamma", ""}));
}

TEST_F(CatalogueTest, SelectingRowsAndClickingEmptySpace)
{
    AddTemplate("one", "First\nA\nL\n");
    AddTemplate("two", "Second\nB\nL\n");
    auto form = Create();
    auto *ui = form->Ui();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTreeWidget *list = ui->ListView1;

    const auto clickRow = [&](int row) {
        const QRect rect = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    };
    clickRow(0);
    clickRow(1);
    EXPECT_EQ(ui->TemplateRoot->text(), "templates/two");
    EXPECT_EQ(form->SelectedTemplateTitle(), "Second");
    EXPECT_TRUE(ui->BitBtn10->isEnabled());
    EXPECT_FALSE(ui->Image1->isVisible()) << "no screenshot: the fixed picture shows";

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, list->viewport()->height() - 5));
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_TRUE(ui->TemplateRoot->text().isEmpty());
    EXPECT_EQ(form->SelectedTemplateTitle(), "");
    EXPECT_FALSE(ui->BitBtn10->isEnabled());
}

TEST_F(CatalogueTest, KeyboardDeselectionKeepsTheTemplate)
{
    AddTemplate("one", "First\nA\nL\n");
    auto form = Create();
    form->show();
    QTreeWidget *list = form->Ui()->ListView1;
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(0));
    QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_EQ(form->Ui()->TemplateRoot->text(), "templates/one");
    EXPECT_TRUE(form->Ui()->BitBtn10->isEnabled());
}

TEST_F(CatalogueTest, ScreenshotShowsWhenTheTemplateHasOne)
{
    AddTemplate("pic", "Pic\nA\nL\n");
    QImage shot(60, 40, QImage::Format_RGB32);
    shot.fill(Qt::darkCyan);
    ASSERT_TRUE(shot.save(appDir.filePath("templates/pic/screenshot.bmp"), "BMP"));
    auto form = Create();
    form->show();
    form->Ui()->ListView1->setCurrentItem(form->Ui()->ListView1->topLevelItem(0));
    EXPECT_TRUE(form->Ui()->Image1->isVisible());
    EXPECT_FALSE(form->Ui()->Image1->pixmap().isNull());
}
