#include "app/TForm1.h"
#include "app/Windows.h"
#include "imaging/TForm10.h"
#include "ScriptedBoxes.h"
#include "ui_TForm1.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

namespace {

void WriteFile(const QString &path, const QByteArray &content = "x")
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QString PlainTextOf(QWebEngineView *browser)
{
    QString text;
    QEventLoop loop;
    browser->page()->toPlainText([&](const QString &result) {
        text = result;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return text;
}

class MainWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<TForm1> Create()
    {
        return std::make_unique<TForm1>(appDir.path().toStdString());
    }
    QString InProgramFolder(const char *name) const { return appDir.filePath(name); }

    QTemporaryDir appDir;
    ScriptedBoxes boxes;
};

}  // namespace

TEST_F(MainWindowTest, OpensOnTheTemplatePageWithTheOtherPagesHidden)
{
    auto form = Create();
    form->show();
    const auto *ui = form->Ui();
    EXPECT_TRUE(form->isMaximized());
    EXPECT_EQ(form->windowTitle(), "Quorlin");
    EXPECT_EQ(ui->PageControl1->currentIndex(), 0);
    EXPECT_EQ(ui->PageControl1->tabText(0), "1) Select Template");
    EXPECT_TRUE(ui->PageControl1->isTabVisible(0));
    EXPECT_FALSE(ui->PageControl1->isTabVisible(1));
    EXPECT_FALSE(ui->PageControl1->isTabVisible(2));
    EXPECT_FALSE(ui->BitBtn10->isEnabled());
    EXPECT_EQ(ui->BitBtn10->text(), " Customize ");
    EXPECT_FALSE(ui->Image1->isVisible());
    EXPECT_EQ(ui->PageControl2->tabText(0), "Colors && Backgrounds:");
    EXPECT_EQ(ui->PageControl4->tabText(0), "Export (Save) Template Files:");
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(MainWindowTest, CodeViewsStartEmptyUnwrappedWithLineNumbers)
{
    auto form = Create();
    for (QsciScintilla *view : {form->HtmlView(), form->CssView()}) {
        EXPECT_TRUE(view->text().isEmpty());
        EXPECT_EQ(view->wrapMode(), QsciScintilla::WrapNone);
        EXPECT_EQ(view->marginType(0), QsciScintilla::NumberMargin);
        EXPECT_GT(view->marginWidth(0), 0);
        ASSERT_NE(view->lexer(), nullptr);
    }
    EXPECT_STREQ(form->HtmlView()->lexer()->language(), "HTML");
    EXPECT_STREQ(form->CssView()->lexer()->language(), "CSS");
}

TEST_F(MainWindowTest, FontValueListsHoldTheirEntriesInOrder)
{
    auto form = Create();
    EXPECT_EQ(form->FontFamilies.size() + form->FontSizes.size() + form->FontUnits.size() +
                  form->FontWeights.size() + form->FontStyles.size() + form->TextDecorations.size(),
              56u);
    EXPECT_EQ(form->FontFamilies.front(), "Arial, Helvetica, sans-serif");
    EXPECT_EQ(form->FontSizes[7], "72");
    EXPECT_EQ(form->FontSizes[8], "xx-small");
    EXPECT_EQ(form->FontUnits[6], "ems");
    EXPECT_EQ(form->FontWeights.front(), "normal");
    EXPECT_EQ(form->FontStyles.front(), "normal");
    EXPECT_EQ(form->TextDecorations.back(), "underline blink");
}

TEST_F(MainWindowTest, LeftoverFilesAreDeletedAndUndeletableOnesTolerated)
{
    WriteFile(InProgramFolder("temp.exe"));
    WriteFile(InProgramFolder("templates_tmp.xml"));
    // A folder of that name cannot be removed as a file.
    ASSERT_TRUE(QDir(appDir.path()).mkpath("temp.tmp/inner"));
    auto form = Create();
    EXPECT_FALSE(QFile::exists(InProgramFolder("temp.exe")));
    QFile catalogue(InProgramFolder("templates_tmp.xml"));
    ASSERT_TRUE(catalogue.open(QIODevice::ReadOnly)) << "written anew by the catalogue build";
    EXPECT_TRUE(catalogue.readAll().startsWith("<?xml"));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(MainWindowTest, CloseBoxDeletesTheCatalogueFile)
{
    auto form = Create();
    form->show();
    WriteFile(InProgramFolder("templates_tmp.xml"));
    form->close();
    EXPECT_FALSE(QFile::exists(InProgramFolder("templates_tmp.xml")));
}

TEST_F(MainWindowTest, EscapeRunsExitWhichClosesAndFreesTheImageEditor)
{
    auto form = Create();
    Form10 = new TForm10(form.get());
    QPointer<TForm10> editor(Form10);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    WriteFile(InProgramFolder("templates_tmp.xml"));
    form->activateWindow();
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(QFile::exists(InProgramFolder("templates_tmp.xml")));
    EXPECT_TRUE(editor.isNull());
    EXPECT_EQ(Form10, nullptr);
}

TEST_F(MainWindowTest, ChooserStartsInTheDocumentsFolder)
{
    const QString documents = QDir::home().filePath("Documents");
    auto form = Create();
    if (QDir(documents).exists())
        EXPECT_EQ(form->Ui()->Edit2->text(), documents);
    else
        EXPECT_TRUE(form->Ui()->Edit2->text().isEmpty());
}

TEST_F(MainWindowTest, WelcomePageIsShownInTheTemplateInfoBrowser)
{
    auto form = Create();
    EXPECT_EQ(PlainTextOf(form->Ui()->WebBrowser3).trimmed(),
              "Please, select template from the list above and click \"Customize\"...");
}
