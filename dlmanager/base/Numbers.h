#pragma once

#include <QString>
#include <optional>
#include <string_view>

// Numbers in files are decimal text read and written the same under every locale: the C
// library's functions follow the user's locale once the application exists, these never do.

// A decimal integer: optional sign, digits, blanks around it allowed; nothing else.
std::optional<long long> parseDecimal(const QString& text);
// The same from bytes (ASCII or UTF-8), for bulk data.
std::optional<long long> parseDecimalBytes(std::string_view text);

QString decimalText(long long value);
