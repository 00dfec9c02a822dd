#include "platform/FileNameText.h"

namespace platform {
namespace {

constexpr char32_t kEscapedByteBase = 0xDC00;

bool IsEscapedByte(const QString &text, qsizetype i)
{
    const char16_t unit = text[i].unicode();
    return unit >= kEscapedByteBase + 0x80 && unit <= kEscapedByteBase + 0xFF &&
           (i == 0 || !text[i - 1].isHighSurrogate());
}

}  // namespace

char32_t NextCodePoint(std::string_view text, std::size_t &pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const auto escaped = [&] { return kEscapedByteBase + byte(pos++); };
    if (length == 1) return byte(pos++);
    if (lead < 0xC2 || lead > 0xF4 || pos + length > text.size()) return escaped();
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return escaped();
        code = code << 6 | (byte(pos + i) & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return escaped();
    pos += length;
    return code;
}

QString FileNameToText(std::string_view name)
{
    QString text;
    for (std::size_t pos = 0; pos < name.size();) {
        const char32_t code = NextCodePoint(name, pos);
        if (QChar::requiresSurrogates(code)) {
            text += QChar(QChar::highSurrogate(code));
            text += QChar(QChar::lowSurrogate(code));
        } else {
            text += QChar(static_cast<char16_t>(code));
        }
    }
    return text;
}

std::string FileNameFromText(const QString &text)
{
    std::string name;
    qsizetype runStart = 0;
    const auto addRunUpTo = [&](qsizetype end) { name += text.sliced(runStart, end - runStart).toStdString(); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!IsEscapedByte(text, i)) continue;
        addRunUpTo(i);
        name += static_cast<char>(text[i].unicode() - kEscapedByteBase);
        runStart = i + 1;
    }
    addRunUpTo(text.size());
    return name;
}

}  // namespace platform
