#include "builder/CodeBuffer.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace {

using Lines = std::vector<std::string>;

CodeBuffer BufferWith(const Lines &lines)
{
    CodeBuffer buffer;
    buffer.SetLines(lines);
    return buffer;
}

class CodeBufferFileTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string &name) const { return dir_.path().toStdString() + "/" + name; }

    std::string WriteFile(const std::string &name, const std::string &bytes) const
    {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string ReadFile(const std::string &path)
    {
        std::ostringstream bytes;
        bytes << std::ifstream(path, std::ios::binary).rdbuf();
        return bytes.str();
    }

    // Loads the bytes from a file and saves them straight back.
    std::string RoundTrip(const std::string &bytes) const
    {
        CodeBuffer buffer;
        buffer.LoadFromFile(WriteFile("in.txt", bytes));
        buffer.SaveToFile(PathOf("out.txt"));
        return ReadFile(PathOf("out.txt"));
    }

    static std::string FailureText(const std::function<void()> &action)
    {
        try {
            action();
        } catch (const std::runtime_error &failure) {
            return failure.what();
        }
        return "no failure";
    }

    QTemporaryDir dir_;
};

// ---- Loading and saving -------------------------------------------------------

TEST_F(CodeBufferFileTest, LoadCutsAtEveryKindOfLineEnd)
{
    CodeBuffer buffer;
    buffer.LoadFromFile(WriteFile("mixed.html", "a\r\nb\rc\nd\r\r\ne"));
    EXPECT_EQ(buffer.Lines(), (Lines{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(buffer.LineEnd(), LineEndStyle::CrLf);

    buffer.LoadFromFile(WriteFile("trailing.html", "x\n"));
    EXPECT_EQ(buffer.Lines(), (Lines{"x", ""}));

    buffer.LoadFromFile(WriteFile("empty.html", ""));
    EXPECT_TRUE(buffer.Lines().empty());
}

TEST_F(CodeBufferFileTest, StyleFollowsTheLineEndsOfTheFile)
{
    const auto styleOf = [this](const std::string &bytes) {
        CodeBuffer buffer;
        buffer.LoadFromFile(WriteFile("style.txt", bytes));
        return buffer.LineEnd();
    };
    EXPECT_EQ(styleOf("a\nb"), LineEndStyle::Lf);
    EXPECT_EQ(styleOf("a\rb\r"), LineEndStyle::Cr);
    EXPECT_EQ(styleOf("a\r\nb"), LineEndStyle::CrLf);
    EXPECT_EQ(styleOf("a\nb\rc"), LineEndStyle::CrLf);
    EXPECT_EQ(styleOf("no line end"), LineEndStyle::CrLf);
    EXPECT_EQ(CodeBuffer().LineEnd(), LineEndStyle::CrLf);
}

TEST_F(CodeBufferFileTest, OneStyleIsWrittenBackByteForByteAndMixedAsCrLf)
{
    for (const std::string bytes : {"a\r\nb\r\n", "a\r\nb", "a\nb\n", "a\nb", "a\rb\r", "a\r\r", "\n", ""})
        EXPECT_EQ(RoundTrip(bytes), bytes);
    EXPECT_EQ(RoundTrip("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
}

TEST_F(CodeBufferFileTest, BytesStayAsRead)
{
    const std::string bytes = "\xEF\xBB\xBF<p>caf\xC3\xA9\xFF</p>\nend";
    CodeBuffer buffer;
    buffer.LoadFromFile(WriteFile("bom.html", bytes));
    EXPECT_EQ(buffer.Lines().front().substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(RoundTrip(bytes), bytes);
    const std::string withZero("a\0b\nc", 5);
    EXPECT_EQ(RoundTrip(withZero), withZero);
}

TEST_F(CodeBufferFileTest, StyleOfLastLoadSurvivesSetLinesAndClear)
{
    CodeBuffer buffer;
    buffer.LoadFromFile(WriteFile("lf.html", "x\ny"));
    buffer.Clear();
    EXPECT_TRUE(buffer.Lines().empty());
    buffer.SetLines({"one", "two", ""});
    buffer.SaveToFile(PathOf("out.html"));
    EXPECT_EQ(ReadFile(PathOf("out.html")), "one\ntwo\n");
    EXPECT_EQ(buffer.LineEnd(), LineEndStyle::Lf);
    EXPECT_EQ(buffer.Text(), "one\r\ntwo\r\n");
}

TEST_F(CodeBufferFileTest, FailedLoadNamesTheFullPathAndKeepsTheBuffer)
{
    CodeBuffer buffer;
    buffer.LoadFromFile(WriteFile("lf.html", "keep\nme"));
    const std::string missing = PathOf("missing.html");
    EXPECT_EQ(FailureText([&] { buffer.LoadFromFile(missing); }),
              "Cannot open file \"" + missing + "\". No such file or directory");
    EXPECT_EQ(FailureText([&] { buffer.LoadFromFile(dir_.path().toStdString()); }),
              "Cannot open file \"" + dir_.path().toStdString() + "\". Is a directory");
    EXPECT_EQ(buffer.Lines(), (Lines{"keep", "me"}));
    EXPECT_EQ(buffer.LineEnd(), LineEndStyle::Lf);

    const std::string relative = "no-such-folder/../no-such-file.html";
    const std::string expanded = (std::filesystem::current_path() / "no-such-file.html").string();
    EXPECT_EQ(FailureText([&] { buffer.LoadFromFile(relative); }),
              "Cannot open file \"" + expanded + "\". No such file or directory");
}

TEST_F(CodeBufferFileTest, FailedSaveNamesTheFullPath)
{
    const std::string target = PathOf("no-folder/index.html");
    EXPECT_EQ(FailureText([&] { BufferWith({"x"}).SaveToFile(target); }),
              "Cannot create file \"" + target + "\". No such file or directory");
}

TEST_F(CodeBufferFileTest, InsertedLineEndsTakeTheStyleOfTheFile)
{
    CodeBuffer buffer;
    buffer.LoadFromFile(WriteFile("lf.html", "<style>\n h1 { FONT_H1 }\n</style>"));
    EXPECT_EQ(buffer.SubstituteText("font_h1", "font-family:Arial;\r\nfont-size:12px;\r\n", SubstituteMode::AllMatches),
              1);
    buffer.SaveToFile(PathOf("out.html"));
    EXPECT_EQ(ReadFile(PathOf("out.html")), "<style>\n h1 { font-family:Arial;\nfont-size:12px;\n }\n</style>");
}

// ---- Matching -----------------------------------------------------------------

TEST(CodeBufferSubstitute, EmptyOrMultiLineSearchReplacesNothing)
{
    for (const SubstituteMode mode : {SubstituteMode::FirstMatch, SubstituteMode::AllMatches}) {
        CodeBuffer buffer = BufferWith({"abc", ""});
        EXPECT_EQ(buffer.SubstituteText("", "x", mode), 0);
        EXPECT_EQ(buffer.SubstituteText("c\r\n", "x", mode), 0);
        EXPECT_EQ(buffer.SubstituteText("c\n", "x", mode), 0);
        EXPECT_EQ(buffer.Lines(), (Lines{"abc", ""}));
        EXPECT_EQ(buffer.SearchPosition(), (TextPosition{1, 1}));
        CodeBuffer empty;
        EXPECT_EQ(empty.SubstituteText("abc", "x", mode), 0);
        EXPECT_TRUE(empty.Lines().empty());
    }
}

TEST(CodeBufferSubstitute, MatchesDoNotOverlap)
{
    CodeBuffer buffer = BufferWith({"aaa", "aaaa"});
    EXPECT_EQ(buffer.SubstituteText("aa", "b", SubstituteMode::AllMatches), 3);
    EXPECT_EQ(buffer.Lines(), (Lines{"ba", "bb"}));
}

TEST(CodeBufferSubstitute, CaseIsIgnoredForAsciiLettersOnly)
{
    CodeBuffer buffer = BufferWith({"color: $main_color$;", "background: $MAIN_COLOR$;"});
    EXPECT_EQ(buffer.SubstituteText("$Main_Color$", "#ff0000", SubstituteMode::AllMatches), 2);
    EXPECT_EQ(buffer.Lines(), (Lines{"color: #ff0000;", "background: #ff0000;"}));

    // "É" and "é" in UTF-8 differ in a byte that is not an ASCII letter.
    CodeBuffer accents = BufferWith({"\xC3\x89T\xC3\xA9"});
    EXPECT_EQ(accents.SubstituteText("\xC3\xA9t\xC3\xA9", "x", SubstituteMode::AllMatches), 0);
    EXPECT_EQ(accents.SubstituteText("\xC3\x89t\xC3\xA9", "x", SubstituteMode::AllMatches), 1);
    // '@' and '`' differ from 'A' and 'a' in the same bit as letter cases do.
    CodeBuffer symbols = BufferWith({"@[`{"});
    EXPECT_EQ(symbols.SubstituteText("`{", "x", SubstituteMode::AllMatches), 1);
    EXPECT_EQ(symbols.Lines(), (Lines{"@[x"}));
}

// ---- Inserted text ------------------------------------------------------------

TEST(CodeBufferSubstitute, InsertedTextIsSearchedOnlyByLaterCalls)
{
    CodeBuffer buffer = BufferWith({"x y x"});
    EXPECT_EQ(buffer.SubstituteText("x", "[x]", SubstituteMode::AllMatches), 2);
    EXPECT_EQ(buffer.Lines(), (Lines{"[x] y [x]"}));
    buffer.MoveToStart();
    EXPECT_EQ(buffer.SubstituteText("X", "<x>", SubstituteMode::AllMatches), 2);
    EXPECT_EQ(buffer.Lines(), (Lines{"[<x>] y [<x>]"}));
}

TEST(CodeBufferSubstitute, LaterCallReplacesVariableInsideInsertedSnippet)
{
    CodeBuffer buffer = BufferWith({"<body>", "LAYOUT_HEADER", "</body>"});
    buffer.SubstituteText("layout_header", "<div style=\"color:COLOR_1\">\r\n</div>\r\n", SubstituteMode::AllMatches);
    buffer.MoveToStart();
    EXPECT_EQ(buffer.SubstituteText("COLOR_1", "#123456", SubstituteMode::AllMatches), 1);
    EXPECT_EQ(buffer.Lines(), (Lines{"<body>", "<div style=\"color:#123456\">", "</div>", "", "</body>"}));
}

TEST(CodeBufferSubstitute, ShorterVariableFirstEatsThePrefixOfTheLongerOne)
{
    CodeBuffer shorterFirst = BufferWith({"a{color:COLOR1} b{color:COLOR10}"});
    shorterFirst.SubstituteText("COLOR1", "#111111", SubstituteMode::AllMatches);
    shorterFirst.MoveToStart();
    EXPECT_EQ(shorterFirst.SubstituteText("COLOR10", "#101010", SubstituteMode::AllMatches), 0);
    EXPECT_EQ(shorterFirst.Lines(), (Lines{"a{color:#111111} b{color:#1111110}"}));
}

TEST(CodeBufferSubstitute, ReplacementWithLineEndsSplitsTheLine)
{
    CodeBuffer buffer = BufferWith({"first", "a F b f c", "last F"});
    EXPECT_EQ(buffer.SubstituteText("f", "1\r\n2\n3\r4", SubstituteMode::AllMatches), 4);
    EXPECT_EQ(buffer.Lines(), (Lines{"1", "2", "3", "4irst", "a 1", "2", "3", "4 b 1", "2", "3", "4 c", "last 1",
                                     "2", "3", "4"}));
    EXPECT_EQ(buffer.SearchPosition(), (TextPosition{15, 2}));
}

// ---- Search position ----------------------------------------------------------

TEST(CodeBufferSubstitute, FirstMatchReplacesOneAndLeavesThePositionBehindIt)
{
    CodeBuffer buffer = BufferWith({"no", "one VAR two VAR", "VAR"});
    EXPECT_EQ(buffer.SubstituteText("var", "value", SubstituteMode::FirstMatch), 1);
    EXPECT_EQ(buffer.Lines(), (Lines{"no", "one value two VAR", "VAR"}));
    EXPECT_EQ(buffer.SearchPosition(), (TextPosition{2, 10}));

    // A call without a match keeps the position; the next one goes on from it.
    EXPECT_EQ(buffer.SubstituteText("absent", "x", SubstituteMode::FirstMatch), 0);
    EXPECT_EQ(buffer.SearchPosition(), (TextPosition{2, 10}));
    EXPECT_EQ(buffer.SubstituteText("one", "x", SubstituteMode::AllMatches), 0);
    EXPECT_EQ(buffer.SubstituteText("var", "v2", SubstituteMode::AllMatches), 2);
    EXPECT_EQ(buffer.Lines(), (Lines{"no", "one value two v2", "v2"}));

    buffer.MoveToStart();
    EXPECT_EQ(buffer.SearchPosition(), (TextPosition{1, 1}));
    EXPECT_EQ(buffer.SubstituteText("one", "x", SubstituteMode::AllMatches), 1);
}

TEST(CodeBufferSubstitute, OccurrenceBeforeThePositionOnItsLineIsNotTaken)
{
    CodeBuffer buffer = BufferWith({"A B A", "A"});
    buffer.SubstituteText("b", "b", SubstituteMode::FirstMatch);
    EXPECT_EQ(buffer.SubstituteText("a", "x", SubstituteMode::FirstMatch), 1);
    EXPECT_EQ(buffer.Lines(), (Lines{"A b x", "A"}));
    EXPECT_EQ(buffer.SubstituteText("a", "y", SubstituteMode::AllMatches), 1);
    EXPECT_EQ(buffer.Lines(), (Lines{"A b x", "y"}));
}

// Replaces the first marker at or after the position, numbering until none is left.
int NumberRegions(CodeBuffer &buffer, const std::string &marker, const std::string &before, const std::string &after)
{
    buffer.MoveToStart();
    int n = 1;
    while (n < 100 && buffer.SubstituteText(marker, before + std::to_string(n) + after, SubstituteMode::FirstMatch) == 1)
        ++n;
    return n - 1;
}

TEST(CodeBufferSubstitute, RegionNumberingGoesOnBehindEachInsertedComment)
{
    CodeBuffer buffer = BufferWith({"<!--BEGIN_EDITABLE-->a<!--begin_editable-->", "b", "c<!--Begin_Editable-->"});
    EXPECT_EQ(NumberRegions(buffer, "<!--BEGIN_EDITABLE-->", "<!-- #BeginEditable \"Region_", "\" -->"), 3);
    EXPECT_EQ(buffer.Lines(), (Lines{"<!-- #BeginEditable \"Region_1\" -->a<!-- #BeginEditable \"Region_2\" -->", "b",
                                     "c<!-- #BeginEditable \"Region_3\" -->"}));

    // Even a comment that holds the marker itself, with line ends, is passed over.
    CodeBuffer nested = BufferWith({"<R> x <R>", "<R>"});
    EXPECT_EQ(NumberRegions(nested, "<r>", "(", ")\r\n<R>"), 3);
    EXPECT_EQ(nested.Lines(), (Lines{"(1)", "<R> x (2)", "<R>", "(3)", "<R>"}));
}

// ---- Against a plain model ------------------------------------------------------

std::string Lowered(std::string text)
{
    for (char &byte : text)
        if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte + 32);
    return text;
}

// One match at a time on lowered copies, splicing the replacement's lines in.
int PlainSubstitute(Lines &lines, TextPosition &position, const std::string &search, const Lines &pieces, bool firstOnly)
{
    int count = 0;
    std::size_t line = position.line - 1;
    std::size_t column = position.column - 1;
    while (line < lines.size()) {
        const std::size_t at = column > lines[line].size() ? std::string::npos
                                                            : Lowered(lines[line]).find(Lowered(search), column);
        if (at == std::string::npos) {
            ++line;
            column = 0;
            continue;
        }
        const std::string rest = lines[line].substr(at + search.size());
        lines[line] = lines[line].substr(0, at) + pieces.front();
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(line) + 1, pieces.begin() + 1, pieces.end());
        line += pieces.size() - 1;
        column = lines[line].size();
        lines[line] += rest;
        position = {line + 1, column + 1};
        ++count;
        if (firstOnly) break;
    }
    return count;
}

TEST(CodeBufferSubstitute, AgreesWithPlainModelOnRandomTexts)
{
    std::mt19937 random(20240607);
    const auto randomText = [&random](std::size_t maxLength) {
        static const std::string alphabet = "aAbB$";
        std::string text(random() % (maxLength + 1), ' ');
        for (char &byte : text) byte = alphabet[random() % alphabet.size()];
        return text;
    };
    for (int round = 0; round < 3000; ++round) {
        Lines lines(random() % 5);
        for (std::string &line : lines) line = randomText(12);
        Lines pieces(1 + random() % 3);
        std::string replacement;
        for (std::string &piece : pieces) {
            piece = randomText(3);
            replacement += (&piece == &pieces.front() ? "" : random() % 2 ? "\r\n" : "\n") + piece;
        }
        const std::string search = randomText(3);
        const bool firstOnly = random() % 2;
        if (search.empty()) continue;

        CodeBuffer buffer = BufferWith(lines);
        TextPosition position;
        for (int call = 0; call < 3; ++call) {
            const int expected = PlainSubstitute(lines, position, search, pieces, firstOnly);
            const SubstituteMode mode = firstOnly ? SubstituteMode::FirstMatch : SubstituteMode::AllMatches;
            ASSERT_EQ(buffer.SubstituteText(search, replacement, mode), expected) << "round " << round;
            ASSERT_EQ(buffer.Lines(), lines) << "round " << round;
            ASSERT_EQ(buffer.SearchPosition(), position) << "round " << round;
        }
    }
}

} // namespace
