#include "base/Numbers.h"

#include <charconv>
#include <string>
#include <system_error>

namespace {

bool isAsciiBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Digits with an optional sign, nothing around them.
std::optional<long long> parseTrimmedAscii(const char* first, const char* const last) {
    // from_chars takes a minus but no plus; a sign alone or a doubled sign is not a number.
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-') {
        ++first;
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(first, last, value, 10);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<long long> parseDecimal(const QString& text) {
    const QString trimmed = text.trimmed();
    std::string ascii;
    ascii.reserve(trimmed.size());
    for (const QChar c : trimmed) {
        // Digits of other scripts and every non-ASCII character are not ours to read.
        if (c.unicode() > 0x7F) {
            return std::nullopt;
        }
        ascii += static_cast<char>(c.unicode());
    }
    return parseTrimmedAscii(ascii.data(), ascii.data() + ascii.size());
}

std::optional<long long> parseDecimalBytes(std::string_view text) {
    for (const char c : text) {
        // Blanks beyond ASCII are trimmed the QString way.
        if (static_cast<unsigned char>(c) > 0x7F) {
            return parseDecimal(QString::fromUtf8(text.data(), qsizetype(text.size())));
        }
    }
    while (!text.empty() && isAsciiBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isAsciiBlank(text.back())) {
        text.remove_suffix(1);
    }
    return parseTrimmedAscii(text.data(), text.data() + text.size());
}

QString decimalText(long long value) {
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, 10);
    (void)error;  // 24 characters hold every long long
    return QString::fromLatin1(buffer, end - buffer);
}
