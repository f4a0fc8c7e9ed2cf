#include "firmware/BankNumber.h"

#include "base/Numbers.h"
#include "base/Prompts.h"

#include <optional>

namespace {

bool isBlankOrControl(QChar c) {
    return c.unicode() <= 0x20 || c.category() == QChar::Other_Control;
}

QString trimmed(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlankOrControl(text[first])) {
        ++first;
    }
    while (last > first && isBlankOrControl(text[last - 1])) {
        --last;
    }
    return text.mid(first, last - first);
}

}  // namespace

uint16_t bankNumber(const QString& text, Prompts& prompts) {
    const QString value = trimmed(text);
    if (value.isEmpty()) {
        return 0xFFFF;
    }
    const std::optional<long long> number = parseDecimal(value);
    if (!number) {
        prompts.warn(QStringLiteral("Error in conversion string"));
        return 0xFFFF;
    }
    return static_cast<uint16_t>(*number);
}
