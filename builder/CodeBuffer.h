#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class LineEndStyle { CrLf, Lf, Cr };

enum class SubstituteMode { FirstMatch, AllMatches };

// Where the next substitution starts to scan; line and column count from 1.
struct TextPosition {
    std::size_t line = 1;
    std::size_t column = 1;

    bool operator==(const TextPosition &) const = default;
};

// A text held as lines of bytes (no line holds a CR or LF) together with the
// line-end style used whenever the text is written out. The style is taken
// from the last file loaded and kept by every other operation.
class CodeBuffer {
public:
    // Replaces lines and style by those of the file. Throws std::runtime_error
    // "Cannot open file "<path>". <reason>" and keeps the buffer when unreadable.
    void LoadFromFile(const std::string &path);
    // Writes the lines joined by the style's line end, none after the last.
    // Throws std::runtime_error "Cannot create file "<path>". <reason>".
    void SaveToFile(const std::string &path) const;

    void SetLines(const std::vector<std::string> &lines);
    const std::vector<std::string> &Lines() const { return lines_; }
    void Clear();

    // The lines joined by CR LF, none after the last.
    std::string Text() const;
    LineEndStyle LineEnd() const { return lineEnd_; }

    void MoveToStart() { position_ = TextPosition{}; }
    TextPosition SearchPosition() const { return position_; }

    // Replaces the first or every match of `search` (ignoring ASCII case, within
    // single lines) from the search position on, leaving the position behind the
    // last inserted text. Inserted text is not searched again by the same call.
    // Returns the number of replacements.
    int SubstituteText(const std::string &search, const std::string &replacement, SubstituteMode mode);

    // Which case-folded byte pairs a line holds, as bits; lets a substitution
    // pass over lines that cannot hold its search text.
    using LineSignature = std::array<std::uint64_t, 4>;

private:
    void SignAllLines();

    std::vector<std::string> lines_;
    std::vector<LineSignature> signatures_;
    LineEndStyle lineEnd_ = LineEndStyle::CrLf;
    TextPosition position_;
};
