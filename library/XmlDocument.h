#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string>

// One element of an open XmlDocument. A null element stands for "no such
// element". Elements stay valid until their document is closed.
class XmlElement {
public:
    XmlElement() = default;
    explicit XmlElement(xmlNodePtr node) : node_(node) {}

    bool IsNull() const { return node_ == nullptr; }
    std::string Name() const;

    // First child element; text, comments and the like are passed over.
    XmlElement FirstChild() const;
    // Next sibling element; text, comments and the like are passed over.
    XmlElement NextSibling() const;

    // First child element with exactly this name; an empty one is appended
    // when there is none.
    XmlElement ChildNamed(const std::string &name);

    // The element's text (UTF-8): "" when empty, the content of its one text
    // or CDATA node; any other content throws std::runtime_error.
    std::string Text() const;
    // Replaces the element's content by one text node holding value (UTF-8).
    void SetText(const std::string &value);

private:
    xmlNodePtr node_ = nullptr;
};

// An XML document read from a file. Closing never saves; only SaveAs writes.
// Internal entities are resolved; nothing outside the file (external
// entities, DTDs, network) is loaded.
class XmlDocument {
public:
    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument &) = delete;
    XmlDocument &operator=(const XmlDocument &) = delete;

    // Reads and parses the whole file; throws std::runtime_error naming the
    // file when it cannot be read or parsed. An open document is closed first.
    void Open(const std::string &path);
    void Close() noexcept;
    bool IsOpen() const { return doc_ != nullptr; }

    // Writes the document to path in the encoding its declaration named, or in
    // UTF-8 (declared so) when that encoding would not read back the same.
    void SaveAs(const std::string &path) const;

    XmlElement DocumentElement() const;

private:
    struct DocFree {
        void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
    };
    std::unique_ptr<xmlDoc, DocFree> doc_;
};
