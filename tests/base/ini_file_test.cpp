#include "TestFiles.h"
#include "base/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <ostream>

namespace {

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray utf16le(const QString& text) {
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

QByteArray utf16be(const QString& text) {
    QByteArray bytes("\xFE\xFF");
    for (const QChar c : text) {
        bytes += char(c.unicode() >> 8);
        bytes += char(c.unicode() & 0xFF);
    }
    return bytes;
}

const QString absent = QStringLiteral("<absent>");

// A file, what reading "lastproj"/"projectname" gives, and the file's bytes after that key is
// written with a new value.
struct IniCase {
    const char* name;
    QByteArray file;
    QString read;
    QString written;
    QByteArray after;
    bool writes = true;
};

void PrintTo(const IniCase& c, std::ostream* out) {
    *out << c.name;
}

class LastProjectEntry : public ::testing::TestWithParam<IniCase> {};

TEST_P(LastProjectEntry, ReadsAndWritesOnlyItsOwnBytes) {
    const IniCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("Quandor.ini");
    writeAll(path, c.file);
    EXPECT_EQ(IniFile::read(path, "lastproj", "projectname", absent), c.read);
    EXPECT_EQ(IniFile::write(path, "lastproj", "projectname", c.written), c.writes);
    EXPECT_EQ(fileBytes(path), c.after);
    if (c.writes) {
        EXPECT_EQ(IniFile::read(path, "lastproj", "projectname", absent), c.written);
    }
}

const QString sample =
    "[Other]\r\nk=v\r\n[lastproj]\r\nprojectname=Plant\r\n[ComPort]\r\nNumber=3\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, LastProjectEntry,
    ::testing::Values(
        IniCase{"Utf16LeWithBom", utf16le(sample), "Plant", QStringLiteral("Caldaia é"),
                utf16le(QString(sample).replace("Plant", QStringLiteral("Caldaia é")))},
        IniCase{"Utf16BeWithBom", utf16be(sample), "Plant", "Nord",
                utf16be(QString(sample).replace("Plant", "Nord"))},
        IniCase{"Utf16NewSectionTakesTheFileLineEnd", utf16le("[Other]\r\nk=v\r\n"), absent, "Nord",
                utf16le("[Other]\r\nk=v\r\n[lastproj]\r\nprojectname=Nord\r\n")},
        IniCase{"Utf8BomStays", "\xEF\xBB\xBF[lastproj]\nprojectname=Caf\xC3\xA9\n",
                QStringLiteral("Café"), "Plant", "\xEF\xBB\xBF[lastproj]\nprojectname=Plant\n"},
        IniCase{"Utf8NewValue", "[lastproj]\nprojectname=Old\n", "Old",
                QStringLiteral("Impianto ä°"),
                "[lastproj]\nprojectname=Impianto \xC3\xA4\xC2\xB0\n"},
        IniCase{"NulByteIsJustAByte", raw("[Other]\nk=a\0b\n[lastproj]\nprojectname=Old\n"), "Old",
                "New", raw("[Other]\nk=a\0b\n[lastproj]\nprojectname=New\n")},
        IniCase{"DuplicateKeyFirstCounts", "[lastproj]\nprojectname=First\nprojectname=Second\n",
                "First", "New", "[lastproj]\nprojectname=New\nprojectname=Second\n"},
        IniCase{
            "NamesIgnoreCaseFirstSectionCounts",
            "[Other]\na=1\n[other]\nb=2\n[LastProj]\nProjectName=A\n[lastproj]\nprojectname=B\n",
            "A", "C",
            "[Other]\na=1\n[other]\nb=2\n[LastProj]\nProjectName=C\n[lastproj]\nprojectname=B\n"},
        IniCase{"BlanksAroundTheValue", "[lastproj]\n  projectname = Old  \n", "Old", "New",
                "[lastproj]\n  projectname = New  \n"},
        IniCase{"TrailingCommentStays", "[lastproj]\nprojectname=A\n; end\n", "A", "B",
                "[lastproj]\nprojectname=B\n; end\n"},
        IniCase{"CrLfStays", "[lastproj]\r\nprojectname=A\r\n\r\n[ComPort]\r\nNumber=1\r\n", "A",
                "B", "[lastproj]\r\nprojectname=B\r\n\r\n[ComPort]\r\nNumber=1\r\n"},
        IniCase{"Windows1252ValueWrittenBackUnchanged", "[lastproj]\nprojectname=Temp\xE9rature\n",
                QStringLiteral("Température"), QStringLiteral("Température"),
                "[lastproj]\nprojectname=Temp\xE9rature\n"},
        IniCase{"Windows1252NewValueInTheCodePage", "[x]\nk=\xE9\n[lastproj]\nprojectname=A\n", "A",
                QStringLiteral("Caffè €"), "[x]\nk=\xE9\n[lastproj]\nprojectname=Caff\xE8 \x80\n"},
        IniCase{"Windows1252CannotHoldTheValue", "[lastproj]\nprojectname=Temp\xE9rature\n",
                QStringLiteral("Température"), QStringLiteral("温度"),
                "[lastproj]\nprojectname=Temp\xE9rature\n", false},
        IniCase{"LineEndInTheValueIsRefused", "[lastproj]\nprojectname=A\n", "A",
                "B\n[ComPort]\nNumber=7", "[lastproj]\nprojectname=A\n", false},
        // A read drops them, so the value would come back as another project's name.
        IniCase{"BlanksAroundTheValueAreRefused", "[lastproj]\nprojectname=A\n", "A", "Plant ",
                "[lastproj]\nprojectname=A\n", false},
        IniCase{"MissingSectionGoesAtTheEnd", "[Other]\nk=v\n", absent, "New",
                "[Other]\nk=v\n[lastproj]\nprojectname=New\n"},
        IniCase{"MissingKeyGoesAfterTheSectionsLastEntry",
                "[lastproj]\r\nother=1\r\n\r\n; the port\r\n[ComPort]\r\nNumber=1\r\n", absent,
                "New",
                "[lastproj]\r\nother=1\r\nprojectname=New\r\n\r\n; the "
                "port\r\n[ComPort]\r\nNumber=1\r\n"},
        IniCase{"EmptyFile", "", absent, "", "[lastproj]\nprojectname=\n"},
        IniCase{"NoFinalLineEnd", "[lastproj]\nprojectname=Old", "Old", "New",
                "[lastproj]\nprojectname=New"},
        IniCase{"NoFinalLineEndNewSection", "[Other]\r\nk=v", absent, "New",
                "[Other]\r\nk=v\r\n[lastproj]\r\nprojectname=New\r\n"}));

TEST(IniFile, MissingFileGivesTheFallbackAndWritingCreatesIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Quandor.ini");
    EXPECT_EQ(IniFile::read(path, "lastproj", "projectname", "none"), "none");
    ASSERT_TRUE(IniFile::write(path, "lastproj", "projectname", ""));
    EXPECT_EQ(fileBytes(path), "[lastproj]\nprojectname=\n");
    EXPECT_EQ(IniFile::read(path, "lastproj", "projectname", "x"), "");
}

TEST(IniFile, AFileThatCannotBeReadGivesTheFallbackAndIsLeftAlone) {
    const QByteArray large =
        "[lastproj]\nprojectname=Plant\n;" + QByteArray(IniFile::MaxFileBytes, 'x') + "\n";
    const struct {
        const char* name;
        std::function<bool(const QString&)> make;
        QString reason;
    } cases[] = {
        {"too large", [&](const QString& path) { return writeAll(path, large), true; },
         QStringLiteral("it holds %1 bytes, more than the 1048576 such a file may have")
             .arg(large.size())},
        {"folder", [](const QString& path) { return QDir().mkdir(path); },
         "it is a folder, not a regular file"},
        // Nobody writes to it: a read would wait for ever.
        {"FIFO",
         [](const QString& path) {
             return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
         },
         "it is a FIFO, not a regular file"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("Quandor.ini");
        ASSERT_TRUE(c.make(path)) << c.name;
        const QFileInfo before(path);
        EXPECT_EQ(IniFile::read(path, "lastproj", "projectname", "none"), "none") << c.name;
        QString reason;
        EXPECT_FALSE(IniFile::write(path, "lastproj", "projectname", "x", &reason)) << c.name;
        EXPECT_EQ(reason, c.reason) << c.name;
        const QFileInfo after(path);
        EXPECT_EQ(after.isFile(), before.isFile()) << c.name;
        EXPECT_EQ(after.size(), before.size()) << c.name;
        EXPECT_EQ(
            QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList{"Quandor.ini"})
            << c.name;
    }
    EXPECT_FALSE(IniFile::write(QDir::tempPath() + "/missing-folder-x/Quandor.ini", "a", "b", "c"));
}

}  // namespace
