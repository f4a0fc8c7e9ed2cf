#pragma once

#include <QImage>
#include <QString>

// Writes the image as a JPEG file without chroma subsampling, so thin coloured lines stay
// sharp. False, with the reason, when the file cannot be written.
bool writeJpeg(const QImage& image, const QString& path, int quality, QString* error);
