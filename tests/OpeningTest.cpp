#include "ControlsFixture.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace {

class OpeningTest : public ControlsFixture {
protected:
    // A small template: one style sheet, one colour, the given page.
    void AddSmall(const std::string &id, const std::string &page)
    {
        WriteTemplateFile(id, "settings.qrl", "Small " + id + "\nMe\nFree\n");
        WriteTemplateFile(id, "index.html", page);
        WriteTemplateFile(id, "style_files.xml",
                          ItemFile("<item><title>Main</title><filename>main.css</filename><folder>css\\</folder>"
                                "<var>%%CSS%%</var><media>screen</media></item>"));
        WriteTemplateFile(id, "css/main.css", "body {\r\n  color: %%INK%%;\r\n}");
        WriteTemplateFile(id, "colors.xml",
                          ItemFile("<item><title>Ink</title><var>%%ink%%</var><default>#102030</default></item>"));
    }
};


constexpr const char *kLimitedChild = "QUORLIN_LIMITED_CHILD";

// Runs the current test again in a child process whose data size is capped,
// so that a runaway read ends there; gives the child's wait status.
int RunInLimitedChild(rlim_t dataLimit)
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    setenv(kLimitedChild, "1", 1);
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{dataLimit, dataLimit};
        setrlimit(RLIMIT_DATA, &limit);
        execl("/proc/self/exe", "quorlin_tests", filter.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    unsetenv(kLimitedChild);
    int status = -1;
    waitpid(child, &status, 0);
    return status;
}

long PeakResidentMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

}  // namespace

TEST_F(OpeningTest, OpensASampleTemplateIntoTheTables)
{
    InstallSample("meadowlark");
    Open("meadowlark");
    TForm1 &window = Window();
    const auto *ui = window.Ui();
    EXPECT_TRUE(boxes.Shown().empty()) << boxes.Texts().join('|').toStdString();
    EXPECT_EQ(window.windowTitle(), "Quorlin -- Meadowlark Guesthouse");
    EXPECT_EQ(ui->PageControl1->currentWidget(), ui->TabSheet2);
    EXPECT_EQ(window.ColorTable().rows.size(), size_t(ui->ListBox2->count()));
    const std::string preview = ReadTemplateFile("meadowlark", window.Names().TempFile);
    EXPECT_NE(preview.find("<style type=\"text/css\" media=\"screen\">"), std::string::npos);
    EXPECT_EQ(preview.find("%%"), std::string::npos) << "every variable is replaced";
    EXPECT_TRUE(window.updatesEnabled());
}

TEST_F(OpeningTest, TemplateWithoutSettingsFileUsesTheFallbackNames)
{
    InstallSample("ledgerline");
    Open("ledgerline");
    const TemplateNames &names = Window().Names();
    EXPECT_EQ(names.TempFile, "index_temp.html");
    EXPECT_EQ(names.TempFolder, "template");
    EXPECT_EQ(names.PresetRoot, "presets");
    EXPECT_EQ(names.ImageRoot, "");
    EXPECT_FALSE(Window().Ui()->PageControl2->isTabVisible(3)) << "no fonts.xml: no fonts tab";
    EXPECT_TRUE(folder.Exists("templates/ledgerline/index_temp.html"));
}

TEST_F(OpeningTest, SettingsValuesAreTidiedButTheTempFileIsNot)
{
    AddSmall("t", "%%CSS%%");
    WriteTemplateFile("t", "quorlin_settings.xml",
                      ItemFile("<item><imageroot>  /pics\\ </imageroot><tempfile> prev.html</tempfile>"
                            "<tempfolder></tempfolder><presetroot>my\\sets\\</presetroot></item>"));
    Open("t");
    const TemplateNames &names = Window().Names();
    EXPECT_EQ(names.ImageRoot, "pics");
    EXPECT_EQ(names.TempFile, " prev.html");
    EXPECT_EQ(names.TempFolder, "template");
    EXPECT_EQ(names.PresetRoot, "my/sets");
    EXPECT_TRUE(folder.Exists("templates/t/ prev.html"));
}

TEST_F(OpeningTest, StyleSheetIsInlinedAtTheFirstOccurrenceOfItsVariable)
{
    AddSmall("t", "<head>%%css%%</head>\n<p>%%CSS%%</p>\n");
    Open("t");
    const StringList page = Window().WorkingPage().Lines();
    ASSERT_EQ(page.size(), 5u);
    EXPECT_EQ(page[0], "<head><style type=\"text/css\" media=\"screen\">body {");
    EXPECT_EQ(page[1], "  color: %%INK%%;");
    EXPECT_EQ(page[2], "}</style></head>");
    EXPECT_EQ(page[3], "<p>%%CSS%%</p>");
    EXPECT_EQ(ReadTemplateFile("t", "index_temp.html"),
              "<head><style type=\"text/css\" media=\"screen\">body {\n  color: #102030;\n}</style></head>\n"
              "<p>%%CSS%%</p>\n")
        << "the preview keeps the page's LF line ends";
}

TEST_F(OpeningTest, PreviewFileOutsideTheTemplateFolderIsNotTaken)
{
    AddSmall("t", "page");
    folder.Write("templates/keep.html", "precious");
    WriteTemplateFile("t", "quorlin_settings.xml", ItemFile("<item><tempfile>..\\keep.html</tempfile></item>"));
    Open("t");
    EXPECT_EQ(Window().Names().TempFile, "index_temp.html");
    EXPECT_EQ(folder.Read("templates/keep.html"), "precious");
    EXPECT_EQ(ReadTemplateFile("t", "index_temp.html"), "page");
}

TEST_F(OpeningTest, MissingFilesEndTheOpeningWithOneErrorBox)
{
    AddSmall("nopage", "");
    std::filesystem::remove(folder.Path("templates/nopage/index.html"));
    AddSmall("nosheet", "%%CSS%%");
    std::filesystem::remove(folder.Path("templates/nosheet/css/main.css"));
    for (const char *id : {"nopage", "nosheet"}) {
        ScriptedBoxes shown;
        Open(id);
        ASSERT_EQ(shown.Shown().size(), 1u) << id;
        EXPECT_EQ(shown.Shown()[0].kind, platform::BoxKind::Error);
        EXPECT_EQ(shown.Texts()[0], "Error: Cannot Load Template Settings. You may need to reinstall Quorlin.");
        EXPECT_TRUE(Window().updatesEnabled());
        EXPECT_FALSE(Window().Ui()->PageControl1->isTabVisible(1));
    }
}

TEST_F(OpeningTest, MissingStyleSheetListIsReportedAndTheOpeningGoesOn)
{
    AddSmall("t", "%%CSS%% %%INK%%");
    std::filesystem::remove(folder.Path("templates/t/style_files.xml"));
    Open("t");
    EXPECT_EQ(boxes.Texts(), QStringList{"Missing configuration file (\"style_files.xml\")"});
    EXPECT_EQ(ReadTemplateFile("t", "index_temp.html"), "%%CSS%% #102030");
}

TEST_F(OpeningTest, DefaultButtonRereadsItsFileAndPresets)
{
    AddSmall("t", "%%INK%%");
    Open("t");
    TForm1 &window = Window();
    window.ColorTable().rows[0].value = "#FFFFFF";
    WriteTemplateFile("t", "presets/colors/warm.xml", ItemFile(""));
    window.Ui()->Button6->click();
    EXPECT_EQ(window.ColorTable().rows[0].value, "#102030");
    EXPECT_EQ(Items(window.Ui()->ListBox4), QStringList{"warm"});
    EXPECT_EQ(ReadTemplateFile("t", "index_temp.html"), "#102030");

    std::filesystem::remove(folder.Path("templates/t/colors.xml"));
    window.Ui()->Button6->click();
    EXPECT_FALSE(window.Ui()->PageControl2->isTabVisible(0));
    EXPECT_TRUE(window.ColorTable().rows.empty());
    EXPECT_EQ(ReadTemplateFile("t", "index_temp.html"), "%%INK%%");
}

TEST_F(OpeningTest, FontsFileThatFailsLeavesPaintingOn)
{
    AddSmall("t", "x");
    Open("t");
    WriteTemplateFile("t", "fonts.xml", ItemFile("<item><title><b>nested</b></title></item>"));
    EXPECT_THROW(Window().Button7Click(), std::runtime_error);
    EXPECT_TRUE(Window().updatesEnabled());
}

TEST_F(OpeningTest, FilesLinkedToAnEndlessDeviceAreRefusedUnread)
{
    if (!std::getenv(kLimitedChild)) {
        const int status = RunInLimitedChild(rlim_t{2} << 30);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
        return;
    }
    for (const char *id : {"page", "settings", "plain"}) AddSmall(id, "%%CSS%%");
    for (const auto &[id, file] : {std::pair{"page", "index.html"}, std::pair{"settings", "settings.qrl"}}) {
        const std::string path = folder.Path("templates/" + std::string(id) + "/" + file);
        std::filesystem::remove(path);
        std::filesystem::create_symlink("/dev/zero", path);
    }
    ASSERT_EQ(Window().Ui()->ListView1->topLevelItemCount(), 3);
    Open("page");
    EXPECT_EQ(boxes.Texts(), QStringList{"Error: Cannot Load Template Settings. You may need to reinstall Quorlin."});
    Open("settings");
    EXPECT_EQ(boxes.Shown().size(), 1u) << "a template without its description still opens";
    EXPECT_LT(PeakResidentMiB(), 1024);
}
