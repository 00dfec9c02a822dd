#include "library/XmlDocument.h"

#include "platform/FileBytes.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include <array>
#include <climits>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

namespace {

const xmlChar *AsXmlChars(const std::string &text)
{
    return reinterpret_cast<const xmlChar *>(text.c_str());
}

std::string FromXmlChars(const xmlChar *text)
{
    return text ? std::string(reinterpret_cast<const char *>(text)) : std::string();
}

xmlNodePtr SkipToElement(xmlNodePtr node)
{
    while (node && node->type != XML_ELEMENT_NODE) node = node->next;
    return node;
}

bool IsTextNode(xmlNodePtr node)
{
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
}

std::runtime_error ReadFailure(const std::string &path, const std::string &reason)
{
    return std::runtime_error("Cannot read the XML file \"" + path + "\". " + reason);
}

std::string ReadWholeFile(const std::string &path)
{
    std::string bytes;
    if (const FileResult read = ReadFileBytes(path, kXmlFileCap, bytes); !read) throw ReadFailure(path, read.Text());
    return bytes;
}

// ---- Attribute counts ----------------------------------------------------------

// A configuration file needs a handful of attributes per tag; the parser's
// check for repeated attributes takes time quadratic in their number.
constexpr int kMostAttributes = 64;
const std::string kTooManyAttributes = "A tag holds more than " + std::to_string(kMostAttributes) + " attributes.";

constexpr std::size_t npos = std::string_view::npos;

// Where the text behind `from` holds `end`, or the end of the text.
std::size_t SkipPast(std::string_view text, std::size_t from, std::string_view end)
{
    const std::size_t found = text.find(end, from);
    return found == npos ? text.size() : found + end.size();
}

// Counts the attributes of the tag whose "<" lies before `from` (an "=" outside
// quotes each); true past the limit. Moves `from` to its ">" or the next "<",
// where the parser, too, ends the tag.
bool TagHasTooMany(std::string_view text, std::size_t &from)
{
    int attributes = 0;
    char quote = 0;
    for (; from < text.size() && text[from] != '<'; ++from) {
        const char c = text[from];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '=') {
            if (++attributes > kMostAttributes) return true;
        } else if (c == '>') {
            break;
        }
    }
    return false;
}

// Whether a tag in `text` holds more than kMostAttributes attributes. Comments,
// CDATA sections and processing instructions hold no tags.
bool HasTagWithTooManyAttributes(std::string_view text)
{
    for (std::size_t at = text.find('<'); at != npos; at = text.find('<', at)) {
        const std::string_view markup = text.substr(at);
        if (markup.starts_with("<!--"))
            at = SkipPast(text, at + 4, "-->");
        else if (markup.starts_with("<![CDATA["))
            at = SkipPast(text, at + 9, "]]>");
        else if (markup.starts_with("<?"))
            at = SkipPast(text, at + 2, "?>");
        else if (TagHasTooMany(text, ++at))
            return true;
    }
    return false;
}

// EBCDIC (code page 37) bytes of the characters that the count looks at.
std::array<char, 256> EbcdicMarkupTable()
{
    std::array<char, 256> table{};
    table.fill('\x80');
    const std::pair<unsigned char, char> markup[] = {
        {0x4C, '<'}, {0x6E, '>'}, {0x7E, '='}, {0x7F, '"'}, {0x7D, '\''}, {0x5A, '!'}, {0x6F, '?'}, {0x60, '-'},
        {0xBA, '['}, {0xBB, ']'}, {0xC1, 'A'}, {0xC3, 'C'}, {0xC4, 'D'}, {0xE3, 'T'}};
    for (const auto &[code, character] : markup) table[code] = character;
    return table;
}

// The document's characters one byte each, as far as markup goes: UTF-16 and
// UCS-4 (told by their first bytes, as the parser tells them) by their ASCII
// characters, EBCDIC by its markup characters, anything else byte for byte.
std::string_view MarkupBytes(std::string_view bytes, std::string &narrowed)
{
    const auto startsWith = [bytes](std::string_view prefix) { return bytes.starts_with(prefix); };
    using namespace std::string_view_literals;
    if (startsWith("\x4C\x6F\xA7\x94"sv)) {
        static const std::array<char, 256> table = EbcdicMarkupTable();
        narrowed.reserve(bytes.size());
        for (const char byte : bytes) narrowed += table[static_cast<unsigned char>(byte)];
        return narrowed;
    }
    std::size_t width = 1;
    std::size_t low = 0;  // the byte of a unit that holds an ASCII character
    if (startsWith("\0\0\0<"sv) || startsWith("\0\0\xFE\xFF"sv))
        width = 4, low = 3;
    else if (startsWith("<\0\0\0"sv) || startsWith("\xFF\xFE\0\0"sv))
        width = 4;
    else if (startsWith("\0<\0?"sv) || startsWith("\xFE\xFF"sv))
        width = 2, low = 1;
    else if (startsWith("<\0?\0"sv) || startsWith("\xFF\xFE"sv))
        width = 2;
    if (width == 1) return bytes;
    narrowed.reserve(bytes.size() / width);
    for (std::size_t unit = 0; unit + width <= bytes.size(); unit += width) {
        bool ascii = static_cast<unsigned char>(bytes[unit + low]) < 0x80;
        for (std::size_t i = 0; i < width; ++i) ascii = ascii && (i == low || bytes[unit + i] == '\0');
        narrowed += ascii ? bytes[unit + low] : '\x80';
    }
    return narrowed;
}

// ---- Parsing ---------------------------------------------------------------------

struct ParseState {
    std::string firstError;
    bool tooManyAttributes = false;
    std::unordered_map<std::string, int> declaredAttributes;  // per element name
};

ParseState &StateOf(void *context)
{
    return *static_cast<ParseState *>(static_cast<xmlParserCtxtPtr>(context)->_private);
}

// Parser errors go here instead of stderr; the first one is the cause.
void KeepFirstError(void *userData, xmlErrorPtr error)
{
    std::string &firstError = StateOf(userData).firstError;
    if (!firstError.empty() || error->level < XML_ERR_ERROR || !error->message) return;
    std::string message = error->message;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    firstError = ", line " + std::to_string(error->line) + ": " + message;
}

void StopForTooManyAttributes(void *context)
{
    StateOf(context).tooManyAttributes = true;
    xmlStopParser(static_cast<xmlParserCtxtPtr>(context));
}

// An entity's text becomes markup where it is used: its tags are counted too.
void CountEntityAttributes(void *context, const xmlChar *name, int type, const xmlChar *publicId,
                           const xmlChar *systemId, xmlChar *content)
{
    xmlSAX2EntityDecl(context, name, type, publicId, systemId, content);
    if (content && HasTagWithTooManyAttributes(reinterpret_cast<const char *>(content)))
        StopForTooManyAttributes(context);
}

// Declared attributes with defaults join every tag of their element.
void CountDeclaredAttributes(void *context, const xmlChar *element, const xmlChar *name, int type, int def,
                             const xmlChar *defaultValue, xmlEnumerationPtr values)
{
    xmlSAX2AttributeDecl(context, element, name, type, def, defaultValue, values);
    if (++StateOf(context).declaredAttributes[FromXmlChars(element)] > kMostAttributes)
        StopForTooManyAttributes(context);
}

// Nothing outside the file is ever loaded: no external DTD, no external entity.
xmlParserInputPtr RefuseExternalEntity(const char *, const char *, xmlParserCtxtPtr)
{
    return nullptr;
}

using DocPtr = std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)>;

// The parsed document, or null with the first error in `state`.
DocPtr TryParse(const std::string &bytes, const std::string &path, ParseState &state)
{
    // Entity substitution would load external entities through the loader.
    [[maybe_unused]] static const bool loaderSet = (xmlSetExternalEntityLoader(RefuseExternalEntity), true);
    std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> context(xmlNewParserCtxt(), xmlFreeParserCtxt);
    if (!context) throw std::bad_alloc();
    context->_private = &state;
    context->sax->serror = KeepFirstError;
    context->sax->entityDecl = CountEntityAttributes;
    context->sax->attributeDecl = CountDeclaredAttributes;
    // Internal entities are replaced by their text; no XML_PARSE_DTDLOAD or
    // XML_PARSE_HUGE, so expansion stays within the parser's limits.
    const int options = XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOENT;
    DocPtr doc(xmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()), path.c_str(),
                                 nullptr, options),
               xmlFreeDoc);
    if (!context->wellFormed || state.tooManyAttributes) doc.reset();
    return doc;
}

DocPtr ParseBytes(const std::string &bytes, const std::string &path)
{
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        throw std::runtime_error("The XML file \"" + path + "\" is too large");
    // Counted before parsing, and in entities and declarations while parsing.
    std::string narrowed;
    if (HasTagWithTooManyAttributes(MarkupBytes(bytes, narrowed))) throw ReadFailure(path, kTooManyAttributes);
    ParseState state;
    DocPtr doc = TryParse(bytes, path, state);
    if (state.tooManyAttributes) throw ReadFailure(path, kTooManyAttributes);
    if (!doc) throw std::runtime_error("Cannot parse the XML file \"" + path + "\"" + state.firstError);
    return doc;
}

// The document's text in `encoding` (null: the one its declaration named); "" on failure.
std::string Serialized(xmlDocPtr doc, const char *encoding)
{
    xmlChar *bytes = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc, &bytes, &size, encoding, 0);
    std::unique_ptr<xmlChar, void (*)(void *)> owned(bytes, xmlFree);
    return bytes ? std::string(reinterpret_cast<const char *>(bytes), static_cast<std::size_t>(size)) : std::string();
}

// The document in the encoding its declaration named when that text reads
// back to the same document; otherwise in UTF-8, declared so.
std::string TextThatReadsBack(xmlDocPtr doc, const std::string &path)
{
    const std::string utf8 = Serialized(doc, "UTF-8");
    const std::string declared = Serialized(doc, nullptr);
    ParseState state;
    const DocPtr reread = TryParse(declared, path, state);
    return reread && Serialized(reread.get(), "UTF-8") == utf8 ? declared : utf8;
}

}  // namespace

std::string XmlElement::Name() const
{
    return FromXmlChars(node_->name);
}

XmlElement XmlElement::FirstChild() const
{
    return XmlElement(SkipToElement(node_->children));
}

XmlElement XmlElement::NextSibling() const
{
    return XmlElement(SkipToElement(node_->next));
}

XmlElement XmlElement::ChildNamed(const std::string &name)
{
    for (XmlElement child = FirstChild(); !child.IsNull(); child = child.NextSibling())
        if (child.Name() == name) return child;
    return XmlElement(xmlNewChild(node_, nullptr, AsXmlChars(name), nullptr));
}

std::string XmlElement::Text() const
{
    xmlNodePtr content = node_->children;
    if (!content) return {};
    if (content->next || !IsTextNode(content))
        throw std::runtime_error("Element does not contain a single text node");
    return FromXmlChars(content->content);
}

void XmlElement::SetText(const std::string &value)
{
    // xmlNodeSetContent would read "&" in value as an entity reference;
    // xmlNodeAddContent stores the text as it is.
    xmlNodeSetContent(node_, nullptr);
    xmlNodeAddContent(node_, AsXmlChars(value));
}

XmlDocument::XmlDocument() = default;

XmlDocument::~XmlDocument() = default;

void XmlDocument::Open(const std::string &path)
{
    Close();
    doc_.reset(ParseBytes(ReadWholeFile(path), path).release());
}

void XmlDocument::Close() noexcept
{
    doc_.reset();
}

void XmlDocument::SaveAs(const std::string &path) const
{
    if (!doc_) throw std::logic_error("No XML document is open");
    const std::string text = TextThatReadsBack(doc_.get(), path);
    if (text.empty() || !WriteFileBytes(path, text))
        throw std::runtime_error("Cannot write the XML file \"" + path + "\"");
}

XmlElement XmlDocument::DocumentElement() const
{
    return XmlElement(doc_ ? xmlDocGetRootElement(doc_.get()) : nullptr);
}
