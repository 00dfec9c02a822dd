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

std::string FileAddress(const std::string &path)
{
    return QUrl::fromLocalFile(QString::fromStdString(path)).toString().toStdString();
}

TEST(VersionFileTest, FirstLineIsReadInTheRegionalFormatAndCompared)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates), german(QLocale::German, QLocale::Germany);
    const std::pair<const char *, VersionOutcome> cases[] = {
        {"2.5", VersionOutcome::NewerVersion}, {"  10 \t\r\n1.0", VersionOutcome::NewerVersion},
        {"2.4", VersionOutcome::NoUpdates},    {"1.9\n3.0", VersionOutcome::NoUpdates},
        {"", VersionOutcome::Failed},          {"\n2.5", VersionOutcome::Failed},
        {"2,5", VersionOutcome::Failed},       {"1,000", VersionOutcome::Failed},
        {"v2.5", VersionOutcome::Failed},
    };
    for (const auto &[text, outcome] : cases) EXPECT_EQ(JudgeVersionFile(text, english), outcome) << text;
    EXPECT_EQ(ReadVersionNumber("2,5\n", german), 2.5);
    EXPECT_EQ(JudgeVersionFile("2.5", german), VersionOutcome::Failed);
}

TEST(DownloadTest, CopiesAFileAddressOrFailsLeavingNoFile)
{
    TempFolder folder;
    folder.Write("site/version.txt", "2.5\r\nnotes\r\n");
    std::int64_t received = -1, total = -1;
    DownloadToFile(FileAddress(folder.Path("site/version.txt")), folder.Path("temp.tmp"),
                   [&](std::int64_t now, std::int64_t expected) { received = now, total = expected; });
    EXPECT_EQ(folder.Read("temp.tmp"), "2.5\r\nnotes\r\n");
    EXPECT_EQ(received, 12);
    EXPECT_EQ(total, 12);

    const std::string failing[] = {FileAddress(folder.Path("missing.txt")), "gopher://quorlin.example/"};
    for (const std::string &address : failing) {
        EXPECT_THROW(DownloadToFile(address, folder.Path("temp.tmp"), {}), std::runtime_error) << address;
        EXPECT_FALSE(folder.Exists("temp.tmp")) << address;
    }
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

    TempFolder site;
};

TEST_F(VersionWindowTest, ActivationDownloadsAndComparesTheVersionFile)
{
    const std::tuple<const char *, QString, bool> cases[] = {
        {"2.5\n", "New Version Available! Click \"Get the new version\" to visit the download page...", true},
        {"2.4\n", "There are no new updates available.", false},
        {nullptr, "Cannot Download Version Info. Please, try again later. ", false},
    };
    for (const auto &[versionFile, status, offered] : cases) {
        if (versionFile) site.Write("version.txt", versionFile);
        else std::filesystem::remove(site.Path("version.txt"));
        Form8->FormShow();
        EXPECT_EQ(Form8->Ui()->Label1->text(), status);
        EXPECT_EQ(Form8->Ui()->BitBtn6->isEnabled(), offered) << status.toStdString();
        EXPECT_EQ(!Form8->Ui()->BitBtn1->isHidden(), offered) << status.toStdString();
        EXPECT_TRUE(Form8->Ui()->ProgressBar1->isHidden());
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
        statusWhileOpen = Form8->Ui()->Label1->text();
        fileWhileOpen = folder.Exists("temp.tmp");
        Form8->Ui()->BitBtn2->click();
    });
    Window().Ui()->BitBtn14->click();
    EXPECT_TRUE(statusWhileOpen.startsWith("New Version Available!"));
    EXPECT_TRUE(fileWhileOpen);
    EXPECT_FALSE(Form8->isVisible());
    EXPECT_FALSE(folder.Exists("temp.tmp"));
}

}  // namespace
