#include "loggeddata/SampleRendering.h"

#include "loggeddata/SampleTable.h"

namespace {

QString decimal(uint16_t raw, int decimals, QChar separator) {
    QString digits = QString::number(raw);
    if (decimals == 0) {
        return digits;
    }
    if (digits.size() <= decimals) {
        digits = QString(decimals + 1 - digits.size(), u'0') + digits;
    }
    return digits.left(digits.size() - decimals) + separator + digits.right(decimals);
}

QString hexadecimal(uint16_t raw) {
    return QStringLiteral("%1").arg(raw, 4, 16, QChar(u'0')).toUpper();
}

QString binary(uint16_t raw) {
    QString text;
    text.reserve(19);
    for (int bit = 15; bit >= 0; --bit) {
        text += (raw >> bit & 1) ? u'1' : u'0';
        if (bit % 4 == 0 && bit > 0) {
            text += u' ';
        }
    }
    return text;
}

}  // namespace

bool isCompatible(const SampleTable& table, const CommandList& commands) {
    for (int i = 0; i <= table.LastSampleIndex(); ++i) {
        const int32_t command = table[i].command;
        if ((command < 0 || size_t(command) >= commands.size()) && !isMarker(command)) {
            return false;
        }
    }
    return true;
}

QString renderValue(uint16_t raw, const Comandi& command, DisplayBase base,
                    QChar decimalSeparator) {
    switch (base) {
        case DisplayBase::Hexadecimal:
            return hexadecimal(raw);
        case DisplayBase::Binary:
            return binary(raw);
        case DisplayBase::Decimal:
            break;
    }
    return decimal(raw, command.Decimals, decimalSeparator);
}

double scaledValue(uint16_t raw, const Comandi& command) {
    double divisor = 1.0;
    for (int i = 0; i < command.Decimals; ++i) {
        divisor *= 10.0;
    }
    return raw / divisor;
}
