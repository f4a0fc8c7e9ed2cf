#include "widgets/JpegPicture.h"

#include "base/JpegDecoder.h"

#include <QLabel>
#include <QPixmap>
#include <cstring>

QImage loadJpegPicture(const QString& path) {
    const DecodedPicture decoded = decodeJpegFile(path);
    if (decoded.isEmpty()) {
        return {};
    }
    QImage image(decoded.width, decoded.height, QImage::Format_RGB888);
    if (image.isNull()) {
        return {};
    }
    // QImage pads its rows to four bytes; the decoder's rows are packed.
    const qsizetype rowBytes = qsizetype(decoded.width) * 3;
    for (int y = 0; y < decoded.height; ++y) {
        std::memcpy(image.scanLine(y), decoded.rgb.constData() + rowBytes * y, size_t(rowBytes));
    }
    return image;
}

void showPicture(QLabel& label, const QImage& image, QSize shownSize) {
    if (image.isNull()) {
        label.setPixmap(QPixmap());
        return;
    }
    const qreal ratio = label.devicePixelRatioF();
    QPixmap pixmap = QPixmap::fromImage(
        image.scaled(shownSize * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    label.setPixmap(pixmap);
}
