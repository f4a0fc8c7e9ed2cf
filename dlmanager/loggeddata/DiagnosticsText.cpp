#include "loggeddata/DiagnosticsText.h"

namespace DiagnosticsText {

std::array<QString, RowCount> values(std::span<const uint16_t, 10> registers) {
    const auto hex = [](uint16_t word) {
        return QStringLiteral("%1").arg(word, 4, 16, QChar(u'0')).toUpper();
    };
    return {hex(registers[3]), hex(registers[4]), QString::number(registers[5]),
            QString::number(registers[6]), QString::number(registers[7])};
}

}  // namespace DiagnosticsText
