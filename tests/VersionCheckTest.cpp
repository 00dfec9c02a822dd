#include "TemplateFixture.h"
#include "app/Windows.h"
#include "help/Download.h"
#include "help/TForm8.h"
#include "help/VersionCheck.h"
#include "ui_TForm8.h"

#include <QTimer>
#include <QtTest/QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

std::string FileAddress(const std::string &path) { return QUrl::fromLocalFile(QString::fromStdString(path)).toString().toStdString(); }

TEST(VersionFileTest, FirstLineIsComparedWithTheProgramVersion)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const std::pair<const char *, VersionOutcome> cases[] = {
        {"2.5", VersionOutcome::NewerVersion},   {"10\r\n", VersionOutcome::NewerVersion},
        {"  2.5 \t\nold", VersionOutcome::NewerVersion}, {"2.4", VersionOutcome::NoUpdates},
        {"2.40\n3.0", VersionOutcome::NoUpdates}, {"1.9", VersionOutcome::NoUpdates},
        {"", VersionOutcome::Failed},             {"\n2.5", VersionOutcome::Failed},
        {"2,5", VersionOutcome::Failed},          {"1,000", VersionOutcome::Failed},
        {"v2.5", VersionOutcome::Failed},         {"<html>", VersionOutcome::Failed},
    };
    for (const auto &[text, outcome] : cases) EXPECT_EQ(JudgeVersionFile(text, english), outcome) << text;
}

TEST(VersionFileTest, DecimalSeparatorFollowsTheRegionalFormat)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(ReadVersionNumber("2,5\n", german), 2.5);
    EXPECT_EQ(JudgeVersionFile("2,4", german), VersionOutcome::NoUpdates);
    EXPECT_EQ(JudgeVersionFile("2.5", german), VersionOutcome::Failed);
}

TEST(DownloadTest, CopiesAFileAddressAndReportsProgress)
{
    TempFolder folder;
    folder.Write("site/version.txt", "2.5\r\nnotes\r\n");
    std::int64_t received = -1, total = -1;
    DownloadToFile(FileAddress(folder.Path("site/version.txt")), folder.Path("temp.tmp"),
                   [&](std::int64_t now, std::int64_t expected) { received = now, total = expected; });
    EXPECT_EQ(folder.Read("temp.tmp"), "2.5\r\nnotes\r\n");
    EXPECT_EQ(received, 12);
    EXPECT_EQ(total, 12);
}

TEST(DownloadTest, FailureThrowsAndLeavesNoFile)
{
    TempFolder folder;
    folder.Write("temp.tmp", "old");
    EXPECT_THROW(DownloadToFile(FileAddress(folder.Path("missing.txt")), folder.Path("temp.tmp"), {}),
                 std::runtime_error);
    EXPECT_FALSE(folder.Exists("temp.tmp"));
    EXPECT_THROW(DownloadToFile("gopher://quorlin.example/", folder.Path("temp.tmp"), {}), std::runtime_error);
    EXPECT_FALSE(folder.Exists("temp.tmp"));
}

class VersionWindowTest : public TemplateFixture {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        Form8 = new TForm8(&Window());
        Form8->SetVersionFileAddress(FileAddress(site.Path("version.txt")));
    }
    void TearDown() override
    {
        Form8 = nullptr;
        QLocale::setDefault(QLocale::system());
    }
    const Ui::TForm8 &Shown() const { return *Form8->Ui(); }

    TempFolder site;
};

TEST_F(VersionWindowTest, ActivationDownloadsAndComparesTheVersionFile)
{
    struct Case {
        const char *versionFile;
        QString status;
        bool offered;
    };
    const Case cases[] = {
        {"2.5\n", "New Version Available! Click \"Get the new version\" to visit the download page...", true},
        {"2.4\n", "There are no new updates available.", false},
        {"2,5\n", "Cannot Download Version Info. Please, try again later. ", false},
        {nullptr, "Cannot Download Version Info. Please, try again later. ", false},
    };
    for (const auto &[versionFile, status, offered] : cases) {
        if (versionFile) site.Write("version.txt", versionFile);
        else std::filesystem::remove(site.Path("version.txt"));
        Form8->FormShow();
        EXPECT_EQ(Shown().Label1->text(), status);
        EXPECT_EQ(Shown().BitBtn6->isEnabled(), offered) << status.toStdString();
        EXPECT_EQ(!Shown().BitBtn1->isHidden(), offered) << status.toStdString();
        EXPECT_TRUE(Shown().ProgressBar1->isHidden());
        EXPECT_EQ(folder.Exists("temp.tmp"), versionFile != nullptr);
    }
}

TEST_F(VersionWindowTest, CheckForUpdatesRunsTheCheckAndClosingDeletesTheVersionFile)
{
    site.Write("version.txt", "2.5\n");
    QString statusWhileOpen;
    bool fileWhileOpen = false;
    QTimer::singleShot(0, Form8, [&] {
        EXPECT_TRUE(QTest::qWaitFor([] { return !Form8->Ui()->Label1->text().isEmpty(); }, 10000));
        statusWhileOpen = Shown().Label1->text();
        fileWhileOpen = folder.Exists("temp.tmp");
        Shown().BitBtn2->click();
    });
    Window().Ui()->BitBtn14->click();
    EXPECT_TRUE(statusWhileOpen.startsWith("New Version Available!"));
    EXPECT_TRUE(fileWhileOpen);
    EXPECT_FALSE(Form8->isVisible());
    EXPECT_FALSE(folder.Exists("temp.tmp"));
}

}  // namespace
