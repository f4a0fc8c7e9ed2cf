#pragma once

#include "projects/Comandi.h"

#include <QChar>
#include <QString>
#include <cstdint>

class SampleTable;

// How raw values are written in the table and the CSV export.
enum class DisplayBase { Decimal = 0, Hexadecimal = 1, Binary = 2 };

// True when every sample's command is a position in the list or a hardware marker.
bool isCompatible(const SampleTable& table, const CommandList& commands);

// Unsigned, never a sign: decimal scaled by the command's Decimals with exactly that many
// decimals and `decimalSeparator`, 4 upper-case hexadecimal digits, or those digits as four
// groups of 4 binary digits.
QString renderValue(uint16_t raw, const Comandi& command, DisplayBase base, QChar decimalSeparator);

// raw / 10^Decimals, not rounded.
double scaledValue(uint16_t raw, const Comandi& command);
