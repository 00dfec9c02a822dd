#include "library/XmlDocument.h"

#include "platform/FileBytes.h"

#include <libxml/parser.h>

#include <climits>
#include <stdexcept>

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

std::string ReadWholeFile(const std::string &path)
{
    std::string bytes;
    if (const FileResult read = ReadFileBytes(path, kXmlFileCap, bytes); !read)
        throw std::runtime_error("Cannot read the XML file \"" + path + "\". " + read.Text());
    return bytes;
}

// Parser errors go here instead of stderr; the first one is the cause.
void KeepFirstError(void *userData, xmlErrorPtr error)
{
    auto *firstError = static_cast<std::string *>(static_cast<xmlParserCtxtPtr>(userData)->_private);
    if (!firstError->empty() || error->level < XML_ERR_ERROR || !error->message) return;
    std::string message = error->message;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    *firstError = ", line " + std::to_string(error->line) + ": " + message;
}

// Nothing outside the file is ever loaded: no external DTD, no external entity.
xmlParserInputPtr RefuseExternalEntity(const char *, const char *, xmlParserCtxtPtr)
{
    return nullptr;
}

using DocPtr = std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)>;

// The parsed document, or null with the first error in `firstError`.
DocPtr TryParse(const std::string &bytes, const std::string &path, std::string &firstError)
{
    // Entity substitution would load external entities through the loader.
    [[maybe_unused]] static const bool loaderSet = (xmlSetExternalEntityLoader(RefuseExternalEntity), true);
    std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> context(xmlNewParserCtxt(), xmlFreeParserCtxt);
    if (!context) throw std::bad_alloc();
    context->_private = &firstError;
    context->sax->serror = KeepFirstError;
    // Internal entities are replaced by their text; no XML_PARSE_DTDLOAD or
    // XML_PARSE_HUGE, so expansion stays within the parser's limits.
    const int options = XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOENT;
    DocPtr doc(xmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()), path.c_str(),
                                 nullptr, options),
               xmlFreeDoc);
    if (!context->wellFormed) doc.reset();
    return doc;
}

DocPtr ParseBytes(const std::string &bytes, const std::string &path)
{
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        throw std::runtime_error("The XML file \"" + path + "\" is too large");
    std::string firstError;
    DocPtr doc = TryParse(bytes, path, firstError);
    if (!doc) throw std::runtime_error("Cannot parse the XML file \"" + path + "\"" + firstError);
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
    std::string error;
    const DocPtr reread = TryParse(declared, path, error);
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
