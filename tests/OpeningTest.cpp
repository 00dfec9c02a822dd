#include "TemplateFixture.h"
#include "MemoryLimit.h"
#include "builder/Generation.h"

#include <QTabBar>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdlib>

namespace {

class OpeningTest : public TemplateFixture {
protected:
    // A small template: one style sheet, one colour, the given page.
    void AddSmall(const std::string &id, const std::string &page)
    {
        AddTemplate(id, page,
                    {{"style_files.xml", ItemFile("<item><title>Main</title><filename>main.css</filename><folder>css\\"
                                                  "</folder><var>%%CSS%%</var><media>screen</media></item>")},
                     {"css/main.css", "body {\r\n  color: %%INK%%;\r\n}"},
                     {"colors.xml",
                      ItemFile("<item><title>Ink</title><var>%%ink%%</var><default>#102030</default></item>")}});
    }
};

}  // namespace

TEST_F(OpeningTest, SamplesOpenIntoTheTablesWithTheTabStripLaidOut)
{
    InstallSample("ledgerline");
    std::filesystem::remove(folder.Path("templates/ledgerline/quorlin_settings.xml"));
    InstallSample("meadowlark");
    Window().show();
    const QTabBar *strip = ui()->PageControl2->tabBar();
    for (const char *id : {"ledgerline", "meadowlark", "ledgerline"}) {
        ui()->PageControl2->setCurrentIndex(4);
        ui()->PageControl1->setCurrentWidget(ui()->TabSheet1);
        Open(id);
        EXPECT_EQ(ui()->PageControl1->currentWidget(), ui()->TabSheet2);
        EXPECT_EQ(Window().ColorTable().rows.size(), size_t(ui()->ListBox2->count()));
        const std::string preview = ReadTemplateFile(id, Window().Names().TempFile);
        EXPECT_TRUE(preview.ends_with("</html>\n") && preview.find("%%") == std::string::npos) << id;
        int previousRight = -1;
        for (int tab = 0; tab < strip->count(); ++tab) {
            if (!strip->isTabVisible(tab)) continue;
            const QRect rect = strip->tabRect(tab);
            EXPECT_EQ(strip->tabAt(rect.center()), tab) << id << " tab " << tab;
            EXPECT_TRUE(previousRight < 0 || rect.left() == previousRight + 1) << id << " tab " << tab;
            previousRight = rect.right();
        }
    }
    EXPECT_TRUE(boxes.Shown().empty()) << boxes.Texts().join('|').toStdString();
    EXPECT_EQ(Window().windowTitle(), "Quorlin -- Ledgerline Bookkeeping");
    const TemplateNames &names = Window().Names();
    EXPECT_EQ((StringList{names.TempFile, names.TempFolder, names.PresetRoot, names.ImageRoot}),
              (StringList{"index_temp.html", "template", "presets", ""})) << "no settings file";
    EXPECT_FALSE(ui()->PageControl2->isTabVisible(3)) << "no fonts.xml: no fonts tab";
}

TEST_F(OpeningTest, TheStripOpensOnItsFirstTabShownSoThatAHiddenTabKeepsItsControlsOffTheScreen)
{
    AddTemplate("images", "", {{"images.xml", ItemFile("<item><image>Logo</image><url>a.gif</url></item>")}});
    AddTemplate("bare", "", {});
    AddSmall("colors", "%%CSS%%");
    Window().show();
    const std::tuple<const char *, QWidget *, int> cases[] = {
        {"images", ui()->TabSheet6, 207}, {"bare", ui()->TabSheet8, 30}, {"colors", ui()->TabSheet4, 207}};
    for (const auto &[id, tab, height] : cases) {
        Open(id);
        EXPECT_EQ(ui()->PageControl2->currentWidget(), tab) << id;
        EXPECT_EQ(ui()->PageControl2->maximumHeight(), height) << id;
        for (const QWidget *control : std::initializer_list<const QWidget *>{ui()->ColorListBox1, ui()->ListBox4, ui()->Button4})
            EXPECT_EQ(control->isVisible(), tab == ui()->TabSheet4) << id << " " << control->objectName().toStdString();
    }
    EXPECT_TRUE(boxes.Shown().empty()) << boxes.Texts().join('|').toStdString();
}

TEST_F(OpeningTest, SettingsAreTidiedButThePreviewFileAndOutputFolderNeverTakeTheTemplatesOwnFilesNorLeadOut)
{
    AddSmall("t", "%%CSS%%");
    WriteTemplateFile("t", "quorlin_settings.xml",
                      ItemFile("<item><imageroot>  /pics\\ </imageroot><tempfile>css\\ prev.html</tempfile>"
                               "<tempfolder></tempfolder><presetroot>my\\sets\\</presetroot></item>"));
    Open("t");
    const TemplateNames &names = Window().Names();
    EXPECT_EQ((StringList{names.TempFile, names.TempFolder, names.PresetRoot, names.ImageRoot}),
              (StringList{"css\\ prev.html", "template", "my/sets", "pics"}));
    EXPECT_TRUE(folder.Exists("templates/t/css/ prev.html"));
    WriteTemplateFile("t", "quorlin_settings.xml", "<r><c><item>");
    Open("t");
    EXPECT_EQ(boxes.Texts(), QStringList{"Error: Cannot Load Template Settings. You may need to reinstall Quorlin."});
    EXPECT_EQ((StringList{names.TempFile, names.TempFolder, names.PresetRoot, names.ImageRoot}),
              (StringList{"index_temp.html", "template", "presets", "images"})) << "a malformed file";

    folder.Write("templates/keep.html", "precious");
    WriteTemplateFile("t", "images.xml", ItemFile("<item><url>logo.gif</url><folder>img/</folder></item>"));
    WriteTemplateFile("t", "img/logo.gif", "GIF89a");
    const std::pair<std::string, std::string> taken[] = {
        {"index.html", "img"}, {"css\\main.css", "backup"}, {"img", "presets/"}, {"..\\keep.html", "css"},
        {"img\\logo.gif", "template"}};
    for (const auto &[tempFile, tempFolder] : taken) {
        WriteTemplateFile("t", "quorlin_settings.xml",
                          ItemFile("<item><tempfile>" + tempFile + "</tempfile><tempfolder>" + tempFolder +
                                   "</tempfolder><imagebackup>backup</imagebackup></item>"));
        Open("t");
        ui()->PageControl1->setCurrentWidget(ui()->TabSheet3);
        EXPECT_EQ(Window().Names().TempFile, "index_temp.html") << tempFile;
        EXPECT_EQ(Window().Names().TempFolder, "template") << tempFolder;
        EXPECT_EQ(ReadTemplateFile("t", "index.html"), "%%CSS%%");
        EXPECT_EQ(ReadTemplateFile("t", "img/logo.gif"), "GIF89a");
    }
    EXPECT_EQ(folder.Read("templates/keep.html"), "precious");
    WriteTemplateFile("t", "images.xml", "<r><c><item>");
    WriteTemplateFile("t", "quorlin_settings.xml", ItemFile("<item><tempfile>img/logo.gif</tempfile></item>"));
    Open("t");
    EXPECT_EQ(ReadTemplateFile("t", "img/logo.gif"), "GIF89a") << "an images.xml that fails to read may name it";
    WriteTemplateFile("t", "quorlin_settings.xml", ItemFile("<item><tempfile>index.html</tempfile></item>"));
    Open("t");
    Window().Rebuildtemplate();
    EXPECT_EQ(ReadTemplateFile("t", "index.html"), "%%CSS%%") << "also after an opening that failed";
}

TEST_F(OpeningTest, StyleSheetsAndOptionFilesLeadingOutAreSkippedButMissingFilesAndOthersLeadingOutEndTheOpening)
{
    AddSmall("t", "%%CSS%% %%LINK%% %%OUT%%");
    folder.Write("sentinel/secret.css", "SECRET");
    folder.Write("sentinel/secret.lyo", "SECRET");
    std::filesystem::create_symlink(folder.Path("sentinel/secret.css"), folder.Path("templates/t/css/link.css"));
    WriteTemplateFile("t", "style_files.xml",
                      ItemFile("<item><filename>secret.css</filename><folder>..\\..\\sentinel\\</folder>"
                               "<var>%%CSS%%</var></item><item><filename>link.css</filename><folder>css/</folder>"
                               "<var>%%LINK%%</var></item><item><var>%%CSS%%</var></item>"));
    WriteTemplateFile("t", "layouts.xml",
                      ItemFile("<item><default>secret</default><folder>../../sentinel/</folder><var>%%OUT%%</var></item>"));
    AddSmall("nopage", "");
    std::filesystem::remove(folder.Path("templates/nopage/index.html"));
    AddSmall("nosheet", "%%CSS%%");
    std::filesystem::remove(folder.Path("templates/nosheet/css/main.css"));
    folder.Write("outside/secret.xml", ItemFile("<item><title>Secret</title><var>s</var><default>#0</default></item>"));
    for (const char *id : {"linkedpage", "linkedcolors"}) AddSmall(id, "");
    for (const char *link : {"linkedpage/index.html", "linkedcolors/colors.xml"}) {
        std::filesystem::remove(folder.Path("templates/") + link);
        std::filesystem::create_symlink(folder.Path("outside/secret.xml"), folder.Path("templates/") + link);
    }
    WriteTemplateFile("nosheet", "index_temp.html", "stale");
    for (const char *id : {"nopage", "nosheet", "linkedpage", "linkedcolors"}) {
        ScriptedBoxes shown;
        Open(id);
        ASSERT_EQ(shown.Shown().size(), 1u) << id;
        EXPECT_EQ(shown.Shown()[0].kind, platform::BoxKind::Error);
        EXPECT_EQ(shown.Texts()[0], "Error: Cannot Load Template Settings. You may need to reinstall Quorlin.");
        EXPECT_TRUE(Window().updatesEnabled());
        EXPECT_FALSE(ui()->PageControl1->isTabVisible(1));
    }
    EXPECT_FALSE(folder.Exists("templates/nosheet/index_temp.html")) << "the old preview goes first";

    ScriptedBoxes skipped;
    Open("t");
    EXPECT_EQ(skipped.Texts(), QStringList{QString::fromStdString(SkippedEntriesMessage(
                                   {"../../sentinel/secret.css", "css/link.css", "../../sentinel/secret.lyo"}))});
    EXPECT_EQ(ReadTemplateFile("t", "index_temp.html"), "%%CSS%% %%LINK%% %%OUT%%");
}

TEST_F(OpeningTest, StyleSheetIsInlinedAtTheFirstOccurrenceOfItsVariableAndDefaultButtonsRereadTheirFile)
{
    AddSmall("t", "<head>%%css%%</head>\n<p>%%CSS%% %%INK%%</p>\n");
    Open("t");
    const std::string style = "<head><style type=\"text/css\" media=\"screen\">body {";
    EXPECT_EQ(Window().WorkingPage().Lines(),
              (StringList{style, "  color: %%INK%%;", "}</style></head>", "<p>%%CSS%% %%INK%%</p>", ""}));
    EXPECT_EQ(ReadTemplateFile("t", "index_temp.html"),
              style + "\n  color: #102030;\n}</style></head>\n<p>%%CSS%% #102030</p>\n")
        << "the preview keeps the page's LF line ends";
    std::filesystem::remove(folder.Path("templates/t/style_files.xml"));
    Open("t");
    EXPECT_EQ(boxes.Texts(), QStringList{"Missing configuration file (\"style_files.xml\")"});
    const std::string page = "<head>%%css%%</head>\n<p>%%CSS%% ";
    EXPECT_EQ(ReadTemplateFile("t", "index_temp.html"), page + "#102030</p>\n");

    TForm1 &window = Window();
    window.ColorTable().rows[0].value = "#FFFFFF";
    WriteTemplateFile("t", "presets/colors/warm.xml", ItemFile(""));
    window.Ui()->Button6->click();
    EXPECT_EQ(window.ColorTable().rows[0].value, "#102030");
    EXPECT_EQ(Items(window.Ui()->ListBox4), QStringList{"warm"});

    std::filesystem::remove(folder.Path("templates/t/colors.xml"));
    window.Ui()->Button6->click();
    EXPECT_FALSE(window.Ui()->PageControl2->isTabVisible(0));
    EXPECT_EQ(window.Ui()->PageControl2->maximumHeight(), 207) << "hiding the current tab is no change of tab";
    EXPECT_EQ(ReadTemplateFile("t", "index_temp.html"), page + "%%INK%%</p>\n");

    WriteTemplateFile("t", "fonts.xml",
                      ItemFile("<item><title>Body</title></item><item><title><b>nested</b></title></item>"));
    EXPECT_THROW(window.Button7Click(), std::runtime_error);
    EXPECT_TRUE(window.updatesEnabled());
    EXPECT_EQ(Items(window.Ui()->ListBox5), QStringList{"Body"}) << "the rows read before the failure stay";
    EXPECT_TRUE(window.Ui()->PageControl2->isTabVisible(3));
}

// In a child process whose address space may grow by 2 GiB only.
TEST_F(OpeningTest, OversizedFilesAndPipesAreRefusedUnread)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const char *id : {"page", "settings"}) AddSmall(id, "%%CSS%%");
    // A page of 512 MiB, four times its cap (sparse: it takes no disk), and a pipe that never ends.
    std::filesystem::resize_file(folder.Path("templates/page/index.html"), std::uintmax_t{512} << 20);
    std::filesystem::remove(folder.Path("templates/settings/settings.qrl"));
    ASSERT_EQ(mkfifo(folder.Path("templates/settings/settings.qrl").c_str(), 0600), 0);
    EXPECT_EXIT(
        {
            LimitAddressSpaceGrowth(rlim_t{2} << 30);
            Open("page");
            const bool refused = boxes.Texts() == QStringList{"Error: Cannot Load Template Settings. You may need "
                                                              "to reinstall Quorlin."};
            Open("settings");  // a template without its description still opens
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            std::filesystem::remove_all(folder.Path());
            std::_Exit(!refused || boxes.Shown().size() != 1 || usage.ru_maxrss >= 400 << 10);
        },
        testing::ExitedWithCode(0), "");
}

// Six colours, each holding the next one's variable 40 times: the page would
// grow to 40^6 values. In a child process whose address space may grow by
// 2 GiB and which may use 60 s of processor time.
TEST_F(OpeningTest, ValuesThatExpandEachOtherStopAtThePageCapWithOneMessageAndWriteNoPage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QString items;
    for (int row = 1; row <= 6; ++row)
        items += QString("<item><title>C%1</title><var>%%C%1%%</var><default>%2</default></item>")
                     .arg(QString::number(row), (row < 6 ? QString("%%C%1%%").arg(row + 1) : "#ABCDEF").repeated(40));
    AddSmall("t", "<p>%%C1%%</p>");
    WriteTemplateFile("t", "colors.xml", ItemFile(items.toStdString()));
    EXPECT_EXIT(
        {
            LimitAddressSpaceGrowth(rlim_t{2} << 30);
            LimitProcessorTime(60);
            Open("t");
            bool right = ui()->PageControl1->currentWidget() == ui()->TabSheet2 &&
                         !folder.Exists("templates/t/index_temp.html");
            std::vector<ColorRow> &colors = Window().ColorTable().rows;
            colors[5].value = "#222222";
            Window().Rebuildtemplate();
            ui()->PageControl1->setCurrentWidget(ui()->TabSheet3);
            right = right && !folder.Exists("templates/t/template/index.html") &&
                    boxes.Texts() == QStringList(3, PageTooLarge().what()) &&
                    boxes.Shown()[2].kind == platform::BoxKind::Error;
            ui()->PageControl1->setCurrentWidget(ui()->TabSheet2);
            colors[3].value = "#111111";  // 40^3 copies of it
            Window().Rebuildtemplate();
            const std::string page = "<p>" + QByteArray("#111111").repeated(64000).toStdString() + "</p>";
            right = right && ReadTemplateFile("t", "index_temp.html") == page && boxes.Shown().size() == 3;
            std::filesystem::remove_all(folder.Path());
            std::_Exit(!right);
        },
        testing::ExitedWithCode(0), "");
}
