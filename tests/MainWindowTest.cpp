#include "TemplateFixture.h"
#include "app/ProgramMain.h"
#include "app/TSplash.h"
#include "app/Windows.h"
#include "imaging/TForm10.h"
#include "platform/FolderChooser.h"

#include <QLabel>
#include <QProgressBar>

using MainWindowTest = TemplateFixture;

TEST(StartSequence, SplashFillsWhileEveryWindowIsCreated)
{
    TempFolder appDir;
    ScriptedBoxes boxes;
    ShowSplash();
    CreateProgramWindows(appDir.Path());
    EXPECT_TRUE(Form1 && helpDialog && Form8 && Form10 && Form20 && Form5);
    EXPECT_EQ(Splash->ProgressBar1()->value(), 200);
    EXPECT_EQ(Splash->info()->text(), "Loading Modules...");

    CloseSplash();
    Form1->show();
    EXPECT_TRUE(Form1->isMaximized());
    EXPECT_TRUE(boxes.Shown().empty());
    DestroyProgramWindows();
    EXPECT_EQ(Form1, nullptr);
}

TEST_F(MainWindowTest, StartsOnTheTemplatePageDeletingLeftoversAndEscapeClosesAndFreesTheImageEditor)
{
    folder.Write("temp.exe", "x");
    folder.Write("templates_tmp.xml", "x");
    folder.Write("temp.tmp/inner", "a folder of that name cannot be removed as a file");
    EXPECT_EQ(ui()->PageControl1->currentIndex(), 0);
    for (const int tab : {1, 2}) EXPECT_FALSE(ui()->PageControl1->isTabVisible(tab)) << tab;
    EXPECT_FALSE(folder.Exists("temp.exe"));
    EXPECT_EQ(folder.Read("templates_tmp.xml").substr(0, 5), "<?xml") << "written anew by the catalogue build";
    EXPECT_TRUE(boxes.Shown().empty());

    Form10 = new TForm10(&Window());
    QPointer<TForm10> editor(Form10);
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    Window().activateWindow();
    QTest::keyClick(&Window(), Qt::Key_Escape);
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(folder.Exists("templates_tmp.xml"));
    EXPECT_TRUE(editor.isNull());
    EXPECT_EQ(Form10, nullptr);
}

// The window must fit a 1024x768 screen, less a title bar, whatever the user turns to.
TEST_F(MainWindowTest, FitsASmallScreenOnEveryPageAndTabOfEverySample)
{
    const QSize screen(1024, 768 - 30);
    const QStringList samples = Samples();
    ASSERT_FALSE(samples.isEmpty());
    for (const QString &sample : samples) InstallSample(sample.toStdString());
    Window().show();
    const auto fits = [&](const std::string &where) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        const QSize need = Window().minimumSizeHint().expandedTo(Window().minimumSize());
        EXPECT_TRUE(need.boundedTo(screen) == need) << where << ": " << need.width() << "x" << need.height();
    };
    fits("start");
    for (const QString &sample : samples) {
        Open(sample.toStdString());
        for (QTabWidget *tabs : {ui()->PageControl2, ui()->PageControl4, ui()->PageControl3, ui()->PageControl1}) {
            if (tabs == ui()->PageControl4) ui()->PageControl1->setCurrentWidget(ui()->TabSheet3);
            for (int tab = 0; tab < tabs->count(); ++tab) {
                if (!tabs->isTabVisible(tab)) continue;
                tabs->setCurrentIndex(tab);
                fits((sample + " / " + tabs->tabText(tab)).toStdString());
            }
        }
    }
    EXPECT_TRUE(boxes.Shown().empty());

    DriveBox drives;
    drives.addItem("/media/someone/" + QString(100, 'x'));
    EXPECT_LT(drives.minimumSizeHint().width(), 200) << "a long mount point widens the export page";
}
