#pragma once

#include <QByteArray>
#include <QString>

// A decoded picture: rows of 8-bit red, green, blue triples, top row first, no padding.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    QByteArray rgb;

    bool isEmpty() const { return width == 0 || height == 0; }
};

// Decodes a baseline or progressive JPEG (grey or colour). Anything that is not a complete,
// sound picture (a missing, truncated or corrupt file, a colour space we do not show, a picture
// too large to be one of ours) gives an empty picture; the decoder never ends the process.
DecodedPicture decodeJpeg(const QByteArray& bytes);
DecodedPicture decodeJpegFile(const QString& path);
