#include "builder/ControlRules.h"

#include <gtest/gtest.h>

TEST(ControlRulesTest, NamedColoursWriteTheirTableValues)
{
    const auto &colors = NamedColors();
    EXPECT_STREQ(colors.front().name, "Black");
    EXPECT_STREQ(colors.back().name, "Medium Gray");
    EXPECT_EQ(ColorToHtml(colors[16].color), "#C0DCC0") << colors[16].name;
    EXPECT_EQ(ColorToHtml(colors[18].color), "#FFFBF0") << colors[18].name;
    EXPECT_EQ(ColorToHtml(colors[17].color), "#A6CAF0") << colors[17].name;
    for (size_t i = 0; i < colors.size(); ++i)
        EXPECT_EQ(NamedColorIndex(colors[i].color), int(i)) << "every named colour is found at its own place";
}

TEST(ControlRulesTest, TypedTextsFindTheirNamedColour)
{
    EXPECT_STREQ(NamedColors()[NamedColorIndex(HtmlToColor("#ff0000"))].name, "Red");
    EXPECT_STREQ(NamedColors()[NamedColorIndex(HtmlToColor("#C0C0C0"))].name, "Silver");
    EXPECT_EQ(NamedColorIndex(HtmlToColor("#1A2B3C")), -1);
    EXPECT_EQ(NamedColorIndex(HtmlToColor("transparent")), -1);
    EXPECT_EQ(ColorToHtml(ShownColor(HtmlToColor("transparent"))), "#000000") << "the none colour shows black";
    EXPECT_EQ(ToTColor(ToQColor(HtmlToColor("#1A2B3C"))), HtmlToColor("#1A2B3C"));
}

TEST(ControlRulesTest, ListOrderIgnoresCaseAndComparesDigitsAsCharacters)
{
    EXPECT_TRUE(ComesBefore("10", "9"));
    EXPECT_TRUE(ComesBefore("apple", "Banana"));
    EXPECT_TRUE(ComesBefore("Apple", "banana"));
    EXPECT_FALSE(ComesBefore("bold", "Bold"));
    EXPECT_FALSE(ComesBefore("Bold", "bold"));
}

TEST(ControlRulesTest, SortingDropsExactDuplicatesOnly)
{
    const StringList sizes = {"12", "9", "10", "12", "14", "small", "medium", "x-large", "larger", "72"};
    EXPECT_EQ(SortedWithoutDuplicates(sizes),
              (StringList{"10", "12", "14", "72", "9", "larger", "medium", "small", "x-large"}));
    EXPECT_EQ(SortedWithoutDuplicates({"bold", "Bold", "bold"}), (StringList{"bold", "Bold"}));
    EXPECT_TRUE(SortedWithoutDuplicates({}).empty());
}

TEST(ControlRulesTest, FolderEntriesThatAreNoChoicesAreDropped)
{
    EXPECT_EQ(WithoutNonChoices({"", ".", "..", "logo.gif", "Thumbs.db", "THUMBS.DB", "thumbs.db", "old", "thumbs.dbx"}),
              (StringList{"logo.gif", "old", "thumbs.dbx"}));
}

TEST(ControlRulesTest, ChoiceListSelectsOrAddsTheCurrentChoice)
{
    const struct {
        StringList found;
        std::string current;
        StringList entries;
        int selected;
    } cases[] = {
        {{"wide", "narrow"}, "wide", {"narrow", "wide"}, 1},
        {{"wide", "narrow"}, "Wide", {"narrow", "wide", "Wide"}, 2},
        {{}, "missing", {"missing"}, 0},
        {{"b", "a"}, "", {"", "a", "b"}, 0},
        {{"a", "c", "c"}, "c", {"a", "c", "c"}, 1},
    };
    for (const auto &[found, current, entries, selected] : cases) {
        const ChoiceList list = ListWithChoice(found, current);
        EXPECT_EQ(list.entries, entries) << current;
        EXPECT_EQ(list.selected, selected) << current;
    }
}
