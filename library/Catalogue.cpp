#include "library/Catalogue.h"

#include "app/FileBytes.h"
#include "library/ItemWalk.h"


namespace {

// Decodes one UTF-8 sequence at `pos`; a byte that starts no valid sequence
// stands for itself.
char32_t NextCodePoint(const std::string &text, std::size_t &pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    const int length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    if (length == 1 || pos + length > text.size()) return byte(pos++);
    char32_t code = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return byte(pos++);
        code = (code << 6) | (byte(pos + i) & 0x3F);
    }
    pos += length;
    return code;
}

// The file declares "iso-8859-1": characters beyond ASCII go as character references.
std::string EscapeValue(const std::string &value)
{
    std::string escaped;
    for (std::size_t pos = 0; pos < value.size();) {
        const char32_t code = NextCodePoint(value, pos);
        if (code == '&') escaped += "&amp;";
        else if (code == '<') escaped += "&lt;";
        else if (code == '>') escaped += "&gt;";
        else if (code < 0x80) escaped += static_cast<char>(code);
        else escaped += "&#" + std::to_string(code) + ";";
    }
    return escaped;
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
    if (ReadFileBytes(templateFolder + "/settings.qrl", kShortFileCap, content)) {
        const StringList lines = SplitTextLines(content);
        if (lines.size() >= 3) return {lines[0], lines[1], id, lines[2]};
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
        entries.push_back({row[0], row[1], row[2], row[3]});
    return entries;
}
