#pragma once

#include <QString>
#include <cstdint>

class Prompts;

// The number conversion of the bank builder: blanks and control characters around the text are
// removed; empty text gives -1; text that is not a signed decimal integer shows "Error in
// conversion string" and gives -1. No range test: the result is cut to its low 16 bits (-1 is
// 0xFFFF); a one-byte field takes the low 8 bits of that.
uint16_t bankNumber(const QString& text, Prompts& prompts);
