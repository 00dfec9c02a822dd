#include "app/ProgramMain.h"
#include "app/TForm1.h"
#include "app/TSplash.h"
#include "app/Windows.h"
#include "ScriptedBoxes.h"
#include "ui_TForm1.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct BarReading {
    int value;
    QString status;
    bool mainWindow, helpWindow, versionWindow, editor, saveAs, browser;
};

BarReading Read(int value)
{
    return {value,        Splash->info()->text(), Form1 != nullptr, helpDialog != nullptr,
            Form8 != nullptr, Form10 != nullptr,   Form20 != nullptr, Form5 != nullptr};
}

}  // namespace

TEST(StartSequence, SplashBarFollowsTheWindowsAsTheyAreCreated)
{
    QTemporaryDir appDir;
    ScriptedBoxes boxes;
    ShowSplash();
    ASSERT_NE(Splash, nullptr);
    EXPECT_EQ(Splash->windowTitle(), "Starting Quorlin...");
    EXPECT_EQ(Splash->info()->text(), "Loading Quorlin...");
    EXPECT_EQ(Splash->ProgressBar1()->maximum(), 200);
    EXPECT_EQ(Splash->ProgressBar1()->value(), 20);
    EXPECT_EQ(QApplication::applicationName(), "Quorlin");

    std::vector<BarReading> readings;
    QObject::connect(Splash->ProgressBar1(), &QProgressBar::valueChanged,
                     [&](int value) { readings.push_back(Read(value)); });
    CreateProgramWindows(appDir.path().toStdString());

    ASSERT_EQ(readings.size(), 14u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(readings[i].value, 30 + 10 * i);
        EXPECT_FALSE(readings[i].mainWindow) << "the main window steps the bar while it is built";
    }
    EXPECT_EQ(readings[8].value, 110);
    EXPECT_EQ(readings[8].status, "Loading Modules...");
    EXPECT_TRUE(readings[8].mainWindow);
    EXPECT_FALSE(readings[8].helpWindow);
    EXPECT_TRUE(readings[9].helpWindow && !readings[9].versionWindow);
    EXPECT_EQ(readings[9].value, 120);
    EXPECT_TRUE(readings[10].versionWindow && !readings[10].editor);
    EXPECT_TRUE(readings[11].editor && !readings[11].saveAs);
    EXPECT_EQ(readings[12].value, 150);
    EXPECT_TRUE(readings[12].saveAs && !readings[12].browser);
    EXPECT_EQ(readings[13].value, 200);
    EXPECT_TRUE(readings[13].browser);

    CloseSplash();
    EXPECT_EQ(Splash, nullptr);
    Form1->show();
    EXPECT_TRUE(Form1->isMaximized());
    EXPECT_EQ(Form1->Ui()->PageControl1->currentWidget(), Form1->Ui()->TabSheet1);
    EXPECT_TRUE(boxes.Shown().empty());
    DestroyProgramWindows();
    EXPECT_EQ(Form1, nullptr);
}
