#include "builder/CodeBuffer.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A plain model of the substitution: one call, scanning line by line from the
// search position, case folded byte by byte, inserted text never rescanned.
struct ModelText {
    std::vector<std::string> lines;
    TextPosition position;

    static std::string Lower(std::string text)
    {
        for (char &c : text)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return text;
    }

    int Substitute(const std::string &search, const std::string &replacement, bool firstOnly)
    {
        int count = 0;
        const std::string needle = Lower(search);
        for (std::size_t line = position.line - 1, column = position.column - 1; line < lines.size(); ++line, column = 0) {
            std::size_t at = Lower(lines[line]).find(needle, column);
            while (at != std::string::npos) {
                const std::string tail = lines[line].substr(at + search.size());
                std::string inserted = lines[line].substr(0, at) + replacement;
                // Split the inserted text at its LF line ends.
                std::size_t cut;
                while ((cut = inserted.find('\n')) != std::string::npos) {
                    lines.insert(lines.begin() + static_cast<long>(line), inserted.substr(0, cut));
                    inserted.erase(0, cut + 1);
                    ++line;
                }
                lines[line] = inserted + tail;
                position = {line + 1, inserted.size() + 1};
                if (++count == 1 && firstOnly) return count;
                at = Lower(lines[line]).find(needle, inserted.size());
            }
        }
        return count;
    }
};

TEST(LineSkipping, SubstitutionsMatchAPlainModelOverManyCalls)
{
    std::mt19937 random(7);
    const std::vector<std::string> words = {"%%ab%%", "%%AB%%", "%%cd%%", "x", "ab", "%%", " ", "cD", "<p>"};
    const auto pick = [&](const std::vector<std::string> &from) { return from[random() % from.size()]; };
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> lines(1 + random() % 6);
        for (std::string &line : lines)
            for (int n = random() % 8; n > 0; --n) line += pick(words);
        CodeBuffer buffer;
        buffer.SetLines(lines);
        ModelText model{lines, {}};
        for (int call = 0; call < 6; ++call) {
            const std::string search = pick({"%%ab%%", "%%CD%%", "ab", "x", "<P>"});
            const std::string replacement = pick({"", "%%cd%%", "1\n%%ab%%\n2", "\nab", "x%%ab%%"});
            const bool firstOnly = random() % 3 == 0;
            if (random() % 2) {
                buffer.MoveToStart();
                model.position = {};
            }
            const int expected = model.Substitute(search, replacement, firstOnly);
            ASSERT_EQ(buffer.SubstituteText(search, replacement,
                                            firstOnly ? SubstituteMode::FirstMatch : SubstituteMode::AllMatches),
                      expected);
            ASSERT_EQ(buffer.Lines(), model.lines) << "round " << round << " call " << call;
            ASSERT_EQ(buffer.SearchPosition(), model.position) << "round " << round << " call " << call;
        }
    }
}

}  // namespace
