#pragma once

#include <QByteArray>

// Project and data files also come from Windows machines. This turns the bytes of such a file
// into UTF-8 text for the parser: a UTF-8 BOM is dropped, UTF-16 with BOM is converted,
// declarations of ISO-8859-1 or windows-1252 are decoded (windows-1252 differs from Latin-1 in
// 0x80..0x9F), and a file that declares nothing and is not valid UTF-8 is read as windows-1252.
// The declaration's encoding, when rewritten, names UTF-8.
namespace XmlEncoding {

QByteArray toUtf8(const QByteArray& fileBytes);

}  // namespace XmlEncoding
