#pragma once

#include <QImage>
#include <QString>

// A JPEG file as an image for a label; a null image when the file is missing or broken, so its
// area simply stays empty.
QImage loadJpegPicture(const QString& path);
