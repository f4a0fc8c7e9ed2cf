#include "base/XmlEncoding.h"

#include "base/TextEncoding.h"

#include <QStringDecoder>
#include <optional>

namespace {

void appendUtf8(QByteArray& out, char16_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

QByteArray decodeWindows1252(const QByteArray& bytes) {
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        appendUtf8(out, TextEncoding::fromWindows1252(static_cast<unsigned char>(c)));
    }
    return out;
}

QByteArray decodeUtf16(QByteArrayView bytes, QStringConverter::Encoding encoding) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return QString(decoder(bytes)).toUtf8();
}

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Where the value of the declaration's encoding stands, as [begin, end) in the bytes. The
// declaration is ASCII in every encoding read here, so the raw bytes can be searched.
struct ValueSpan {
    qsizetype begin;
    qsizetype end;
};

std::optional<ValueSpan> declaredEncoding(const QByteArray& bytes) {
    qsizetype start = 0;
    while (start < bytes.size() && isXmlSpace(bytes[start])) {
        ++start;
    }
    if (!bytes.mid(start, 5).startsWith("<?xml") || start + 5 >= bytes.size() ||
        !isXmlSpace(bytes[start + 5])) {
        return std::nullopt;
    }
    const qsizetype close = bytes.indexOf("?>", start);
    if (close < 0) {
        return std::nullopt;
    }
    qsizetype key = bytes.indexOf("encoding", start);
    if (key < 0 || key > close || !isXmlSpace(bytes[key - 1])) {
        return std::nullopt;
    }
    qsizetype i = key + 8;
    while (i < close && isXmlSpace(bytes[i])) {
        ++i;
    }
    if (i >= close || bytes[i] != '=') {
        return std::nullopt;
    }
    ++i;
    while (i < close && isXmlSpace(bytes[i])) {
        ++i;
    }
    if (i >= close || (bytes[i] != '"' && bytes[i] != '\'')) {
        return std::nullopt;
    }
    const qsizetype valueEnd = bytes.indexOf(bytes[i], i + 1);
    if (valueEnd < 0 || valueEnd > close) {
        return std::nullopt;
    }
    return ValueSpan{i + 1, valueEnd};
}

// Latin-1 and windows-1252 by any of their names: both are read as windows-1252.
bool namesSingleByteEncoding(const QByteArray& label) {
    static const char* const names[] = {
        "iso-8859-1",  "iso8859-1",    "iso_8859-1", "iso_8859-1:1987", "iso-ir-100",
        "latin1",      "latin-1",      "l1",         "ibm819",          "cp819",
        "csisolatin1", "windows-1252", "cp1252",     "x-cp1252",        "cswindows1252"};
    const QByteArray name = label.trimmed().toLower();
    for (const char* known : names) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

// The text is UTF-8 now: a declaration naming anything else would make the parser decode again.
QByteArray withUtf8Declaration(QByteArray utf8) {
    if (const auto value = declaredEncoding(utf8)) {
        utf8.replace(value->begin, value->end - value->begin, "UTF-8");
    }
    return utf8;
}

QByteArray decodeBytes(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        // Kept as they are, bytes that are not UTF-8 would be saved again as they came and read
        // back differently; the rule for such files below holds here too.
        const QByteArray text = bytes.mid(3);
        return TextEncoding::isValidUtf8(text) ? text : decodeWindows1252(text);
    }
    const QByteArrayView view(bytes);
    if (bytes.startsWith("\xFF\xFE")) {
        return decodeUtf16(view.sliced(2), QStringConverter::Utf16LE);
    }
    if (bytes.startsWith("\xFE\xFF")) {
        return decodeUtf16(view.sliced(2), QStringConverter::Utf16BE);
    }
    // UTF-16 without a BOM still shows itself by the "<?" it starts with.
    if (bytes.startsWith(QByteArrayView("<\0?\0", 4))) {
        return decodeUtf16(view, QStringConverter::Utf16LE);
    }
    if (bytes.startsWith(QByteArrayView("\0<\0?", 4))) {
        return decodeUtf16(view, QStringConverter::Utf16BE);
    }
    if (const auto value = declaredEncoding(bytes)) {
        const QByteArray label = bytes.mid(value->begin, value->end - value->begin);
        if (namesSingleByteEncoding(label)) {
            // Windows programs declare ISO-8859-1 and write their code page: 0x80..0x9F are
            // then the euro sign, dashes and quotes, never control characters.
            return decodeWindows1252(bytes);
        }
    }
    // Declared as UTF-8, as something we do not decode, or not at all: bytes that are not UTF-8
    // come from a program that wrote the Windows code page whatever the declaration says, so the
    // whole file is read that way rather than mixing two encodings in one file.
    if (TextEncoding::isValidUtf8(bytes)) {
        return bytes;
    }
    return decodeWindows1252(bytes);
}

}  // namespace

namespace XmlEncoding {

QByteArray toUtf8(const QByteArray& fileBytes) {
    return withUtf8Declaration(decodeBytes(fileBytes));
}

}  // namespace XmlEncoding
