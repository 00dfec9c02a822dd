#include "builder/CodeBuffer.h"

#include "platform/FileBytes.h"

#include <algorithm>
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

struct CutText {
    std::vector<std::string> lines;
    bool hasCr = false;
    bool hasLf = false;
};

// Cuts at CR LF, CR and LF; a text ending in a line end gets an empty last line.
CutText CutAtLineEnds(std::string_view text)
{
    CutText cut;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char byte = text[i];
        if (byte != '\r' && byte != '\n') continue;
        cut.lines.emplace_back(text.substr(lineStart, i - lineStart));
        if (byte == '\n') {
            cut.hasLf = true;
        } else {
            cut.hasCr = true;
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                cut.hasLf = true;
                ++i;
            }
        }
        lineStart = i + 1;
    }
    cut.lines.emplace_back(text.substr(lineStart));
    return cut;
}

LineEndStyle StyleOf(const CutText &cut)
{
    if (cut.hasCr && !cut.hasLf) return LineEndStyle::Cr;
    if (cut.hasLf && !cut.hasCr) return LineEndStyle::Lf;
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

std::string JoinLines(const std::vector<std::string> &lines, std::string_view separator)
{
    std::size_t size = 0;
    for (const std::string &line : lines) size += line.size() + separator.size();
    std::string text;
    text.reserve(size);
    for (const std::string &line : lines) {
        if (&line != &lines.front()) text += separator;
        text += line;
    }
    return text;
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

// ---- Line signatures ------------------------------------------------------------

using LineSignature = CodeBuffer::LineSignature;

unsigned PairBit(char first, char second)
{
    const auto pair = static_cast<std::uint32_t>(static_cast<unsigned char>(LowerAscii(first)) << 8 |
                                                 static_cast<unsigned char>(LowerAscii(second)));
    return (pair * 0x9E3779B1u) >> 24;
}

LineSignature SignatureOf(std::string_view text)
{
    LineSignature signature{};
    for (std::size_t i = 1; i < text.size(); ++i) {
        const unsigned bit = PairBit(text[i - 1], text[i]);
        signature[bit >> 6] |= std::uint64_t{1} << (bit & 63);
    }
    return signature;
}

bool MayContain(const LineSignature &line, const LineSignature &search)
{
    return ((line[0] & search[0]) == search[0]) & ((line[1] & search[1]) == search[1]) &
           ((line[2] & search[2]) == search[2]) & ((line[3] & search[3]) == search[3]);
}

// Finds a non-empty search text in one line at a time, ignoring ASCII case.
// Candidates are located with memchr by the anchor byte in each of its cases;
// the next occurrence of each case is remembered, so a line is scanned at
// most once per case.
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

    // The first match in `line` starting at or after `from`.
    std::size_t FirstMatch(std::string_view line, std::size_t from)
    {
        line_ = line;
        nextLower_ = Scan(anchorLower_, from + anchor_);
        nextUpper_ = anchorUpper_ == anchorLower_ ? npos : Scan(anchorUpper_, from + anchor_);
        return NextMatch(from);
    }

    // The next match in the same line at or after `from`, which never lies
    // before the start of an earlier request.
    std::size_t NextMatch(std::size_t from)
    {
        for (;;) {
            const std::size_t anchor = NextAnchor(from + anchor_);
            if (anchor == npos) return npos;
            const std::size_t start = anchor - anchor_;
            if (start + lowered_.size() > line_.size()) return npos;
            if (MatchesAt(start)) return start;
            from = start + 1;
        }
    }

private:
    std::size_t Scan(char byte, std::size_t from) const
    {
        if (from >= line_.size()) return npos;
        const void *hit = std::memchr(line_.data() + from, byte, line_.size() - from);
        return hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - line_.data()) : npos;
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
            if (LowerAscii(line_[start + i]) != lowered_[i]) return false;
        return true;
    }

    std::string lowered_;
    std::size_t anchor_;
    char anchorLower_;
    char anchorUpper_;
    std::string_view line_;
    std::size_t nextLower_ = npos;
    std::size_t nextUpper_ = npos;
};

// One SubstituteText call. Lines whose signature rules the search text out are
// passed over; lines without a match stay untouched; a changed line is built
// once by appending. When the replacement holds line ends the line list
// is rebuilt once, from the first match on, instead of inserting per match.
class Substitution {
public:
    Substitution(std::vector<std::string> &lines, std::vector<LineSignature> &signatures, const std::string &search,
                 const std::string &replacement, SubstituteMode mode)
        : lines_(lines),
          signatures_(signatures),
          searchSignature_(SignatureOf(search)),
          finder_(search),
          pieces_(CutAtLineEnds(replacement).lines),
          limit_(mode == SubstituteMode::FirstMatch ? 1 : INT_MAX)
    {
    }

    // Scans from `position`; on a replacement moves it behind the last inserted text.
    int Run(TextPosition &position)
    {
        std::size_t index = position.line - 1;
        std::size_t column = position.column - 1;
        while (count_ < limit_) {
            const std::size_t candidate = NextCandidate(index);
            if (rebuilding_) MoveLines(index, candidate);
            if (candidate != index) column = 0;
            index = candidate;
            if (index == lines_.size()) break;
            SubstituteLine(index, column);
            ++index;
            column = 0;
        }
        FinishRebuild(index);
        if (count_ > 0) position = end_;
        return count_;
    }

private:
    // The first line from `index` on whose signature admits the search text.
    std::size_t NextCandidate(std::size_t index) const
    {
        const LineSignature search = searchSignature_;
        const LineSignature *signatures = signatures_.data();
        const std::size_t count = signatures_.size();
        while (index < count && !MayContain(signatures[index], search)) ++index;
        return index;
    }

    void SubstituteLine(std::size_t index, std::size_t column)
    {
        const std::string &line = lines_[index];
        std::size_t match = finder_.FirstMatch(line, column);
        if (match == npos) {
            KeepLine(index);
            return;
        }
        std::string built;
        built.reserve(line.size() + pieces_.front().size());
        std::size_t copied = 0;
        while (match != npos) {
            built.append(line, copied, match - copied);
            AppendReplacement(built, index);
            copied = match + finder_.Length();
            ++count_;
            end_ = {OutputIndex(index) + 1, built.size() + 1};
            match = count_ < limit_ ? finder_.NextMatch(copied) : npos;
        }
        built.append(line, copied);
        PutLine(index, std::move(built));
    }

    void AppendReplacement(std::string &built, std::size_t index)
    {
        built += pieces_.front();
        if (pieces_.size() == 1) return;
        StartRebuild(index);
        for (std::size_t i = 1; i < pieces_.size(); ++i) {
            PushRebuilt(std::move(built));
            built = pieces_[i];
        }
    }

    std::size_t OutputIndex(std::size_t index) const { return rebuilding_ ? rebuilt_.size() : index; }

    void KeepLine(std::size_t index)
    {
        if (rebuilding_) MoveLine(index);
    }

    void PutLine(std::size_t index, std::string &&line)
    {
        if (rebuilding_) {
            PushRebuilt(std::move(line));
        } else {
            signatures_[index] = SignatureOf(line);
            lines_[index] = std::move(line);
        }
    }

    void PushRebuilt(std::string &&line)
    {
        rebuiltSignatures_.push_back(SignatureOf(line));
        rebuilt_.push_back(std::move(line));
    }

    void MoveLine(std::size_t index)
    {
        rebuilt_.push_back(std::move(lines_[index]));
        rebuiltSignatures_.push_back(signatures_[index]);
    }

    // Moves the lines before `index` into the new list.
    void StartRebuild(std::size_t index)
    {
        if (rebuilding_) return;
        rebuilding_ = true;
        rebuilt_.reserve(lines_.size() + pieces_.size());
        rebuiltSignatures_.reserve(lines_.size() + pieces_.size());
        MoveLines(0, index);
    }

    // Moves the unscanned lines from `index` on and swaps the new list in.
    void FinishRebuild(std::size_t index)
    {
        if (!rebuilding_) return;
        MoveLines(index, lines_.size());
        lines_.swap(rebuilt_);
        signatures_.swap(rebuiltSignatures_);
    }

    void MoveLines(std::size_t from, std::size_t to)
    {
        for (std::size_t i = from; i < to; ++i) MoveLine(i);
    }

    std::vector<std::string> &lines_;
    std::vector<LineSignature> &signatures_;
    const LineSignature searchSignature_;
    CaseBlindFinder finder_;
    const std::vector<std::string> pieces_;
    const int limit_;
    std::vector<std::string> rebuilt_;
    std::vector<LineSignature> rebuiltSignatures_;
    bool rebuilding_ = false;
    int count_ = 0;
    TextPosition end_;
};

} // namespace

void CodeBuffer::LoadFromFile(const std::string &path)
{
    const std::string bytes = ReadWholeFile(path);
    CutText cut = CutAtLineEnds(bytes);
    if (bytes.empty()) cut.lines.clear();
    lines_ = std::move(cut.lines);
    lineEnd_ = StyleOf(cut);
    SignAllLines();
    MoveToStart();
}

void CodeBuffer::SaveToFile(const std::string &path) const
{
    WriteWholeFile(path, JoinLines(lines_, LineEndBytes(lineEnd_)));
}

void CodeBuffer::SetLines(const std::vector<std::string> &lines)
{
    lines_ = lines;
    SignAllLines();
    MoveToStart();
}

void CodeBuffer::Clear()
{
    lines_.clear();
    signatures_.clear();
    MoveToStart();
}

std::string CodeBuffer::Text() const
{
    return JoinLines(lines_, "\r\n");
}

int CodeBuffer::SubstituteText(const std::string &search, const std::string &replacement, SubstituteMode mode)
{
    if (search.empty() || search.find_first_of("\r\n") != npos) return 0;
    return Substitution(lines_, signatures_, search, replacement, mode).Run(position_);
}

void CodeBuffer::SignAllLines()
{
    signatures_.resize(lines_.size());
    std::transform(lines_.begin(), lines_.end(), signatures_.begin(),
                   [](const std::string &line) { return SignatureOf(line); });
}
