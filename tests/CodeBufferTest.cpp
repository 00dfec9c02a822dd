#include "TempFiles.h"
#include "builder/CodeBuffer.h"
#include "builder/Substitution.h"
#include "platform/FileBytes.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <random>
#include <regex>

namespace {

using Lines = std::vector<std::string>;

std::string Joined(const Lines &lines, const std::string &lineEnd = "\n")
{
    std::string text;
    for (const std::string &line : lines) text += (&line == &lines.front() ? "" : lineEnd) + line;
    return text;
}

class CodeBufferFileTest : public ::testing::Test {
protected:
    CodeBuffer Loaded(const std::string &bytes) const
    {
        folder.Write("in.txt", bytes);
        CodeBuffer buffer;
        buffer.LoadFromFile(folder.Path("in.txt"));
        return buffer;
    }
    std::string Saved(const CodeBuffer &buffer) const
    {
        buffer.SaveToFile(folder.Path("out.txt"));
        return folder.Read("out.txt");
    }

    TempFolder folder;
};

TEST_F(CodeBufferFileTest, LoadCutsAtEveryLineEndAndSaveJoinsTheLinesInTheStyleOfTheFile)
{
    const std::string bom = "\xEF\xBB\xBF<p>caf\xC3\xA9\xFF</p>";
    const struct {
        std::string bytes;
        Lines lines;
        LineEndStyle style;
    } cases[] = {
        {"a\r\nb\rc\nd\r\r\ne", {"a", "b", "c", "d", "", "e"}, LineEndStyle::CrLf},
        {"a\nb\rc", {"a", "b", "c"}, LineEndStyle::CrLf},
        {"a\r\nb\r\n", {"a", "b", ""}, LineEndStyle::CrLf},
        {"a\r\nb", {"a", "b"}, LineEndStyle::CrLf},
        {"a\nb", {"a", "b"}, LineEndStyle::Lf},
        {"x\n", {"x", ""}, LineEndStyle::Lf},
        {"\n", {"", ""}, LineEndStyle::Lf},
        {"a\rb\r", {"a", "b", ""}, LineEndStyle::Cr},
        {"a\r\r", {"a", "", ""}, LineEndStyle::Cr},
        {"no line end", {"no line end"}, LineEndStyle::CrLf},
        {"", {}, LineEndStyle::CrLf},
        {bom + "\nend", {bom, "end"}, LineEndStyle::Lf},
        {{"a\0b\nc", 5}, {{"a\0b", 3}, "c"}, LineEndStyle::Lf},
    };
    const char *const lineEnds[] = {"\r\n", "\n", "\r"};  // in the order of LineEndStyle
    for (const auto &[bytes, lines, style] : cases) {
        const CodeBuffer buffer = Loaded(bytes);
        EXPECT_EQ(buffer.Lines(), lines) << bytes;
        EXPECT_EQ(buffer.LineEnd(), style) << bytes;
        EXPECT_EQ(Saved(buffer), Joined(lines, lineEnds[int(style)])) << bytes;
    }
}

TEST_F(CodeBufferFileTest, OptionTextEndsEveryLineWithCrLfAndStopsAtAZeroByte)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a\nb", "a\r\nb\r\n"},           {"a\r\n", "a\r\n"}, {"", ""},
        {{"ab\r\n\0cd", 7}, "ab\r\n"}, {{"\0ab", 3}, ""},     {{"ab\0cd\nef", 8}, "ab\r\n"}};
    for (const auto &[bytes, text] : cases) {
        folder.Write("in.lyo", bytes);
        EXPECT_EQ(ReadOptionText(folder.Path("in.lyo")), text) << bytes;
    }
}

TEST_F(CodeBufferFileTest, FailuresNameTheFullPathAndKeepTheBuffer)
{
    CodeBuffer buffer = Loaded("keep\nme");
    const std::string expanded = (std::filesystem::current_path() / "no-such-file.html").string();
    EXPECT_EQ(FailureText([&] { buffer.LoadFromFile("no-such-folder/../no-such-file.html"); }),
              "Cannot open file \"" + expanded + "\". No such file or directory");
    EXPECT_THROW(buffer.LoadFromFile(folder.Path()), std::runtime_error) << "a folder";
    EXPECT_EQ(buffer.Lines(), (Lines{"keep", "me"}));
    EXPECT_EQ(buffer.LineEnd(), LineEndStyle::Lf);

    const std::string target = folder.Path("no-folder/index.html");
    EXPECT_EQ(FailureText([&] { buffer.SaveToFile(target); }),
              "Cannot create file \"" + target + "\". No such file or directory");
}

TEST_F(CodeBufferFileTest, InsertedLineEndsAndLinesSetAfterClearTakeTheStyleOfTheLastLoad)
{
    CodeBuffer buffer = Loaded("<style>\n h1 { FONT_H1 }\n</style>");
    buffer.SubstituteText("font_h1", "font-family:Arial;\r\nfont-size:12px;\r\n", SubstituteMode::AllMatches);
    EXPECT_EQ(Saved(buffer), "<style>\n h1 { font-family:Arial;\nfont-size:12px;\n }\n</style>");
    buffer.Clear();
    EXPECT_TRUE(buffer.Lines().empty());
    buffer.SetLines({"one", "two", ""});
    EXPECT_EQ(Saved(buffer), "one\ntwo\n");
    EXPECT_EQ(buffer.Text(), "one\r\ntwo\r\n");
}

std::size_t AllocatedBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

TEST_F(CodeBufferFileTest, MemoryFollowsTheTextNotItsLineCount)
{
    const std::size_t size = std::size_t{8} << 20;
    folder.Write("in.txt", std::string(size, '\n'));
    const std::size_t before = AllocatedBytes();
    CodeBuffer page;
    page.LoadFromFile(folder.Path("in.txt"));
    CodeBuffer preview;
    preview.SetLines(page);
    preview.SubstituteText("x", "y", SubstituteMode::AllMatches);
    EXPECT_LT(AllocatedBytes() - before, 3 * size) << "a page and a copy that shares its text";
}

TEST(CodeBufferSubstitute, MatchesFoldAsciiCaseOnlyDoNotOverlapAndLieWithinOneLine)
{
    const struct {
        Lines lines;
        std::string search;
        int count;
        Lines after;
    } cases[] = {
        {{"aaa", "aaaa"}, "aa", 3, {"xa", "xx"}},
        {{"c: $main_color$;", "b: $MAIN_COLOR$;"}, "$Main_Color$", 2, {"c: x;", "b: x;"}},
        // "É" and "é" in UTF-8 differ in a byte that is not an ASCII letter.
        {{"\xC3\x89T\xC3\xA9"}, "\xC3\xA9t\xC3\xA9", 0, {"\xC3\x89T\xC3\xA9"}},
        {{"\xC3\x89T\xC3\xA9"}, "\xC3\x89t\xC3\xA9", 1, {"x"}},
        // '@' and '`' differ from 'A' and 'a' in the same bit as letter cases do.
        {{"@[`{"}, "`{", 1, {"@[x"}},
        {{"$Zone_z$ $zone_Z$"}, "$ZONE_Z$", 2, {"x x"}},
        {{"zZ"}, "z", 2, {"xx"}},
        // A shorter variable replaced first eats the prefix of a longer one.
        {{"a{COLOR1} b{COLOR10}"}, "COLOR1", 2, {"a{x} b{x0}"}},
        // Empty or multi-line searches replace nothing; an empty one would match at a zero byte.
        {{{"a\0c", 3}, ""}, "", 0, {{"a\0c", 3}, ""}},
        {{{"a\0c", 3}, ""}, "c\n", 0, {{"a\0c", 3}, ""}},
        {{{"a\0c", 3}, ""}, "c\r\n", 0, {{"a\0c", 3}, ""}},
    };
    for (const auto &[lines, search, count, after] : cases) {
        CodeBuffer buffer;
        buffer.SetLines(lines);
        EXPECT_EQ(buffer.SubstituteText(search, "x", SubstituteMode::AllMatches), count) << search;
        EXPECT_EQ(buffer.Lines(), after) << search;
    }
}

// ---- Against a plain model ------------------------------------------------------

std::string Lowered(std::string text)
{
    for (char &byte : text)
        if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte + 32);
    return text;
}

// One match at a time in the lines joined by "\n" (searches hold no line end).
int PlainSubstitute(std::string &text, std::size_t &offset, const std::string &search, const std::string &replacement,
                    bool firstOnly)
{
    int count = 0;
    for (std::size_t at; (at = Lowered(text).find(Lowered(search), offset)) != std::string::npos && !(firstOnly && count);
         ++count) {
        text.replace(at, search.size(), replacement);
        offset = at + replacement.size();
    }
    return count;
}

TextPosition PositionAt(const std::string &text, std::size_t offset)
{
    const std::string before = text.substr(0, offset);
    return {1 + std::size_t(std::ranges::count(before, '\n')), offset - before.rfind('\n')};  // npos counts as -1
}

TEST(CodeBufferSubstitute, AgreesWithPlainModelOverManyCalls)
{
    std::mt19937 random(20240607);
    const auto pick = [&random](const Lines &from) { return from[random() % from.size()]; };
    const Lines words = {"%%ab%%", "%%AB%%", "%%cd%%", "a", "B", "ab", "%%", " ", "cD", "$"};
    const Lines searches = {"%%ab%%", "%%CD%%", "ab", "a", "B$", "%%a"};
    const Lines pieces = {"", "%%cd%%", "ab", "b$", "x%%AB%%"};
    for (int round = 0; round < 150; ++round) {
        Lines lines(random() % 40);  // up to a few blocks
        for (std::string &line : lines)
            for (int n = random() % 8; n > 0; --n) line += pick(words);
        CodeBuffer buffer;
        buffer.SetLines(lines);
        std::string text = Joined(lines);
        std::size_t offset = 0;
        for (int call = 0; call < 5; ++call) {
            std::string replacement = pick(pieces);
            for (int n = random() % 3; n > 0; --n) replacement += pick({"\r\n", "\n", "\r"}) + pick(pieces);
            const std::string modelReplacement = std::regex_replace(replacement, std::regex("\r\n?"), "\n");
            const std::string search = pick(searches);
            const bool firstOnly = random() % 3 == 0;
            if (random() % 2) buffer.MoveToStart(), offset = 0;
            const int expected = PlainSubstitute(text, offset, search, modelReplacement, firstOnly);
            const SubstituteMode mode = firstOnly ? SubstituteMode::FirstMatch : SubstituteMode::AllMatches;
            ASSERT_EQ(buffer.SubstituteText(search, replacement, mode), expected) << "round " << round;
            ASSERT_EQ(Joined(buffer.Lines()), text) << "round " << round << " call " << call;
            ASSERT_EQ(buffer.SearchPosition(), PositionAt(text, offset)) << "round " << round << " call " << call;
        }
    }
}

// The cap counts the text as it is written with CR LF: an inserted LF takes two bytes.
TEST(CodeBufferSubstitute, TextsPastThePageCapAreRefusedBeforeAnythingChanges)
{
    const std::string lineEnds((kPageFileCap - 23 + 3 * 5) / 6, '\n');  // three matches end right at the cap
    CodeBuffer buffer;
    buffer.SetLines({"x%%V%%x %%v%%", "y", "%%V%%"});  // 13 + 2 + 1 + 2 + 5 bytes
    buffer.SubstituteText("x", "w", SubstituteMode::FirstMatch);
    EXPECT_THROW(buffer.SubstituteText("%%V%%", lineEnds + "\n", SubstituteMode::AllMatches), PageTooLarge);
    EXPECT_EQ(buffer.Lines(), (Lines{"w%%V%%x %%v%%", "y", "%%V%%"}));
    EXPECT_EQ(buffer.SearchPosition(), (TextPosition{1, 2}));
    EXPECT_EQ(buffer.SubstituteText("%%V%%", lineEnds, SubstituteMode::AllMatches), 3);
    EXPECT_EQ(buffer.Text().size(), kPageFileCap);
    buffer.MoveToStart();
    EXPECT_THROW(buffer.SubstituteText("y", "yy", SubstituteMode::FirstMatch), PageTooLarge);
    EXPECT_EQ(buffer.SubstituteText("y", "", SubstituteMode::FirstMatch), 1);
    buffer.MoveToStart();
    EXPECT_EQ(buffer.SubstituteText("x", "ab", SubstituteMode::FirstMatch), 1) << "room for one byte more";

    // Growth that stays in one match or in one call counts toward the next.
    const std::string quarter(kPageFileCap / 4, 'q');
    buffer.SetLines({"%%V%%", "%%V%%"});
    EXPECT_EQ(buffer.SubstituteText("%%v%%", quarter + "%%V%%", SubstituteMode::FirstMatch), 1);
    EXPECT_EQ(buffer.SubstituteText("%%v%%", quarter + "%%V%%", SubstituteMode::FirstMatch), 1)
        << "from behind the first insertion";
    buffer.MoveToStart();
    EXPECT_EQ(buffer.SubstituteText("%%V%%", quarter, SubstituteMode::FirstMatch), 1);
    EXPECT_THROW(buffer.SubstituteText("%%V%%", quarter, SubstituteMode::FirstMatch), PageTooLarge);
    buffer.MoveToStart();
    EXPECT_THROW(buffer.SubstituteText("q", "qq", SubstituteMode::AllMatches), PageTooLarge);
}

// A layout option file used many times would make a page of 160 MiB.
TEST_F(CodeBufferFileTest, OptionFilesRepeatedPastThePageCapAreRefused)
{
    folder.Write("tpl/layouts/big.lyo", std::string(std::size_t{8} << 20, 'o'));
    const std::vector<LayoutRow> layouts{{"Big", "big", "layouts/", "%%BIG%%"}};
    CodeBuffer buffer;
    buffer.SetLines(Lines(20, "%%BIG%%"));
    EXPECT_THROW(SubstituteRowVariables(buffer, folder.Path("tpl"), {layouts, {}, {}, {}}), PageTooLarge);
    EXPECT_EQ(buffer.Lines(), Lines(20, "%%BIG%%"));
}

}  // namespace
