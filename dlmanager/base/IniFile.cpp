#include "base/IniFile.h"

#include "base/TextEncoding.h"
#include "base/WholeFile.h"

#include <optional>
#include <utility>

namespace IniFile {

namespace {

enum class Encoding { Utf8, Windows1252, Utf16LE, Utf16BE };

// The file's bytes as a sequence of code units: bytes in an 8-bit file, 16-bit units in a UTF-16
// one. Line ends, brackets, equals signs and blanks are one ASCII unit in every encoding and never
// part of another character, so the file is parsed without decoding it and an edit replaces whole
// units only, leaving every other byte as it was.
class EncodedText {
public:
    explicit EncodedText(QByteArray bytes) : bytes_(std::move(bytes)) {
        if (bytes_.startsWith("\xFF\xFE")) {
            encoding_ = Encoding::Utf16LE;
            start_ = 2;
        } else if (bytes_.startsWith("\xFE\xFF")) {
            encoding_ = Encoding::Utf16BE;
            start_ = 2;
        } else if (bytes_.startsWith("\xEF\xBB\xBF")) {
            start_ = 3;
        } else if (!TextEncoding::isValidUtf8(bytes_)) {
            encoding_ = Encoding::Windows1252;
        }
    }

    qsizetype size() const { return (bytes_.size() - start_) / unitSize(); }

    char16_t at(qsizetype i) const {
        const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes_[k]); };
        const qsizetype k = offset(i);
        switch (encoding_) {
            case Encoding::Utf16LE:
                return char16_t(byte(k) | byte(k + 1) << 8);
            case Encoding::Utf16BE:
                return char16_t(byte(k) << 8 | byte(k + 1));
            default:
                return byte(k);
        }
    }

    QString decoded(qsizetype from, qsizetype to) const {
        if (encoding_ == Encoding::Utf8) {
            return QString::fromUtf8(bytes_.constData() + offset(from), to - from);
        }
        QString text;
        text.reserve(to - from);
        for (qsizetype i = from; i < to; ++i) {
            const char16_t unit = at(i);
            text += QChar(encoding_ == Encoding::Windows1252
                              ? TextEncoding::fromWindows1252(static_cast<unsigned char>(unit))
                              : unit);
        }
        return text;
    }

    // The bytes with units [from, to) replaced by the text; nothing when the file's encoding
    // cannot hold the text.
    std::optional<QByteArray> replaced(qsizetype from, qsizetype to, const QString& text) const {
        const std::optional<QByteArray> encoded = encode(text);
        if (!encoded) {
            return std::nullopt;
        }
        QByteArray bytes = bytes_;
        return bytes.replace(offset(from), offset(to) - offset(from), *encoded);
    }

private:
    QByteArray bytes_;
    Encoding encoding_ = Encoding::Utf8;
    qsizetype start_ = 0;  // after the BOM

    int unitSize() const {
        return encoding_ == Encoding::Utf16LE || encoding_ == Encoding::Utf16BE ? 2 : 1;
    }
    qsizetype offset(qsizetype unit) const { return start_ + unit * unitSize(); }

    std::optional<QByteArray> encode(const QString& text) const {
        if (encoding_ == Encoding::Utf8) {
            return text.toUtf8();
        }
        QByteArray bytes;
        bytes.reserve(text.size() * unitSize());
        for (const QChar c : text) {
            const char16_t unit = c.unicode();
            if (encoding_ == Encoding::Windows1252) {
                const auto byte = TextEncoding::toWindows1252(unit);
                if (!byte) {
                    return std::nullopt;
                }
                bytes += char(*byte);
            } else if (encoding_ == Encoding::Utf16LE) {
                bytes += char(unit & 0xFF);
                bytes += char(unit >> 8);
            } else {
                bytes += char(unit >> 8);
                bytes += char(unit & 0xFF);
            }
        }
        return bytes;
    }
};

bool isBlank(char16_t unit) {
    return unit == ' ' || unit == '\t' || unit == '\v' || unit == '\f';
}

bool isLineEnd(char16_t unit) {
    return unit == '\r' || unit == '\n';
}

struct Line {
    qsizetype begin;       // first unit after leading blanks
    qsizetype contentEnd;  // before trailing blanks and the line end
    qsizetype end;         // after the line end
};

Line lineAt(const EncodedText& text, qsizetype begin) {
    qsizetype lineEnd = begin;
    while (lineEnd < text.size() && !isLineEnd(text.at(lineEnd))) {
        ++lineEnd;
    }
    qsizetype end = lineEnd;
    if (end < text.size()) {
        end += text.at(end) == '\r' && end + 1 < text.size() && text.at(end + 1) == '\n' ? 2 : 1;
    }
    while (begin < lineEnd && isBlank(text.at(begin))) {
        ++begin;
    }
    while (lineEnd > begin && isBlank(text.at(lineEnd - 1))) {
        --lineEnd;
    }
    return {begin, lineEnd, end};
}

// The file's own line end, from its first line; LF for a file that has none yet.
QString lineEndOf(const EncodedText& text) {
    const Line first = lineAt(text, 0);
    qsizetype lineEnd = first.contentEnd;
    while (lineEnd < first.end && !isLineEnd(text.at(lineEnd))) {
        ++lineEnd;
    }
    return lineEnd < first.end ? text.decoded(lineEnd, first.end) : QStringLiteral("\n");
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

qsizetype find(const EncodedText& text, char16_t unit, qsizetype from, qsizetype to) {
    for (qsizetype i = from; i < to; ++i) {
        if (text.at(i) == unit) {
            return i;
        }
    }
    return -1;
}

// The section's name when the line is a section header.
std::optional<QString> sectionName(const EncodedText& text, const Line& line) {
    if (line.begin == line.contentEnd || text.at(line.begin) != '[') {
        return std::nullopt;
    }
    qsizetype close = line.contentEnd;
    while (close > line.begin && text.at(close - 1) != ']') {
        --close;
    }
    if (close == line.begin) {
        return std::nullopt;
    }
    return text.decoded(line.begin + 1, close - 1).trimmed();
}

// Where a key is, as the Windows INI functions find it: names match without regard to case, and
// only the first matching section and the first matching key in it count.
struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    qsizetype valueBegin = 0;  // the value without surrounding blanks, when the key is found
    qsizetype valueEnd = 0;
    qsizetype newKeyAt = 0;  // when only the section is found: after its last entry
};

Location locate(const EncodedText& text, const QString& section, const QString& key) {
    Location location;
    for (qsizetype at = 0; at < text.size();) {
        const Line line = lineAt(text, at);
        at = line.end;
        if (const auto name = sectionName(text, line)) {
            if (location.sectionFound) {
                break;
            }
            location.sectionFound = sameName(*name, section);
            location.newKeyAt = line.end;
            continue;
        }
        // A comment before the next section belongs to that section; a new key goes above it.
        if (!location.sectionFound || line.begin == line.contentEnd || text.at(line.begin) == ';') {
            continue;
        }
        location.newKeyAt = line.end;
        const qsizetype equals = find(text, '=', line.begin, line.contentEnd);
        if (equals < 0) {
            continue;
        }
        qsizetype nameEnd = equals;
        while (nameEnd > line.begin && isBlank(text.at(nameEnd - 1))) {
            --nameEnd;
        }
        if (sameName(text.decoded(line.begin, nameEnd), key)) {
            location.keyFound = true;
            location.valueBegin = equals + 1;
            while (location.valueBegin < line.contentEnd && isBlank(text.at(location.valueBegin))) {
                ++location.valueBegin;
            }
            location.valueEnd = line.contentEnd;
            break;
        }
    }
    return location;
}

bool failed(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

// The file's bytes: empty when it is missing, nothing when it cannot be read, is not a regular
// file or is far larger than settings ever are.
std::optional<QByteArray> load(const QString& path, QString* error = nullptr) {
    FileRead file = readFileWhole(path, MaxFileBytes);
    switch (file.status) {
        case FileRead::Status::Read:
            return std::move(file.bytes);
        case FileRead::Status::Missing:
            return QByteArray();
        case FileRead::Status::Refused:
        case FileRead::Status::TooLarge:
            break;
    }
    failed(error, file.reason);
    return std::nullopt;
}

}  // namespace

QString read(const QString& path, const QString& section, const QString& key,
             const QString& fallback) {
    const std::optional<QByteArray> bytes = load(path);
    if (!bytes) {
        return fallback;
    }
    const EncodedText text(*bytes);
    const Location location = locate(text, section, key);
    return location.keyFound ? text.decoded(location.valueBegin, location.valueEnd) : fallback;
}

bool write(const QString& path, const QString& section, const QString& key, const QString& value,
           QString* error) {
    // A line end in the value would end its line and start another, foreign one.
    if (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'))) {
        return failed(error, QStringLiteral("the value holds a line end"));
    }
    // Blanks around a value are not part of it when it is read: written, they would be lost.
    if (!value.isEmpty() && (isBlank(value.front().unicode()) || isBlank(value.back().unicode()))) {
        return failed(error, QStringLiteral("the value begins or ends with a blank"));
    }
    // Writing over a file we could not read would lose it.
    const std::optional<QByteArray> bytes = load(path, error);
    if (!bytes) {
        return false;
    }
    const EncodedText text(*bytes);
    const Location location = locate(text, section, key);
    std::optional<QByteArray> edited;
    if (location.keyFound) {
        // Unchanged: the value keeps its bytes, whatever encoding it was read from.
        if (text.decoded(location.valueBegin, location.valueEnd) == value) {
            return true;
        }
        edited = text.replaced(location.valueBegin, location.valueEnd, value);
    } else {
        const QString lineEnd = lineEndOf(text);
        QString lines = key + QLatin1Char('=') + value + lineEnd;
        if (!location.sectionFound) {
            lines.prepend(QLatin1Char('[') + section + QLatin1Char(']') + lineEnd);
        }
        const qsizetype at = location.sectionFound ? location.newKeyAt : text.size();
        if (at > 0 && !isLineEnd(text.at(at - 1))) {
            lines.prepend(lineEnd);
        }
        edited = text.replaced(at, at, lines);
    }
    if (!edited) {
        return failed(error, QStringLiteral("the file's encoding cannot hold the value"));
    }
    return writeFileWhole(path, *edited, error);
}

}  // namespace IniFile
