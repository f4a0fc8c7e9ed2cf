#include "shell/IniFile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QByteArray> nonBlankLines(const QByteArray& text) {
    QList<QByteArray> lines;
    for (const QByteArray& line : text.split('\n')) {
        if (!line.trimmed().isEmpty()) {
            lines << line;
        }
    }
    return lines;
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(IniFile, MissingFileSectionOrKeyGivesTheFallback) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Quandor.ini");
    EXPECT_EQ(IniFile::read(path, "lastproj", "projectname", "none"), "none");
    writeAll(path, "[lastproj]\nother=1\n");
    EXPECT_EQ(IniFile::read(path, "lastproj", "projectname", "none"), "none");
    EXPECT_EQ(IniFile::read(path, "ComPort", "Number", "0"), "0");
}

TEST(IniFile, WritingCreatesTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Quandor.ini");
    ASSERT_TRUE(IniFile::write(path, "lastproj", "projectname", ""));
    EXPECT_EQ(readAll(path), "[lastproj]\nprojectname=\n");
    EXPECT_EQ(IniFile::read(path, "lastproj", "projectname", "x"), "");
}

TEST(IniFile, WritingKeepsForeignContentAndItsOrder) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Quandor.ini");
    writeAll(path,
             "; written by the installer\n"
             "[Window]\n"
             "Left=10\n"
             "; keep this\n"
             "Top=20\n"
             "\n"
             "[lastproj]\n"
             "projectname=Old\n"
             "comment=stays\n"
             "\n"
             "[ComPort]\n"
             "Number=3\n"
             "\n"
             "[Zeta]\n"
             "a=1\n");
    ASSERT_TRUE(IniFile::write(path, "lastproj", "projectname", "Plant/Line 2"));
    ASSERT_TRUE(IniFile::write(path, "New", "key", "value"));
    const QByteArray text = readAll(path);
    // Blank lines may be laid out anew; every other line stays, in its order.
    EXPECT_EQ(
        nonBlankLines(text),
        QList<QByteArray>({"; written by the installer", "[Window]", "Left=10", "; keep this",
                           "Top=20", "[lastproj]", "projectname=Plant/Line 2", "comment=stays",
                           "[ComPort]", "Number=3", "[Zeta]", "a=1", "[New]", "key=value"}))
        << text.constData();

    // Writes do not pile up blank lines.
    ASSERT_TRUE(IniFile::write(path, "lastproj", "projectname", "Plant/Line 2"));
    EXPECT_EQ(readAll(path), text);
}

TEST(IniFile, WindowsLineEndsAndNonAsciiNamesReadBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Quandor.ini");
    writeAll(path, "[lastproj]\r\nprojectname=Caldaia Nord\r\n[ComPort]\r\nNumber=2\r\n");
    EXPECT_EQ(IniFile::read(path, "lastproj", "projectname"), "Caldaia Nord");
    EXPECT_EQ(IniFile::read(path, "ComPort", "Number"), "2");
    ASSERT_TRUE(IniFile::write(path, "lastproj", "projectname", QStringLiteral("Impianto ä°")));
    EXPECT_EQ(IniFile::read(path, "lastproj", "projectname"), QStringLiteral("Impianto ä°"));
    EXPECT_EQ(IniFile::read(path, "ComPort", "Number"), "2");
}

TEST(IniFile, AFileThatCannotBeWrittenIsReportedAndLeftAlone) {
    QTemporaryDir dir;
    // A folder where the file should be: neither readable as a file nor replaceable.
    const QString path = dir.filePath("Quandor.ini");
    ASSERT_TRUE(QDir().mkdir(path));
    EXPECT_FALSE(IniFile::write(path, "lastproj", "projectname", "x"));
    EXPECT_FALSE(IniFile::write(dir.filePath("missing/Quandor.ini"), "a", "b", "c"));
}

}  // namespace
