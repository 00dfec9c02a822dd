#include "builder/CodeBuffer.h"

#include "platform/FileBytes.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace {

constexpr std::size_t npos = std::string::npos;

// ---- Files ----------------------------------------------------------------

std::string FullPath(const std::string &path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

void ThrowOnFailure(const FileResult &result, const char *failure, const std::string &path)
{
    if (!result) throw std::runtime_error(std::string(failure) + " \"" + FullPath(path) + "\". " + result.Text());
}

std::string ReadWholeFile(const std::string &path)
{
    std::string bytes;
    ThrowOnFailure(ReadFileBytes(path, kPageFileCap, bytes), "Cannot open file", path);
    return bytes;
}

void WriteWholeFile(const std::string &path, std::string_view bytes)
{
    ThrowOnFailure(WriteFileBytes(path, bytes), "Cannot create file", path);
}

// ---- Lines ------------------------------------------------------------------

struct LineEnds {
    bool hasCr = false;
    bool hasLf = false;
};

// Turns every CR LF, CR and LF of `text` into one "\n"; tells which line-end bytes it held.
LineEnds UnifyLineEnds(std::string &text)
{
    if (text.find('\r') == npos) return {false, text.find('\n') != npos};
    LineEnds ends;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char byte = text[i];
        if (byte == '\r') {
            ends.hasCr = true;
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ends.hasLf = true;
                ++i;
            }
            byte = '\n';
        } else if (byte == '\n') {
            ends.hasLf = true;
        }
        text[kept++] = byte;
    }
    text.resize(kept);
    return ends;
}

LineEndStyle StyleOf(const LineEnds &ends)
{
    if (ends.hasCr && !ends.hasLf) return LineEndStyle::Cr;
    if (ends.hasLf && !ends.hasCr) return LineEndStyle::Lf;
    return LineEndStyle::CrLf;
}

std::string_view LineEndBytes(LineEndStyle style)
{
    switch (style) {
    case LineEndStyle::Lf: return "\n";
    case LineEndStyle::Cr: return "\r";
    case LineEndStyle::CrLf: break;
    }
    return "\r\n";
}

// Appends `text` with each "\n" written as `lineEnd`.
void AppendWithLineEnds(std::string &out, std::string_view text, std::string_view lineEnd)
{
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        out.append(text.substr(start, end - start));
        if (end == npos) return;
        out += lineEnd;
        start = end + 1;
    }
}

// ---- Matching -----------------------------------------------------------------

char LowerAscii(char byte)
{
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

char UpperAscii(char byte)
{
    return byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte;
}

bool IsAsciiLetter(char byte)
{
    return LowerAscii(byte) != UpperAscii(byte);
}

// The byte that candidates are located by: the first that is not a letter,
// which needs one scan instead of one per case, or else the first byte.
std::size_t AnchorIndex(const std::string &search)
{
    const auto nonLetter = std::find_if_not(search.begin(), search.end(), IsAsciiLetter);
    return nonLetter == search.end() ? 0 : static_cast<std::size_t>(nonLetter - search.begin());
}

// ---- Blocks -------------------------------------------------------------------

using Signature = CodeBuffer::Signature;
using Blocks = CodeBuffer::Blocks;
using BlockPosition = CodeBuffer::BlockPosition;
using BlockText = CodeBuffer::BlockText;

// A block ends at the first line end after this many bytes; a changed block
// is cut again once it has grown past kSplitBytes.
constexpr std::size_t kBlockBytes = 256;
constexpr std::size_t kSplitBytes = 4 * kBlockBytes;
constexpr int kSignatureBits = std::countr_zero(std::tuple_size_v<Signature> * 64);

// Triples across a line end are left out: no search text holds one.
Signature SignatureOf(std::string_view text)
{
    Signature signature{};
    std::uint32_t triple = 0;
    std::size_t lineBytes = 0;
    for (const char byte : text) {
        if (byte == '\n') {
            lineBytes = 0;
            continue;
        }
        triple = (triple << 8 | static_cast<unsigned char>(LowerAscii(byte))) & 0xFFFFFF;
        if (++lineBytes < 3) continue;
        const unsigned bit = (triple * 0x9E3779B1u) >> (32 - kSignatureBits);
        signature[bit >> 6] |= std::uint64_t{1} << (bit & 63);
    }
    return signature;
}

bool MayContain(const Signature &block, const Signature &search)
{
    std::uint64_t missing = 0;
    for (std::size_t i = 0; i < block.size(); ++i) missing |= search[i] & ~block[i];
    return missing == 0;
}

// One allocation per block, shared by every copy of the buffer.
BlockText MakeText(std::string_view text)
{
    std::shared_ptr<char[]> bytes = std::make_shared_for_overwrite<char[]>(text.size());
    std::copy(text.begin(), text.end(), bytes.get());
    return {std::move(bytes), text.size()};
}

void PushBlock(Blocks &blocks, std::string_view text)
{
    blocks.signatures.push_back(SignatureOf(text));
    blocks.texts.push_back(MakeText(text));
}

void ClearBlocks(Blocks &blocks)
{
    blocks.texts.clear();
    blocks.signatures.clear();
}

// Cuts `text` (lines joined by "\n") into blocks of whole lines and appends
// them to `blocks`; returns where `offset` of the text lies among them.
BlockPosition AppendBlocks(std::string_view text, Blocks &blocks, std::size_t offset = 0)
{
    BlockPosition position;
    for (std::size_t start = 0;;) {
        const std::size_t cut = text.size() - start > kBlockBytes ? text.find('\n', start + kBlockBytes) : npos;
        const std::size_t end = cut == npos ? text.size() : cut;
        if (offset >= start && offset <= end) position = {blocks.texts.size(), offset - start};
        PushBlock(blocks, text.substr(start, end - start));
        if (cut == npos) return position;
        start = cut + 1;
    }
}

std::size_t LinesIn(std::string_view text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Finds a non-empty search text without line ends in one block at a time,
// ignoring ASCII case. Candidates are located with memchr by the anchor byte in
// each of its cases; the next occurrence of each case is remembered, so a block
// is scanned at most once per case.
class CaseBlindFinder {
public:
    explicit CaseBlindFinder(const std::string &search)
        : lowered_(search),
          anchor_(AnchorIndex(search)),
          anchorLower_(LowerAscii(search[anchor_])),
          anchorUpper_(UpperAscii(search[anchor_]))
    {
        for (char &byte : lowered_) byte = LowerAscii(byte);
    }

    std::size_t Length() const { return lowered_.size(); }

    // The first match in `text` starting at or after `from`.
    std::size_t FirstMatch(std::string_view text, std::size_t from)
    {
        text_ = text;
        nextLower_ = Scan(anchorLower_, from + anchor_);
        nextUpper_ = anchorUpper_ == anchorLower_ ? npos : Scan(anchorUpper_, from + anchor_);
        return NextMatch(from);
    }

    // The next match in the same text at or after `from`, which never lies
    // before the start of an earlier request.
    std::size_t NextMatch(std::size_t from)
    {
        for (;;) {
            const std::size_t anchor = NextAnchor(from + anchor_);
            if (anchor == npos) return npos;
            const std::size_t start = anchor - anchor_;
            if (start + lowered_.size() > text_.size()) return npos;
            if (MatchesAt(start)) return start;
            from = start + 1;
        }
    }

private:
    std::size_t Scan(char byte, std::size_t from) const
    {
        if (from >= text_.size()) return npos;
        const void *hit = std::memchr(text_.data() + from, byte, text_.size() - from);
        return hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - text_.data()) : npos;
    }

    std::size_t NextOccurrence(char byte, std::size_t from, std::size_t &known) const
    {
        if (known < from) known = Scan(byte, from);
        return known;
    }

    std::size_t NextAnchor(std::size_t from)
    {
        return std::min(NextOccurrence(anchorLower_, from, nextLower_),
                        NextOccurrence(anchorUpper_, from, nextUpper_));
    }

    bool MatchesAt(std::size_t start) const
    {
        for (std::size_t i = 0; i < lowered_.size(); ++i)
            if (LowerAscii(text_[start + i]) != lowered_[i]) return false;
        return true;
    }

    std::string lowered_;
    std::size_t anchor_;
    char anchorLower_;
    char anchorUpper_;
    std::string_view text_;
    std::size_t nextLower_ = npos;
    std::size_t nextUpper_ = npos;
};

// One SubstituteText call. Blocks whose signature rules the search text out
// are passed over; blocks without a match stay untouched; a changed block is
// built once by appending. When a changed block grows past kSplitBytes the
// block list is rebuilt once, from that block on, instead of inserting per block.
class Substitution {
public:
    // `size` is the length of the text joined by CR LF, kept up to date.
    Substitution(Blocks &blocks, std::size_t &size, const std::string &search, std::string replacement,
                 SubstituteMode mode)
        : blocks_(blocks),
          size_(size),
          searchSignature_(SignatureOf(search)),
          finder_(search),
          replacement_(std::move(replacement)),
          limit_(mode == SubstituteMode::FirstMatch ? 1 : INT_MAX)
    {
        UnifyLineEnds(replacement_);
        writtenReplacement_ = replacement_.size() + LinesIn(replacement_);
    }

    // Scans from `position`; on a replacement moves it behind the last inserted text.
    // Throws PageTooLarge, having changed nothing, when the result would pass the cap.
    int Run(BlockPosition &position)
    {
        RefuseGrowthPastCap(position);
        const int count = Replace(position);
        size_ += static_cast<std::size_t>(count) * GrowthPerMatch();  // wraps back where the text shrinks
        return count;
    }

private:
    // How much each replacement lengthens the text joined by CR LF, modulo 2^64.
    std::size_t GrowthPerMatch() const
    {
        return writtenReplacement_ - finder_.Length();
    }

    // Counts the matches first, unless even a text made of nothing but
    // matches would stay within the cap; counting stops at one too many.
    void RefuseGrowthPastCap(BlockPosition position)
    {
        if (writtenReplacement_ <= finder_.Length()) return;
        const std::size_t allowed = (kPageFileCap - std::min(size_, kPageFileCap)) / GrowthPerMatch();
        const std::size_t most = std::min(size_ / finder_.Length(), static_cast<std::size_t>(limit_));
        if (most > allowed && CountMatches(position, allowed + 1) > allowed) throw PageTooLarge();
    }

    // The replacements Replace would make, up to `limit`, found without building anything.
    std::size_t CountMatches(BlockPosition position, std::size_t limit)
    {
        limit = std::min(limit, static_cast<std::size_t>(limit_));
        std::size_t count = 0;
        for (std::size_t index = NextCandidate(position.block); index < blocks_.texts.size() && count < limit;
             index = NextCandidate(index + 1)) {
            const std::size_t from = index == position.block ? position.offset : 0;
            for (std::size_t match = finder_.FirstMatch(blocks_.texts[index].View(), from);
                 match != npos && count < limit; match = finder_.NextMatch(match + finder_.Length()))
                ++count;
        }
        return count;
    }

    int Replace(BlockPosition &position)
    {
        std::size_t index = position.block;
        std::size_t from = position.offset;
        while (count_ < limit_) {
            const std::size_t candidate = NextCandidate(index);
            MoveBlocks(index, candidate);
            if (candidate != index) from = 0;
            index = candidate;
            if (index == blocks_.texts.size()) break;
            SubstituteBlock(index, from);
            ++index;
            from = 0;
        }
        FinishRebuild(index);
        if (count_ > 0) position = end_;
        return count_;
    }

    // The first block from `index` on whose signature admits the search text.
    std::size_t NextCandidate(std::size_t index) const
    {
        const Signature search = searchSignature_;
        const Signature *signatures = blocks_.signatures.data();
        const std::size_t count = blocks_.signatures.size();
        while (index < count && !MayContain(signatures[index], search)) ++index;
        return index;
    }

    void SubstituteBlock(std::size_t index, std::size_t from)
    {
        const std::string_view text = blocks_.texts[index].View();
        std::size_t match = finder_.FirstMatch(text, from);
        if (match == npos) {
            MoveBlocks(index, index + 1);
            return;
        }
        Signature signature = blocks_.signatures[index];
        std::string built;
        built.reserve(text.size() + replacement_.size());
        std::size_t copied = 0;
        std::size_t end = 0;
        while (match != npos) {
            built.append(text, copied, match - copied);
            AddSignature(signature, built, end, end);
            const std::size_t start = built.size();
            built += replacement_;
            end = built.size();
            AddSignature(signature, built, start, end);
            copied = match + finder_.Length();
            ++count_;
            match = count_ < limit_ ? finder_.NextMatch(copied) : npos;
        }
        built.append(text, copied);
        AddSignature(signature, built, end, end);
        PutBlock(index, std::move(built), signature, end);
    }

    // Adds the triples that bytes `from` to `to` of `text` take part in. The
    // signature keeps the bits of replaced text: a block may be scanned in vain,
    // never passed over wrongly.
    static void AddSignature(Signature &signature, std::string_view text, std::size_t from, std::size_t to)
    {
        const std::size_t first = from < 2 ? 0 : from - 2;
        const Signature added = SignatureOf(text.substr(first, to + 2 - first));
        for (std::size_t i = 0; i < signature.size(); ++i) signature[i] |= added[i];
    }

    // Puts the changed text of block `index` in its place; `end` lies behind the inserted text.
    void PutBlock(std::size_t index, std::string &&text, const Signature &signature, std::size_t end)
    {
        if (!rebuilding_ && text.size() <= kSplitBytes) {
            blocks_.signatures[index] = signature;
            blocks_.texts[index] = MakeText(text);
            end_ = {index, end};
            return;
        }
        StartRebuild(index);
        end_ = AppendBlocks(text, rebuilt_, end);
    }

    // Moves the blocks before `index` into the new list.
    void StartRebuild(std::size_t index)
    {
        if (rebuilding_) return;
        rebuilding_ = true;
        const std::size_t expected = blocks_.texts.size() + replacement_.size() / kBlockBytes + 1;
        rebuilt_.texts.reserve(expected);
        rebuilt_.signatures.reserve(expected);
        MoveBlocks(0, index);
    }

    // Moves the unscanned blocks from `index` on and swaps the new list in.
    void FinishRebuild(std::size_t index)
    {
        if (!rebuilding_) return;
        MoveBlocks(index, blocks_.texts.size());
        std::swap(blocks_, rebuilt_);
    }

    // Blocks passed over go to the new list only while one is being built.
    void MoveBlocks(std::size_t from, std::size_t to)
    {
        if (!rebuilding_) return;
        for (std::size_t i = from; i < to; ++i) {
            rebuilt_.texts.push_back(std::move(blocks_.texts[i]));
            rebuilt_.signatures.push_back(blocks_.signatures[i]);
        }
    }

    Blocks &blocks_;
    std::size_t &size_;
    const Signature searchSignature_;
    CaseBlindFinder finder_;
    std::string replacement_;
    std::size_t writtenReplacement_;  // its length written with CR LF
    const int limit_;
    Blocks rebuilt_;
    bool rebuilding_ = false;
    int count_ = 0;
    BlockPosition end_;
};

} // namespace

PageTooLarge::PageTooLarge()
    : std::runtime_error("The template's values make the page too large (over " + std::to_string(kPageFileCap >> 20) +
                         " MiB), so it was not written.")
{
}

void CodeBuffer::LoadFromFile(const std::string &path)
{
    std::string bytes = ReadWholeFile(path);
    const LineEnds ends = UnifyLineEnds(bytes);
    if (bytes.empty()) {
        Clear();
    } else {
        SetText(bytes);
    }
    lineEnd_ = StyleOf(ends);
}

void CodeBuffer::SaveToFile(const std::string &path) const
{
    WriteWholeFile(path, Joined(LineEndBytes(lineEnd_)));
}

void CodeBuffer::SetLines(const std::vector<std::string> &lines)
{
    if (lines.empty()) {
        Clear();
        return;
    }
    std::string text;
    for (const std::string &line : lines) {
        if (&line != &lines.front()) text += '\n';
        text += line;
    }
    SetText(text);
}

void CodeBuffer::SetLines(const CodeBuffer &other)
{
    blocks_ = other.blocks_;
    size_ = other.size_;
    MoveToStart();
}

std::vector<std::string> CodeBuffer::Lines() const
{
    std::vector<std::string> lines;
    for (const BlockText &block : blocks_.texts) {
        const std::string_view text = block.View();
        for (std::size_t start = 0;;) {
            const std::size_t end = text.find('\n', start);
            lines.emplace_back(text.substr(start, end - start));
            if (end == npos) break;
            start = end + 1;
        }
    }
    return lines;
}

void CodeBuffer::Clear()
{
    ClearBlocks(blocks_);
    size_ = 0;
    MoveToStart();
}

std::string CodeBuffer::Text() const
{
    return Joined("\r\n");
}

TextPosition CodeBuffer::SearchPosition() const
{
    TextPosition position;
    if (blocks_.texts.empty()) return position;
    for (std::size_t i = 0; i < position_.block; ++i) position.line += LinesIn(blocks_.texts[i].View()) + 1;
    const std::string_view before = blocks_.texts[position_.block].View().substr(0, position_.offset);
    const std::size_t lineStart = before.rfind('\n');
    position.line += LinesIn(before);
    position.column = before.size() - (lineStart == npos ? 0 : lineStart + 1) + 1;
    return position;
}

int CodeBuffer::SubstituteText(const std::string &search, const std::string &replacement, SubstituteMode mode)
{
    if (search.empty() || search.find_first_of("\r\n") != npos) return 0;
    return Substitution(blocks_, size_, search, replacement, mode).Run(position_);
}

void CodeBuffer::SetText(std::string_view text)
{
    ClearBlocks(blocks_);
    // Every block but the last takes at least kBlockBytes bytes and a line end.
    const std::size_t most = text.size() / (kBlockBytes + 1) + 1;
    blocks_.texts.reserve(most);
    blocks_.signatures.reserve(most);
    AppendBlocks(text, blocks_);
    size_ = text.size() + LinesIn(text);
    MoveToStart();
}

std::string CodeBuffer::Joined(std::string_view lineEnd) const
{
    std::size_t size = 0;
    for (const BlockText &block : blocks_.texts) size += block.size + (LinesIn(block.View()) + 1) * lineEnd.size();
    std::string text;
    text.reserve(size);
    for (const BlockText &block : blocks_.texts) {
        if (&block != &blocks_.texts.front()) text += lineEnd;
        AppendWithLineEnds(text, block.View(), lineEnd);
    }
    return text;
}
