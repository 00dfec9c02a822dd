#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

enum class LineEndStyle { CrLf, Lf, Cr };

// Thrown by a substitution whose result would pass the page cap (kPageFileCap,
// the text joined by CR LF); the buffer stays as it was.
class PageTooLarge : public std::runtime_error {
public:
    PageTooLarge();
};

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
//
// The lines are stored in blocks of whole lines joined by "\n", each with a
// signature of the byte triples it holds; copies of a buffer share the blocks
// that neither has changed.
class CodeBuffer {
public:
    // Replaces lines and style by those of the file. Throws std::runtime_error
    // "Cannot open file "<path>". <reason>" and keeps the buffer when unreadable.
    void LoadFromFile(const std::string &path);
    // Writes the lines joined by the style's line end, none after the last.
    // Throws std::runtime_error "Cannot create file "<path>". <reason>".
    void SaveToFile(const std::string &path) const;

    void SetLines(const std::vector<std::string> &lines);
    // Takes the lines of `other`; this buffer's line-end style stays.
    void SetLines(const CodeBuffer &other);
    std::vector<std::string> Lines() const;
    void Clear();

    // The lines joined by CR LF, none after the last.
    std::string Text() const;
    LineEndStyle LineEnd() const { return lineEnd_; }

    void MoveToStart() { position_ = BlockPosition{}; }
    TextPosition SearchPosition() const;

    // Replaces the first or every match of `search` (ignoring ASCII case, within
    // single lines) from the search position on, leaving the position behind the
    // last inserted text. Inserted text is not searched again by the same call.
    // Returns the number of replacements. Throws PageTooLarge, before changing
    // anything, when the text would grow past the page cap.
    int SubstituteText(const std::string &search, const std::string &replacement, SubstituteMode mode);

    // Which case-folded byte triples a block holds, as bits; lets a substitution
    // pass over blocks that cannot hold its search text.
    using Signature = std::array<std::uint64_t, 8>;
    // The bytes of one block, shared by the copies of a buffer.
    struct BlockText {
        std::shared_ptr<const char[]> bytes;
        std::size_t size = 0;
        std::string_view View() const { return {bytes.get(), size}; }
    };
    // Runs of whole lines joined by "\n", one line end between two runs,
    // with their signatures side by side.
    struct Blocks {
        std::vector<BlockText> texts;
        std::vector<Signature> signatures;
    };
    // A byte offset into the text of one block.
    struct BlockPosition {
        std::size_t block = 0;
        std::size_t offset = 0;
    };

private:
    void SetText(std::string_view text);
    std::string Joined(std::string_view lineEnd) const;

    Blocks blocks_;
    // The length of Text(), kept up to date by every change.
    std::size_t size_ = 0;
    LineEndStyle lineEnd_ = LineEndStyle::CrLf;
    BlockPosition position_;
};
