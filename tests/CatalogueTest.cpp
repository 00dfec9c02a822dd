#include "TemplateFixture.h"
#include "library/Catalogue.h"
#include "library/XmlDocument.h"
#include "platform/FolderLock.h"

#include <QWebEngineView>

#include <atomic>
#include <map>
#include <chrono>
#include <thread>

namespace {

auto Fields(const TemplateEntry &e) { return std::tie(e.title, e.author, e.folder, e.license); }

class CatalogueTest : public TemplateFixture {
protected:
    QStringList Row(int row)
    {
        QStringList texts;
        for (int column = 0; column < 4; ++column) texts << ui()->ListView1->topLevelItem(row)->text(column);
        return texts;
    }
};

}  // namespace

TEST(CatalogueFile, SettingsNeedThreeLinesAndValuesReadBackByteForByte)
{
    TempFolder dir;
    const std::pair<std::string, TemplateEntry> cases[] = {
        {"Title\r\nAuthor\n", {"a", "", "a", ""}},
        {"Title\rAuthor\r\r", {"Title", "Author", "b", ""}},
        {"Title\nAuthor\nGPL\nextra\n", {"Title", "Author", "c", "GPL"}},
    };
    for (const auto &[settings, entry] : cases) {
        dir.Write(entry.folder + "/settings.qrl", settings);
        const TemplateEntry read = ReadTemplateEntry(dir.Path(entry.folder), entry.folder);
        EXPECT_EQ(Fields(read), Fields(entry)) << settings;
    }
    EXPECT_EQ(ReadTemplateEntry(dir.Path("missing"), "missing").title, "missing");

    // Escaped characters, a Latin-1 name, control and zero bytes, a lone surrogate, overlong sequences.
    const std::vector<TemplateEntry> entries = {
        {"Caf\xC3\xA9 & B\xC3\xA4" "ckerei <b>", "Zo\xC3\xAB > all", "caf\xE9", "CC-BY"},
        {std::string("a\x01" "b\0c", 5), "\xED\xA0\x80", "x\x1F", "\xC0\xAF\xE0\x80\x80\tz"},
        {"", "", "x", ""}};
    const std::string text = CatalogueText(entries);
    EXPECT_NE(text.find("<title>Caf\xC3\xA9 &amp; B\xC3\xA4" "ckerei &lt;b&gt;</title>\r\n"), std::string::npos);
    dir.Write("c.xml", text);
    XmlDocument doc;
    const auto read = ReadCatalogue(doc, dir.Path("c.xml"));
    ASSERT_EQ(read.size(), entries.size());
    for (std::size_t i = 0; i < read.size(); ++i) EXPECT_EQ(Fields(read[i]), Fields(entries[i])) << i;
}

TEST_F(CatalogueTest, ListsEveryTemplateFolderInFolderOrderNoneAsAnEmptyCatalogueAndOpensTheClickedOne)
{
    std::filesystem::create_directories(folder.Path("templates"));
    EXPECT_EQ(ui()->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(folder.Read("templates_tmp.xml"),
              "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><settings><channel>\r\n</channel></settings>\r\n");
    EXPECT_FALSE(ui()->BitBtn10->isEnabled());
    form.reset();
    WriteTemplateFile("beta", "settings.qrl", "Aardvark\nAnn\nMIT\n");
    WriteTemplateFile("alpha", "settings.qrl", "Zebra & Co\nBob\nGPL\n");
    WriteTemplateFile("bad", "settings.qrl", std::string("T\x01\0\xED\xA0\x80\nA\xC0\xAF\nL\n", 14));
    InstallSample("meadowlark");
    std::filesystem::rename(folder.Path("templates/meadowlark"), folder.Path("templates/caf\xE9"));
    folder.Write("outside/settings.qrl", "Secret\nS\nS\n");
    std::filesystem::create_directories(folder.Path("templates/gamma"));
    std::filesystem::create_symlink(folder.Path("outside/settings.qrl"), folder.Path("templates/gamma/settings.qrl"));
    ASSERT_EQ(ui()->ListView1->topLevelItemCount(), 5) << "bad settings hide no template";
    EXPECT_EQ(Row(0), QStringList({"Zebra & Co", "Bob", "alpha", "GPL"}));
    EXPECT_EQ(Row(2), QStringList({"Aardvark", "Ann", "beta", "MIT"}));
    EXPECT_EQ(Row(4), QStringList({"gamma", "", "gamma", ""})) << "a settings file leading out is not read";

    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    QTreeWidget *list = ui()->ListView1;
    for (int row : {3, 2}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row)).center());
        EXPECT_EQ(ui()->Image1->isVisible(), row == 3) << "without a screenshot the fixed picture shows";
    }

    const QPoint emptySpace(10, list->viewport()->height() - 5);
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, emptySpace);
    EXPECT_EQ(ui()->TemplateRoot->text(), "templates/beta") << "the reset is the left button's";
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, emptySpace);
    EXPECT_TRUE(ui()->TemplateRoot->text().isEmpty());
    EXPECT_EQ(Window().SelectedTemplateTitle(), "");
    EXPECT_FALSE(ui()->BitBtn10->isEnabled());

    // Deselecting with the keyboard keeps the template.
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(0));
    QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_EQ(ui()->TemplateRoot->text(), "templates/alpha");
    EXPECT_TRUE(ui()->BitBtn10->isEnabled());

    Open("caf\xE9");  // a folder name that is not UTF-8
    EXPECT_EQ(Window().TemplateFolder(), folder.Path("templates/caf\xE9"));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui()->WebBrowser1->title().startsWith("Meadowlark"); }, 10000))
        << "the preview shows";
}

TEST_F(CatalogueTest, HugeSettingsLinesAreCutSoThatNoTemplateHidesTheOthers)
{
    const std::string ampersands(1'000'000, '&'), controls(300'000, '\x01');
    for (int i = 0; i < 7; ++i) WriteTemplateFile("huge" + std::to_string(i), "settings.qrl", ampersands + "\nA\nL\n");
    WriteTemplateFile("ctl", "settings.qrl", controls + "\n" + controls + "\n" + controls + "\n");
    // A two-byte character across the cut is left out whole.
    WriteTemplateFile("plain", "settings.qrl", "Plain\n" + std::string(2047, 'a') + "\xC3\xA9tail\nMIT\n");
    ASSERT_EQ(ui()->ListView1->topLevelItemCount(), 9) << "every template listed";
    std::map<QString, QStringList> rows;
    for (int row = 0; row < 9; ++row) rows[Row(row)[2]] = Row(row);
    EXPECT_EQ(rows["huge3"], QStringList({QString(2048, '&'), "A", "huge3", "L"}));
    EXPECT_EQ(rows["ctl"][0].size(), 2048);
    EXPECT_EQ(rows["plain"], QStringList({"Plain", QString(2047, 'a'), "plain", "MIT"}));
    EXPECT_LT(folder.Read("templates_tmp.xml").size(), std::size_t{1} << 20);
}

TEST(ProgramFolderLock, ASecondHolderWaitsUntilTheFirstLetsGo)
{
    TempFolder folder;
    std::atomic<bool> released = false;
    auto first = std::make_unique<platform::FolderLock>(folder.Path());
    std::thread second([&] { const platform::FolderLock lock(folder.Path()); EXPECT_TRUE(released); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    released = true;
    first.reset();
    second.join();
    const platform::FolderLock missing(folder.Path("missing"));  // no folder: nothing to wait for
}

TEST_F(CatalogueTest, AnotherProgramStartingOrClosingOnTheFolderLeavesTheCatalogueWhole)
{
    constexpr std::size_t kTemplates = 100;
    for (std::size_t i = 0; i < kTemplates; ++i)
        WriteTemplateFile("t" + std::to_string(i), "settings.qrl", "T\nA\nL\n");
    Window();
    std::atomic<bool> done = false;
    int reads = 0, failures = 0;
    std::thread reader([&] {
        XmlDocument doc;
        for (; !done; ++reads) {
            try {
                failures += ReadCatalogue(doc, folder.Path("templates_tmp.xml")).size() != kTemplates;
            } catch (const std::runtime_error &) {
                ++failures;
            }
        }
    });
    for (int round = 0; round < 5; ++round) TForm1 second(folder.Path());
    // Each window closes after a newer one has written the catalogue.
    auto older = std::make_unique<TForm1>(folder.Path());
    for (int round = 0; round < 5; ++round) {
        auto newer = std::make_unique<TForm1>(folder.Path());
        older->close();
        EXPECT_TRUE(folder.Exists("templates_tmp.xml")) << "the newer window's catalogue, round " << round;
        older = std::move(newer);
    }
    done = true;
    reader.join();
    EXPECT_EQ(failures, 0) << reads;
    older->close();
    EXPECT_FALSE(folder.Exists("templates_tmp.xml")) << "the newest window takes its own catalogue along";
}
