#include "TemplateFixture.h"
#include "app/Windows.h"
#include "imaging/TForm10.h"

#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

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

using MainWindowTest = TemplateFixture;

}  // namespace

TEST_F(MainWindowTest, OpensOnTheTemplatePageWithTheOtherPagesHidden)
{
    Window().show();
    const auto *ui = Window().Ui();
    EXPECT_TRUE(Window().isMaximized());
    EXPECT_EQ(Window().windowTitle(), "Quorlin");
    EXPECT_EQ(ui->PageControl1->currentIndex(), 0);
    EXPECT_FALSE(ui->PageControl1->isTabVisible(1));
    EXPECT_FALSE(ui->PageControl1->isTabVisible(2));
    EXPECT_FALSE(ui->BitBtn10->isEnabled());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(PlainTextOf(ui->WebBrowser3).trimmed(),
              "Please, select template from the list above and click \"Customize\"...");
}

TEST_F(MainWindowTest, LeftoverFilesAreDeletedAndUndeletableOnesTolerated)
{
    folder.Write("temp.exe", "x");
    folder.Write("templates_tmp.xml", "x");
    folder.Write("temp.tmp/inner", "a folder of that name cannot be removed as a file");
    Window();
    EXPECT_FALSE(folder.Exists("temp.exe"));
    EXPECT_EQ(folder.Read("templates_tmp.xml").substr(0, 5), "<?xml") << "written anew by the catalogue build";
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(MainWindowTest, EscapeRunsExitWhichClosesAndFreesTheImageEditor)
{
    Form10 = new TForm10(&Window());
    QPointer<TForm10> editor(Form10);
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    folder.Write("templates_tmp.xml", "x");
    Window().activateWindow();
    QTest::keyClick(&Window(), Qt::Key_Escape);
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(folder.Exists("templates_tmp.xml"));
    EXPECT_TRUE(editor.isNull());
    EXPECT_EQ(Form10, nullptr);
}
