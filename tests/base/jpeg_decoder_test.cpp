#include "base/JpegDecoder.h"
#include "base/PictureFiles.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

QByteArray shipped(const QString& name) {
    QFile file(QStringLiteral(DLM_PICTURES_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Dark pixels: the drawing's ink, not an empty or grey picture.
int darkPixels(const DecodedPicture& picture) {
    int dark = 0;
    for (qsizetype i = 0; i + 2 < picture.rgb.size(); i += 3) {
        dark += uchar(picture.rgb[i]) < 80 && uchar(picture.rgb[i + 1]) < 80 &&
                uchar(picture.rgb[i + 2]) < 80;
    }
    return dark;
}

TEST(JpegDecoder, ShippedPicturesDecodeWhole) {
    const struct {
        QString name;
        int width, height;
    } pictures[] = {
        // Twice the size they are shown at, sharp on screens scaled to 200 %.
        {PictureFiles::BootJumperIn, 960, 600},     {PictureFiles::CrossCable, 960, 600},
        {PictureFiles::BootLed, 960, 600},          {PictureFiles::BootJumperOut, 960, 600},
        {PictureFiles::ConnectTile, 320, 200},      {PictureFiles::EditProjectTile, 320, 200},
        {PictureFiles::DownloadDataTile, 320, 200},
    };
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.name.toStdString());
        const DecodedPicture decoded =
            decodeJpegFile(QStringLiteral(DLM_PICTURES_DIR "/") + picture.name);
        EXPECT_EQ(decoded.width, picture.width);
        EXPECT_EQ(decoded.height, picture.height);
        EXPECT_EQ(decoded.rgb.size(), qsizetype(picture.width) * picture.height * 3);
        EXPECT_GT(darkPixels(decoded), 200);
    }
}

TEST(JpegDecoder, BrokenFilesGiveAnEmptyPicture) {
    const QByteArray whole = shipped(PictureFiles::CrossCable);
    ASSERT_GT(whole.size(), 1000);
    // The frame header's height and width, patched to 60000 × 60000.
    QByteArray huge = whole;
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    huge.replace(frame + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i) {
        garbage[i] = char((i * 7919) >> 3);
    }
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty", {}},
        {"start marker only", QByteArray("\xFF\xD8", 2)},
        {"cut in the header", whole.left(300)},
        {"cut in the middle", whole.left(whole.size() / 2)},
        {"without its end marker", whole.left(whole.size() - 2)},
        {"garbage", garbage},
        {"a JPEG start, then garbage", QByteArray("\xFF\xD8\xFF\xE0", 4) + garbage},
        {"too large to be ours", huge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(decodeJpeg(c.bytes).isEmpty());
    }
    EXPECT_FALSE(decodeJpeg(whole).isEmpty());
}

TEST(JpegDecoder, FilesThatCannotBeReadGiveAnEmptyPicture) {
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath("pipe.jpg"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    // Nothing is read from a pipe: nobody writes to it, so a read would wait for ever.
    EXPECT_TRUE(decodeJpegFile(dir.filePath("pipe.jpg")).isEmpty());
    EXPECT_TRUE(decodeJpegFile(dir.filePath("missing.jpg")).isEmpty());
    EXPECT_TRUE(decodeJpegFile(dir.path()).isEmpty());
}

}  // namespace
