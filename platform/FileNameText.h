#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The code point of the well-formed UTF-8 sequence at `pos`, which is moved
// past it. A byte that starts no such sequence is passed alone and comes back
// as the lone surrogate U+DC00 + byte, which no decoded text holds.
char32_t NextCodePoint(std::string_view text, std::size_t &pos);

// A file name as toolkit text: its UTF-8 decoded, each other byte kept as a
// lone surrogate, so that FileNameFromText gives back the same bytes.
QString FileNameToText(std::string_view name);
std::string FileNameFromText(const QString &text);

}  // namespace platform
