#pragma once

#include <QString>
#include <optional>

// Numbers in files are decimal text read and written the same under every locale: the C
// library's functions follow the user's locale once the application exists, these never do.

// A decimal integer: optional sign, digits, blanks around it allowed; nothing else.
std::optional<long long> parseDecimal(const QString& text);

QString decimalText(long long value);
