#include "app/ProgramMain.h"
#include "app/TForm1.h"
#include "app/TSplash.h"
#include "app/Windows.h"
#include "ScriptedBoxes.h"

#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// How many of the program's windows exist, counted in the order of their creation.
long WindowsCreated()
{
    const bool windows[] = {Form1 != nullptr,  helpDialog != nullptr, Form8 != nullptr,
                            Form10 != nullptr, Form20 != nullptr,     Form5 != nullptr};
    return std::find(std::begin(windows), std::end(windows), false) - std::begin(windows);
}

}  // namespace

TEST(StartSequence, SplashBarFollowsTheWindowsAsTheyAreCreated)
{
    QTemporaryDir appDir;
    ScriptedBoxes boxes;
    ShowSplash();
    EXPECT_EQ(Splash->ProgressBar1()->value(), 20);
    std::string steps;
    QObject::connect(Splash->ProgressBar1(), &QProgressBar::valueChanged, [&](int value) {
        steps += std::to_string(value) + ":" + std::to_string(WindowsCreated()) + " ";
    });
    CreateProgramWindows(appDir.path().toStdString());
    EXPECT_EQ(steps, "30:0 40:0 50:0 60:0 70:0 80:0 90:0 100:0 110:1 120:2 130:3 140:4 150:5 200:6 ");
    EXPECT_EQ(Splash->info()->text(), "Loading Modules...");

    CloseSplash();
    Form1->show();
    EXPECT_TRUE(Form1->isMaximized());
    EXPECT_TRUE(boxes.Shown().empty());
    DestroyProgramWindows();
    EXPECT_EQ(Form1, nullptr);
}
