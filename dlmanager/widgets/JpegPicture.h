#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QLabel;

// A JPEG file as an image for a label; a null image when the file is missing or broken, so its
// area simply stays empty.
QImage loadJpegPicture(const QString& path);

// Shows the picture in the label at the given size, sharp at the screen's pixel ratio; a null
// image clears the label.
void showPicture(QLabel& label, const QImage& image, QSize shownSize);
