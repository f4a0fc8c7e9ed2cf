#include "shell/Numbers.h"

#include <charconv>
#include <string>
#include <system_error>

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
    const char* first = ascii.data();
    const char* const last = ascii.data() + ascii.size();
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

QString decimalText(long long value) {
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, 10);
    (void)error;  // 24 characters hold every long long
    return QString::fromLatin1(buffer, end - buffer);
}
