#pragma once

#include <QByteArrayView>
#include <optional>

// Files written on Windows machines come in the Windows code page (windows-1252) as often as in
// UTF-8; these are the pieces every reader of such files shares.
namespace TextEncoding {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(QByteArrayView bytes);

// windows-1252. The five bytes the code page leaves undefined keep their C1 code point, as
// Windows' own conversion does, so every byte maps to a distinct character and back.
char16_t fromWindows1252(unsigned char byte);
// The byte for the character, or nothing when the code page has no such character.
std::optional<unsigned char> toWindows1252(char16_t character);

}  // namespace TextEncoding
