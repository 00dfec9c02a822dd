#include "builder/ControlRules.h"

#include <gtest/gtest.h>

TEST(ControlRulesTest, NamedColoursWriteTheirTableValuesAndTypedTextsFindThem)
{
    const auto &colors = NamedColors();
    const std::pair<int, const char *> systemColors[] = {{16, "#C0DCC0"}, {17, "#A6CAF0"}, {18, "#FFFBF0"}};
    for (const auto &[index, html] : systemColors)
        EXPECT_EQ(ColorToHtml(colors[index].color), html) << colors[index].name;
    for (size_t i = 0; i < colors.size(); ++i)
        EXPECT_EQ(NamedColorIndex(colors[i].color), int(i)) << "every named colour is found at its own place";
    EXPECT_STREQ(colors[NamedColorIndex(HtmlToColor("#c0c0c0"))].name, "Silver");
    for (const char *html : {"#1A2B3C", "transparent"}) EXPECT_EQ(NamedColorIndex(HtmlToColor(html)), -1) << html;
    EXPECT_EQ(ColorToHtml(ShownColor(HtmlToColor("transparent"))), "#000000") << "the none colour shows black";
    EXPECT_EQ(ToTColor(ToQColor(HtmlToColor("#1A2B3C"))), HtmlToColor("#1A2B3C"));
}

TEST(ControlRulesTest, SortingIgnoresCaseComparesDigitsAsCharactersAndDropsExactDuplicatesOnly)
{
    const std::pair<StringList, StringList> cases[] = {
        {{"12", "9", "10", "12", "14", "small", "medium", "x-large", "larger", "72"},
         {"10", "12", "14", "72", "9", "larger", "medium", "small", "x-large"}},
        {{"Banana", "bold", "apple", "Bold", "bold"}, {"apple", "Banana", "bold", "Bold"}},
        {{"Bold", "bold", "Apple", "banana"}, {"Apple", "banana", "Bold", "bold"}},
        {{}, {}},
    };
    for (const auto &[entries, sorted] : cases) EXPECT_EQ(SortedWithoutDuplicates(entries), sorted);
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
