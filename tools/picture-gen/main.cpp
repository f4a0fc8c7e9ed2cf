#include "Drawings.h"
#include "JpegWriter.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    // Fonts need a platform; none needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: picture-gen OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "picture-gen: cannot create %s\n", argv[1]);
        return 1;
    }
    for (const Drawing& drawing : allDrawings()) {
        const QString path = folder.filePath(drawing.fileName);
        QString error;
        if (!writeJpeg(drawing.draw(), path, 92, &error)) {
            std::fprintf(stderr, "picture-gen: %s: %s\n", qPrintable(path), qPrintable(error));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
