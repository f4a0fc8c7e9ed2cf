// The settings file is the user's: any bytes must read without harm, and a value that was
// written reads back as written.
#include "FuzzFiles.h"
#include "base/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first line is the value to write, the rest the file.
    const QByteArray bytes = fuzzBytes(data, size);
    const qsizetype lineEnd = bytes.indexOf('\n');
    const QString value = QString::fromUtf8(lineEnd < 0 ? QByteArray() : bytes.left(lineEnd));
    const QString path =
        writeFuzzFile(QStringLiteral("Quandor.ini"), lineEnd < 0 ? bytes : bytes.mid(lineEnd + 1));

    const QString section = QStringLiteral("lastproj");
    const QString key = QStringLiteral("projectname");
    (void)IniFile::read(path, QStringLiteral("ComPort"), QStringLiteral("Number"),
                        QStringLiteral("0"));
    const QString before = IniFile::read(path, section, key);
    if (IniFile::write(path, section, key, value)) {
        FUZZ_CHECK(IniFile::read(path, section, key) == value);
    } else {
        FUZZ_CHECK(IniFile::read(path, section, key) == before);
    }
    return 0;
}
