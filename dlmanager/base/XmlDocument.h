#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string_view>

// A handle on one element of an XmlDocument; a null handle stands for "none" and every
// operation on it fails softly (empty results, false), so callers can chain look-ups.
class XmlElement {
public:
    XmlElement() = default;

    bool isNull() const { return !node_; }
    explicit operator bool() const { return !isNull(); }
    QString name() const;

    // Child nodes in document order; white space between elements is not a node. Counting
    // and indexing walk the children: loops over many children go from firstChild() through
    // nextSibling(), a constant step each.
    int childCount() const;
    XmlElement child(int index) const;
    XmlElement firstChild() const;
    XmlElement nextSibling() const;
    // First child element with this name, or a null handle.
    XmlElement childByName(const QString& name) const;
    XmlElement childByName(const char* latin1Name) const;

    // Absent attribute: no value, so the caller's conversion fails.
    std::optional<QString> attribute(const QString& name) const;
    void setAttribute(const QString& name, const QString& value);

    // All text inside the element, descendants included, however deeply nested.
    QString text() const;
    // The element's text as UTF-8, without a copy, when it is a single text node or nothing;
    // no value when it holds more (then text() is the way): for reading bulk data.
    std::optional<std::string_view> plainText() const;
    // Replaces any content with the text.
    void setText(const QString& text);

    // Appends a copy of an element made by XmlDocument::createElement (with its children and
    // attributes as they are now); returns the appended child, to go on building through it.
    XmlElement appendChild(const XmlElement& element);
    // Appends a new empty element in place, without a copy: for documents built in bulk.
    XmlElement appendChild(const QString& name);

private:
    friend class XmlDocument;
    explicit XmlElement(pugi::xml_node node) : node_(node) {}
    pugi::xml_node node_;
};

// The XML document facility used by every project and data file. Reading accepts UTF-8 (with or
// without BOM), UTF-16 with BOM, and ISO-8859-1 / windows-1252 files; a file that declares
// nothing and is not valid UTF-8 reads as windows-1252. Saving writes UTF-8 with a declaration of
// our own and no indentation, whole, through a temporary file. No DTD or entity is ever expanded.
class XmlDocument {
public:
    // May fail (no memory); loaders then give up silently, savers report the parser missing.
    static std::unique_ptr<XmlDocument> create();
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // The project files' limit; data files have their own.
    static constexpr qint64 DefaultMaxFileBytes = 16 * 1024 * 1024;

    // Parses the whole file; false when it cannot be read (not a regular file, larger than
    // `maxBytes`: then `readFailure`, when given, says why) or does not parse, after which the
    // document is empty and look-ups fail.
    bool load(const QString& path, qint64 maxBytes = DefaultMaxFileBytes,
              QString* readFailure = nullptr);
    // Same, from bytes in memory (files already read, tests).
    bool loadBytes(const QByteArray& bytes);

    XmlElement documentElement() const;
    // Replaces the root element with one created by createElement.
    void setDocumentElement(const XmlElement& element);

    // A new element, detached until appended or made the document element.
    XmlElement createElement(const QString& name);

    // Writes the whole document over the file, atomically; false on any failure, with the
    // system's reason in `error` when given.
    bool save(const QString& path, QString* error = nullptr) const;
    // The bytes save() would write.
    QByteArray toBytes() const;

private:
    XmlDocument();
    std::unique_ptr<pugi::xml_document> doc_;
    std::unique_ptr<pugi::xml_document> scratch_;  // holds elements not yet attached
};
