#include "base/XmlDocument.h"

#include "base/WholeFile.h"
#include "base/XmlEncoding.h"

#include <new>

namespace {

std::string utf8(const QString& text) {
    return text.toStdString();
}

// White space between elements is dropped by the parser; what is left are elements and texts.
constexpr unsigned ParseOptions = pugi::parse_default;

// Walks the subtree without recursion: a damaged file may nest elements a hundred thousand
// levels deep, more than the stack holds frames.
void collectText(const pugi::xml_node& top, std::string& out) {
    pugi::xml_node node = top.first_child();
    while (node) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            out += node.value();
        } else if (node.type() == pugi::node_element && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (!node.next_sibling() && node.parent() != top) {
            node = node.parent();
        }
        node = node.next_sibling();
    }
}

}  // namespace

QString XmlElement::name() const {
    return QString::fromUtf8(node_.name());
}

int XmlElement::childCount() const {
    int count = 0;
    for (auto it = node_.begin(); it != node_.end(); ++it) {
        ++count;
    }
    return count;
}

XmlElement XmlElement::child(int index) const {
    if (index < 0) {
        return {};
    }
    for (const pugi::xml_node& child : node_.children()) {
        if (index-- == 0) {
            return XmlElement(child);
        }
    }
    return {};
}

XmlElement XmlElement::firstChild() const {
    return XmlElement(node_.first_child());
}

XmlElement XmlElement::nextSibling() const {
    return XmlElement(node_.next_sibling());
}

XmlElement XmlElement::childByName(const QString& name) const {
    return XmlElement(node_.child(utf8(name).c_str()));
}

XmlElement XmlElement::childByName(const char* latin1Name) const {
    return XmlElement(node_.child(latin1Name));
}

std::optional<QString> XmlElement::attribute(const QString& name) const {
    const pugi::xml_attribute attribute = node_.attribute(utf8(name).c_str());
    if (!attribute) {
        return std::nullopt;
    }
    return QString::fromUtf8(attribute.value());
}

void XmlElement::setAttribute(const QString& name, const QString& value) {
    if (isNull()) {
        return;
    }
    const std::string key = utf8(name);
    pugi::xml_attribute attribute = node_.attribute(key.c_str());
    if (!attribute) {
        attribute = node_.append_attribute(key.c_str());
    }
    attribute.set_value(utf8(value).c_str());
}

QString XmlElement::text() const {
    std::string text;
    collectText(node_, text);
    return QString::fromStdString(text);
}

std::optional<std::string_view> XmlElement::plainText() const {
    const pugi::xml_node first = node_.first_child();
    if (!first) {
        return std::string_view();
    }
    if (first.next_sibling() ||
        (first.type() != pugi::node_pcdata && first.type() != pugi::node_cdata)) {
        return std::nullopt;
    }
    return std::string_view(first.value());
}

void XmlElement::setText(const QString& text) {
    if (isNull()) {
        return;
    }
    while (node_.first_child()) {
        node_.remove_child(node_.first_child());
    }
    if (!text.isEmpty()) {
        node_.append_child(pugi::node_pcdata).set_value(utf8(text).c_str());
    }
}

XmlElement XmlElement::appendChild(const XmlElement& element) {
    if (isNull() || element.isNull()) {
        return {};
    }
    return XmlElement(node_.append_copy(element.node_));
}

XmlElement XmlElement::appendChild(const QString& name) {
    if (isNull()) {
        return {};
    }
    return XmlElement(node_.append_child(utf8(name).c_str()));
}

std::unique_ptr<XmlDocument> XmlDocument::create() {
    try {
        return std::unique_ptr<XmlDocument>(new XmlDocument());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

XmlDocument::XmlDocument()
    : doc_(std::make_unique<pugi::xml_document>()),
      scratch_(std::make_unique<pugi::xml_document>()) {}

XmlDocument::~XmlDocument() = default;

bool XmlDocument::load(const QString& path, qint64 maxBytes, QString* readFailure) {
    const FileRead file = readFileWhole(path, maxBytes);
    if (!file.read()) {
        doc_->reset();
        if (readFailure) {
            *readFailure = file.reason;
        }
        return false;
    }
    return loadBytes(file.bytes);
}

bool XmlDocument::loadBytes(const QByteArray& bytes) {
    const QByteArray text = XmlEncoding::toUtf8(bytes);
    const pugi::xml_parse_result result = doc_->load_buffer(
        text.constData(), static_cast<size_t>(text.size()), ParseOptions, pugi::encoding_utf8);
    if (!result || !doc_->document_element()) {
        doc_->reset();
        return false;
    }
    return true;
}

XmlElement XmlDocument::documentElement() const {
    return XmlElement(doc_->document_element());
}

void XmlDocument::setDocumentElement(const XmlElement& element) {
    if (element.isNull()) {
        return;
    }
    // Copy first: the element may live below the root being replaced.
    pugi::xml_document replacement;
    replacement.append_copy(element.node_);
    doc_->reset();
    doc_->append_copy(replacement.first_child());
}

XmlElement XmlDocument::createElement(const QString& name) {
    return XmlElement(scratch_->append_child(utf8(name).c_str()));
}

QByteArray XmlDocument::toBytes() const {
    struct ByteWriter : pugi::xml_writer {
        QByteArray bytes;
        void write(const void* data, size_t size) override {
            bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
        }
    } writer;
    writer.bytes = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    for (const pugi::xml_node& node : doc_->children()) {
        if (node.type() != pugi::node_declaration) {
            // Unindented: indentation grows with the square of the depth of a nested file.
            node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
        }
    }
    return writer.bytes;
}

bool XmlDocument::save(const QString& path, QString* error) const {
    if (!doc_->document_element()) {
        if (error) {
            *error = QStringLiteral("the document is empty");
        }
        return false;
    }
    return writeFileWhole(path, toBytes(), error);
}
