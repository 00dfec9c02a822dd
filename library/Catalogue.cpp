#include "library/Catalogue.h"

#include "library/ConfigFiles.h"
#include "library/ItemWalk.h"
#include "platform/FileBytes.h"
#include "platform/FileNameText.h"

namespace {

// A catalogue line keeps at most this many bytes of a settings line, so that
// no template's settings can grow the catalogue past what is read back.
constexpr std::size_t kCatalogueLineCap = 2048;

// The line cut at the cap, before a character that the cut would split.
std::string CutLine(std::string line)
{
    if (line.size() <= kCatalogueLineCap) return line;
    std::size_t end = kCatalogueLineCap;
    const auto continues = [&](std::size_t i) { return (static_cast<unsigned char>(line[i]) & 0xC0) == 0x80; };
    for (int back = 0; back < 3 && end > 0 && continues(end); ++back) --end;
    line.resize(end);
    return line;
}

// Control bytes, which XML cannot hold even as references, are written as
// these private-use characters and read back as the bytes.
constexpr char32_t kControlByteBase = 0xE000;

// The file declares "iso-8859-1": every other byte of a value is written as it
// is and reads back as the character of that code, UTF-8 or not.
std::string EscapeValue(const std::string &value)
{
    std::string escaped;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&') escaped += "&amp;";
        else if (c == '<') escaped += "&lt;";
        else if (c == '>') escaped += "&gt;";
        else if (byte < 0x20 && c != '\t') escaped += "&#" + std::to_string(kControlByteBase + byte) + ";";
        else escaped += c;
    }
    return escaped;
}

// The bytes of a value that EscapeValue wrote, from the text the parser read.
std::string ValueBytes(const std::string &text)
{
    std::string bytes;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const char32_t code = platform::NextCodePoint(text, pos);
        if (code < 0x100)
            bytes += static_cast<char>(code);
        else if (code >= kControlByteBase && code < kControlByteBase + 0x20)
            bytes += static_cast<char>(code - kControlByteBase);
        else
            bytes.append(text, start, pos - start);
    }
    return bytes;
}

void AddElement(std::string &text, const char *name, const std::string &value)
{
    text += std::string("<") + name + ">" + EscapeValue(value) + "</" + name + ">\r\n";
}

}  // namespace

StringList SplitTextLines(const std::string &text)
{
    StringList lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

TemplateEntry ReadTemplateEntry(const std::string &templateFolder, const std::string &id)
{
    std::string content;
    const auto path = PathInTemplate(templateFolder, "settings.qrl");
    if (path && ReadFileBytes(*path, kShortFileCap, content)) {
        const StringList lines = SplitTextLines(content);
        if (lines.size() >= 3) return {CutLine(lines[0]), CutLine(lines[1]), id, CutLine(lines[2])};
    }
    return {id, "", id, ""};
}

std::string CatalogueText(const std::vector<TemplateEntry> &entries)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><settings><channel>\r\n";
    for (const TemplateEntry &entry : entries) {
        text += "<item>\r\n";
        AddElement(text, "title", entry.title);
        AddElement(text, "author", entry.author);
        AddElement(text, "folder", entry.folder);
        AddElement(text, "license", entry.license);
        text += "</item>\r\n";
    }
    return text + "</channel></settings>\r\n";
}

std::vector<TemplateEntry> ReadCatalogue(XmlDocument &doc, const std::string &path)
{
    std::vector<TemplateEntry> entries;
    for (const auto &row : ReadItems(doc, path, {"title", "author", "folder", "license"}))
        entries.push_back({ValueBytes(row[0]), ValueBytes(row[1]), ValueBytes(row[2]), ValueBytes(row[3])});
    return entries;
}
