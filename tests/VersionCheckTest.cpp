#include "TemplateFixture.h"
#include "app/Windows.h"
#include "help/TForm8.h"
#include "help/VersionCheck.h"
#include "ui_TForm8.h"

#include <QApplication>
#include <QScopeGuard>
#include <QUrl>

namespace {

TEST(VersionFileTest, FirstLineIsReadInTheRegionalFormatAndCompared)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates), german(QLocale::German, QLocale::Germany);
    const std::pair<const char *, VersionOutcome> cases[] = {
        {"  10 \t\r\n1.0", VersionOutcome::NewerVersion}, {"1.9\n3.0", VersionOutcome::NoUpdates},
        {"", VersionOutcome::Failed},  {"\n2.5", VersionOutcome::Failed},  {"2,5", VersionOutcome::Failed},
        {"1,000", VersionOutcome::Failed}, {"v2.5", VersionOutcome::Failed},
    };
    for (const auto &[text, outcome] : cases) EXPECT_EQ(JudgeVersionFile(text, english), outcome) << text;
    EXPECT_EQ(ReadVersionNumber("2,5\n", german), 2.5);
    EXPECT_EQ(JudgeVersionFile("2.5", german), VersionOutcome::Failed);
}

using VersionWindowTest = TemplateFixture;

TEST_F(VersionWindowTest, ActivationDownloadsAndComparesTheVersionFile)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const auto restore = qScopeGuard([] {
        Form8 = nullptr;
        QLocale::setDefault(QLocale::system());
    });
    Form8 = new TForm8(&Window());
    const QUrl address = QUrl::fromLocalFile(QString::fromStdString(folder.Path("version.txt")));
    Form8->SetVersionFileAddress(address.toString().toStdString());
    const std::tuple<const char *, QString, bool> cases[] = {
        {nullptr, "Cannot Download Version Info. Please, try again later. ", false},
        {"2.4\n", "There are no new updates available.", false},
        {"2.5\n", "New Version Available! Click \"Get the new version\" to visit the download page...", true},
    };
    for (const auto &[versionFile, status, offered] : cases) {
        if (versionFile) folder.Write("version.txt", versionFile);
        else std::filesystem::remove(folder.Path("version.txt"));
        Form8->FormShow();
        EXPECT_EQ(Form8->Ui()->Label1->text(), status);
        EXPECT_EQ(Form8->Ui()->BitBtn6->isEnabled(), offered) << status.toStdString();
        EXPECT_EQ(!Form8->Ui()->BitBtn1->isHidden(), offered) << status.toStdString();
        EXPECT_TRUE(Form8->Ui()->ProgressBar1->isHidden());
        EXPECT_EQ(folder.Exists("temp.tmp"), versionFile != nullptr);
    }
    Window().show();
    Form8->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form8));
    folder.Write("version.txt", "2.4\n");
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(Form8);
    EXPECT_TRUE(Form8->Ui()->BitBtn6->isEnabled()) << "coming back from another program checks nothing";
    QApplication::setActiveWindow(&Window());
    QApplication::setActiveWindow(Form8);
    EXPECT_FALSE(Form8->Ui()->BitBtn6->isEnabled()) << "an activation within the program checks again";
    folder.Write("version.txt", "2.5\n");
    QApplication::setActiveWindow(nullptr);
    Form8->hide();
    Form8->show();
    QApplication::setActiveWindow(Form8);
    EXPECT_TRUE(Form8->Ui()->BitBtn6->isEnabled()) << "showing the window again checks again";
    Form8->Ui()->BitBtn2->click();
    EXPECT_FALSE(folder.Exists("temp.tmp")) << "closing deletes the version file";
}

}  // namespace
