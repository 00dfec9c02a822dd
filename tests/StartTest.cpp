#include "app/ProgramMain.h"
#include "app/TForm1.h"
#include "app/TSplash.h"
#include "app/Windows.h"
#include "ScriptedBoxes.h"

#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(StartSequence, SplashFillsWhileEveryWindowIsCreated)
{
    QTemporaryDir appDir;
    ScriptedBoxes boxes;
    ShowSplash();
    CreateProgramWindows(appDir.path().toStdString());
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
