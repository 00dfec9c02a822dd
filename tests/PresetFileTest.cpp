#include "MemoryLimit.h"
#include "TempFiles.h"
#include "library/ItemWalk.h"
#include "library/Presets.h"
#include "library/XmlDocument.h"

#include <gtest/gtest.h>

namespace {

// A configuration file with its own root and container names, an element
// before the first item, an extra element per item and a comment outside.
const char *const kColors =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
    "<!-- palette of the shop -->\n"
    "<palette>\n"
    "  <set>\n"
    "    <note>kept</note>\n"
    "    <item><title>Ink</title><var>%%INK%%</var><default>#102030</default><hint>main</hint></item>\n"
    "    <item><title>Paper</title><var>%%PAPER%%</var><default>#FFFFFF</default></item>\n"
    "    <item><title>Rule</title><var>%%RULE%%</var><default>#999999</default></item>\n"
    "  </set>\n"
    "  <other><item><title>Ignored</title></item></other>\n"
    "</palette>\n";

class PresetFileTest : public ::testing::Test {
protected:
    std::string Dir() const { return folder.Path("tpl"); }
    SaveOutcome SaveColors(const std::string &name) { return SavePreset(doc, Dir(), "presets", name, colors); }

    TempFolder folder;
    XmlDocument doc;
    std::vector<ColorRow> colors{{"Ink", "%%INK%%", "#102030"}, {"Paper", "%%PAPER%%", "#FFFFFF"},
                                 {"Rule", "%%RULE%%", "#999999"}};
};

}  // namespace

TEST_F(PresetFileTest, SavedPresetIsTheConfigurationFileWithTheRowValuesAndRefusedNamesWriteNothingButTheFolders)
{
    folder.Write("tpl/colors.xml", kColors);
    for (const std::string &name : {std::string(kPresetPrompt), std::string(), std::string(" \t\r\n ")})
        EXPECT_EQ(SaveColors(name), SaveOutcome::NameMissing) << '"' << name << '"';
    for (const std::string &name : {std::string("../escaped"), std::string("a/b"), std::string("/tmp/x"),
                                   std::string("."), std::string(".."), std::string("cut\0off", 7)})
        EXPECT_EQ(SaveColors(name), SaveOutcome::NameUnsafe) << name;
    EXPECT_EQ(folder.Snapshot("tpl").size(), 3u) << "colors.xml and the preset folders only";
    EXPECT_STREQ(SaveRefusal(SaveOutcome::NameUnsafe), SaveRefusal(SaveOutcome::WriteFailed));

    ASSERT_EQ(SaveColors(" [Enter Name of Preset Here]"), SaveOutcome::Saved);
    EXPECT_TRUE(folder.Exists("tpl/presets/colors/ [Enter Name of Preset Here].xml"));
    EXPECT_EQ(SaveColors(std::string(251, 'L')), SaveOutcome::Saved) << "the longest name a file can take";

    folder.Write("tpl/presets/colors/Mine.xml", "hand-made");
    EXPECT_EQ(SaveColors("mine"), SaveOutcome::AlreadyExists) << "a name in another letter case is the same preset";
    EXPECT_EQ(folder.Read("tpl/presets/colors/Mine.xml"), "hand-made");

    std::filesystem::create_directories(Dir() + "/presets/colors/Dir.xml");
    EXPECT_EQ(SaveColors("Dir"), SaveOutcome::WriteFailed) << "a folder is no preset, and cannot be written";

    colors[0].value = "#0A0B0C";
    colors[1] = {"Paper <&> \xC3\xA9", "%%PAPER2%%", " spaced "};
    ASSERT_EQ(SaveColors("Shop"), SaveOutcome::Saved);

    EXPECT_EQ(folder.Read("tpl/presets/colors/Shop.xml"),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!-- palette of the shop -->\n<palette><set><note>kept"
              "</note><item><title>Ink</title><var>%%INK%%</var><default>#0A0B0C</default><hint>main</hint></item>"
              "<item><title>Paper &lt;&amp;&gt; \xE9</title><var>%%PAPER2%%</var><default> spaced </default></item>"
              "<item><title>Rule</title><var>%%RULE%%</var><default>#999999</default></item></set><other><item>"
              "<title>Ignored</title></item></other></palette>\n");

    colors.pop_back();
    EXPECT_THROW(SaveColors("Short"), std::runtime_error) << "fewer rows than items";
    EXPECT_FALSE(folder.Exists("tpl/presets/colors/Short.xml"));
    EXPECT_FALSE(doc.IsOpen());
    colors.push_back({"Rule", "%%RULE%%", "#1"});
    colors.push_back({"Extra", "%%EXTRA%%", "#2"});
    ASSERT_EQ(SaveColors("Long"), SaveOutcome::Saved);
    EXPECT_EQ(ReadItems(doc, Dir() + "/presets/colors/Long.xml", {"title"}).size(), 3u)
        << "rows beyond the items are dropped";

    // Image and layout presets keep the folder in <var>.
    folder.Write("tpl/images.xml",
                 "<r><c><item><image>Logo</image><url>a.jpg</url><folder>img\\logo\\</folder>"
                 "<var>%%LOGO%%</var></item></c></r>");
    folder.Write("tpl/layouts.xml",
                 "<r><c><item><title>Menu</title><default>tabs</default><folder>lay\\menu\\</folder>"
                 "<var>%%MENU%%</var></item></c></r>");
    const std::vector<ImageRow> images{{"Logo", "b.jpg", "img\\other\\", "%%LOGO%%"}};
    const std::vector<LayoutRow> layouts{{"Menu", "pills", "lay\\alt\\", "%%MENU%%"}};
    ASSERT_EQ(SavePreset(doc, Dir(), "presets", "P", images), SaveOutcome::Saved);
    ASSERT_EQ(SavePreset(doc, Dir(), "presets", "P", layouts), SaveOutcome::Saved);
    EXPECT_EQ(ReadItems(doc, Dir() + "/presets/images/P.xml", {"image", "var", "url", "folder"}).at(0),
              (std::vector<std::string>{"Logo", "img\\other\\", "b.jpg", "img\\logo\\"}));
    EXPECT_EQ(ReadItems(doc, Dir() + "/presets/layouts/P.xml", {"title", "var", "default", "folder"}).at(0),
              (std::vector<std::string>{"Menu", "lay\\alt\\", "pills", "lay\\menu\\"}));
}

TEST_F(PresetFileTest, ApplyMatchesTitlesExactlyAndStopsAtAnUnreadableItem)
{
    folder.Write("p.xml",
                 "<r><c><item><title>ink</title><var>%%LOWER%%</var><default>#000001</default></item>"
                 "<item><title>Ink </title><default>#000002</default></item>"
                 "<item><title>Paper</title><var>%%P1%%</var><default>#000003</default></item>"
                 "<item><title>Paper</title><var>%%P2%%</var><default>#000004</default></item>"
                 "<item><title>Nobody</title><default>#000005</default></item></c></r>");
    colors.push_back({"Paper", "%%PAPER_TOO%%", "#EEEEEE"});
    ApplyPreset(doc, folder.Path("p.xml"), colors);
    EXPECT_EQ(colors[0].value, "#102030") << "case and blanks count";
    for (std::size_t i : {1u, 3u}) {
        EXPECT_EQ(colors[i].value, "#000004") << "the last item of a title wins, on every row of it";
        EXPECT_EQ(colors[i].variable, "%%P2%%");
    }
    EXPECT_EQ(colors[2].value, "#999999");

    std::vector<LayoutRow> layouts{{"Menu", "tabs", "lay/menu/", "%%MENU%%"}};
    folder.Write("l.xml", "<r><c><item><title>Menu</title><default>pills</default></item></c></r>");
    ApplyPreset(doc, folder.Path("l.xml"), layouts);
    EXPECT_EQ(layouts[0].option, "pills");
    EXPECT_EQ(layouts[0].folder, "") << "a missing element reads as empty";
    EXPECT_EQ(layouts[0].variable, "%%MENU%%") << "the variable name is never read from a preset";

    folder.Write("p.xml",
                 "<r><c><item><title>Ink</title><default>#111111</default></item>"
                 "<item><title>Paper</title><default>#2<!-- no --></default></item>"
                 "<item><title>Rule</title><default>#333333</default></item></c></r>");
    EXPECT_THROW(ApplyPreset(doc, folder.Path("p.xml"), colors), std::runtime_error);
    EXPECT_EQ(colors[0].value, "#111111");
    EXPECT_EQ(colors[2].value, "#999999");
    EXPECT_THROW(ApplyPreset(doc, folder.Path("gone.xml"), colors), std::runtime_error);
    EXPECT_FALSE(doc.IsOpen());
}

// In a child process with 10 s of processor time, where rows times items
// (10^10 title comparisons) would take minutes.
TEST_F(PresetFileTest, ApplyingAPresetOfManyItemsTakesTimeLinearInThem)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    constexpr int kItems = 100000;
    std::string items;
    colors.clear();
    for (int i = 0; i < kItems; ++i) {  // items in the reverse order of the rows
        colors.push_back({"T" + std::to_string(kItems - 1 - i), "%%V%%", "#0"});
        items += "<item><title>T" + std::to_string(i) + "</title><default>#" + std::to_string(i) + "</default></item>";
    }
    folder.Write("big.xml", "<r><c>" + items + "</c></r>");
    EXPECT_EXIT(
        {
            LimitProcessorTime(10);
            ApplyPreset(doc, folder.Path("big.xml"), colors);
            int wrong = 0;
            for (int i = 0; i < kItems; ++i)
                wrong += colors[i].title + colors[i].value !=
                         "T" + std::to_string(kItems - 1 - i) + "#" + std::to_string(kItems - 1 - i);
            std::_Exit(wrong != 0);
        },
        testing::ExitedWithCode(0), "");
}
