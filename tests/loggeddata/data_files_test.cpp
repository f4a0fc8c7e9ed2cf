#include "base/WholeFile.h"
#include "loggeddata/CsvExport.h"
#include "loggeddata/DataFiles.h"
#include "loggeddata/LoggedData.h"
#include "loggeddata/SampleTimeTexts.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <clocale>
#include <string>

namespace {

LoggerTime at(int year, int month, int day, int hour, int minute, int second) {
    return LoggerTimeStamp::fromDateAndTime(QDate(year, month, day), QTime(hour, minute, second));
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Temperature (2 values, 1 decimal, C), Hidden, Flags (1 value, hex-minded).
CommandList plantCommands() {
    CommandList list(3);
    list[0] = {100, 2, QStringLiteral("Temperature"), 1, 1, QStringLiteral("C")};
    list[1] = {200, 1, QStringLiteral("Hidden"), 0, 0, QStringLiteral("bar")};
    list[2] = {300, 1, QStringLiteral("Flags"), 1, 0, QString()};
    return list;
}

void fill(SampleTable& table) {
    table.clear();
    const uint16_t temperatures[] = {215, 198};
    const uint16_t pressure[] = {7};
    const uint16_t flags[] = {215};
    table.append(at(2011, 3, 15, 0, 0, 0), HardwareStartMarker, {});
    table.append(at(2011, 3, 15, 14, 30, 45), 0, temperatures);
    table.append(at(2011, 3, 15, 14, 30, 45), 1, pressure);
    table.append(at(2011, 3, 15, 14, 30, 45), 2, flags);
    table.append(at(2011, 3, 16, 9, 5, 0), HardwareStopMarker, {});
}

struct LocaleCase {
    const char* locale;
    const char* dateTime;  // 2011-03-15 14:30:45 in DATE
    const char* midnight;  // 2011-03-15 00:00:00 in DATE
    const char* csvSample;
};

class DataFilesUnderLocale : public ::testing::TestWithParam<LocaleCase> {
protected:
    DataFilesUnderLocale() { QLocale::setDefault(QLocale(QString::fromLatin1(GetParam().locale))); }
    ~DataFilesUnderLocale() override { QLocale::setDefault(QLocale::c()); }
    QString file(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir folder_;
};

TEST_P(DataFilesUnderLocale, SaveAndLoadGiveTheSameSamples) {
    LoggedData data;
    fill(data.samples);
    SampleTimeTexts texts;
    ASSERT_EQ(DataFiles::save(file("data.xml"), data.samples, texts), DataFiles::SaveResult::Saved);
    const QString xml = QString::fromUtf8(readAll(file("data.xml")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<RECORD><DATE>") +
                             QString::fromUtf8(GetParam().midnight) +
                             QStringLiteral("</DATE><COMMAND>2001</COMMAND><DATAS/></RECORD>")))
        << xml.left(300).toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("<DATE>") + QString::fromUtf8(GetParam().dateTime) +
                             QStringLiteral("</DATE><COMMAND>0</COMMAND><DATAS><DATA>215</DATA>"
                                            "<DATA>198</DATA></DATAS>")));

    LoggedData loaded;
    SampleTimeTexts readTexts;
    ASSERT_TRUE(loaded.loadDataFile(file("data.xml"), readTexts));
    ASSERT_EQ(loaded.samples.LastSampleIndex(), 4);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(loaded.samples[i].date, data.samples[i].date) << i;
        EXPECT_EQ(loaded.samples[i].command, data.samples[i].command) << i;
        EXPECT_TRUE(std::ranges::equal(loaded.samples.datas(i), data.samples.datas(i))) << i;
    }
}

TEST_P(DataFilesUnderLocale, CsvRowsAsTheTableShowsThem) {
    SampleTable table;
    fill(table);
    SampleTimeTexts texts;
    const QString date = texts.date(at(2011, 3, 15, 0, 0, 0));
    const QString time = texts.time(at(2011, 3, 15, 14, 30, 45));
    const QString csv = QString::fromLocal8Bit(
        CsvExport::build(table, plantCommands(), DisplayBase::Decimal, texts));
    const QStringList lines = csv.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 6) << csv.toStdString();  // the last line ends with CR LF too
    EXPECT_EQ(lines[0], QStringLiteral("Description;Date;Time;Data Address;N° Point;Data;"));
    EXPECT_EQ(lines[1], QStringLiteral("START FROM HARDWARE;") + date + u';' +
                            texts.time(at(2011, 3, 15, 0, 0, 0)) + u';');
    EXPECT_EQ(lines[2], QString::fromUtf8(GetParam().csvSample));
    EXPECT_EQ(lines[3],
              QStringLiteral("Flags;") + date + u';' + time + QStringLiteral(";300;1;215 ;"));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("STOP FROM HARDWARE;")));
    EXPECT_EQ(lines[5], QString());
}

INSTANTIATE_TEST_SUITE_P(
    Locales, DataFilesUnderLocale,
    ::testing::Values(LocaleCase{"en_US", "3/15/2011 2:30:45 PM", "3/15/2011",
                                 "Temperature;3/15/2011;2:30:45 PM;100;2;21.5 C;19.8 C;"},
                      LocaleCase{"de_DE", "15.03.2011 14:30:45", "15.03.2011",
                                 "Temperature;15.03.2011;14:30:45;100;2;21,5 C;19,8 C;"},
                      LocaleCase{"it_IT", "15/03/2011 14:30:45", "15/03/2011",
                                 "Temperature;15/03/2011;14:30:45;100;2;21,5 C;19,8 C;"},
                      LocaleCase{"C", "15 Mar 2011 14:30:45", "15 Mar 2011",
                                 "Temperature;15 Mar 2011;14:30:45;100;2;21.5 C;19.8 C;"}),
    [](const auto& info) { return std::string(info.param.locale); });

// Sets the default locale for as long as it lives; declared before what reads the locale.
struct DefaultLocale {
    explicit DefaultLocale(const char* name) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
    }
    ~DefaultLocale() { QLocale::setDefault(QLocale::c()); }
};

class DataFiles_ : public ::testing::Test {
protected:
    // A record of `count` values.
    static QByteArray values(int count) {
        QByteArray record = "<RECORD><DATE>3/15/2011</DATE><COMMAND>1</COMMAND><DATAS>";
        for (int i = 0; i < count; ++i) {
            record += "<DATA>7</DATA>";
        }
        return record + "</DATAS></RECORD>";
    }
    QString write(const QByteArray& xml) {
        const QString path = folder_.filePath(QStringLiteral("in.xml"));
        EXPECT_TRUE(writeFileWhole(path, xml));
        return path;
    }

    DefaultLocale locale_{"en_US"};
    QTemporaryDir folder_;
    SampleTimeTexts texts_;
};

TEST_F(DataFiles_, ReadingTheFilesOfOthers) {
    LoggedData data;
    ASSERT_TRUE(data.loadDataFile(write("<RECORDS/>"), texts_));
    EXPECT_EQ(data.samples.LastSampleIndex(), -1);

    ASSERT_TRUE(data.loadDataFile(
        write("<?xml version=\"1.0\"?>\n<RECORDS>\n  <RECORD>\n    <DATE>3/15/11 2:30:45 PM</DATE>"
              "<COMMAND>1</COMMAND><DATAS><DATA>70000</DATA><DATA>65535</DATA></DATAS></RECORD>"
              "<RECORD><DATE>2011-03-16T00:00:00</DATE><COMMAND>2000</COMMAND><DATAS/></RECORD>"
              "</RECORDS>"),
        texts_));
    ASSERT_EQ(data.samples.LastSampleIndex(), 1);
    EXPECT_EQ(data.samples[0].date, at(2011, 3, 15, 14, 30, 45));
    EXPECT_EQ(std::vector<uint16_t>(data.samples.datas(0).begin(), data.samples.datas(0).end()),
              std::vector<uint16_t>({4464, 65535}));
    EXPECT_EQ(data.samples[1].date, at(2011, 3, 16, 0, 0, 0));
}

TEST_F(DataFiles_, AFailedLoadKeepsEverySampleItHad) {
    LoggedData data;
    fill(data.samples);
    const QByteArray good =
        "<RECORD><DATE>3/15/2011</DATE><COMMAND>1</COMMAND><DATAS><DATA>1</DATA></DATAS></RECORD>";
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"not XML", "RECORDS"},
        {"no RECORDS", "<DATA>" + good + "</DATA>"},
        {"no DATE", "<RECORDS>" + good + "<RECORD><COMMAND>1</COMMAND><DATAS/></RECORD></RECORDS>"},
        {"no DATAS", "<RECORDS>" + good +
                         "<RECORD><DATE>3/15/2011</DATE><COMMAND>1</COMMAND></RECORD></RECORDS>"},
        {"bad date", "<RECORDS>" + good +
                         "<RECORD><DATE>2/30/2011</DATE><COMMAND>1</COMMAND><DATAS/></RECORD>"
                         "</RECORDS>"},
        {"bad command", "<RECORDS>" + good +
                            "<RECORD><DATE>3/15/2011</DATE><COMMAND>one</COMMAND><DATAS/>"
                            "</RECORD></RECORDS>"},
        {"bad value", "<RECORDS>" + good +
                          "<RECORD><DATE>3/15/2011</DATE><COMMAND>1</COMMAND><DATAS><DATA>1.5"
                          "</DATA></DATAS></RECORD></RECORDS>"},
        {"more values than a command has",
         "<RECORDS>" + good + values(MaxPointCount + 1) + "</RECORDS>"},
    };
    for (const auto& [name, xml] : cases) {
        EXPECT_FALSE(data.loadDataFile(write(xml), texts_)) << name;
        ASSERT_EQ(data.samples.LastSampleIndex(), 4) << name;
        EXPECT_EQ(data.samples[1].date, at(2011, 3, 15, 14, 30, 45)) << name;
        EXPECT_EQ(data.samples.datas(1)[0], 215) << name;
    }
    EXPECT_TRUE(data.loadDataFile(write("<RECORDS>" + good + "</RECORDS>"), texts_));
    EXPECT_EQ(data.samples.LastSampleIndex(), 0);
    EXPECT_TRUE(
        data.loadDataFile(write("<RECORDS>" + values(MaxPointCount) + "</RECORDS>"), texts_));
    EXPECT_EQ(data.samples.datas(0).size(), size_t(MaxPointCount));
}

TEST_F(DataFiles_, MoreRecordsThanTheTableTakesIsAnError) {
    QByteArray xml = "<RECORDS>";
    const QByteArray record =
        "<RECORD><DATE>3/15/2011</DATE><COMMAND>2000</COMMAND><DATAS/></RECORD>";
    for (int i = 0; i < SampleTable::Capacity; ++i) {
        xml += record;
    }
    LoggedData data;
    ASSERT_TRUE(data.loadDataFile(write(xml + "</RECORDS>"), texts_));
    EXPECT_EQ(data.samples.LastSampleIndex(), 150000);
    fill(data.samples);
    EXPECT_FALSE(data.loadDataFile(write(xml + record + "</RECORDS>"), texts_));
    EXPECT_EQ(data.samples.LastSampleIndex(), 4);
}

TEST(DataFileNames, ProjectFilesAreRefusedInAnyFolderAndCase) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::link(QStringLiteral("DipCmd.xml"), dir.filePath(QStringLiteral("to.csv"))));
    for (const QString& name : {QStringLiteral("cmdmb.xml"), QStringLiteral("/a/b/CMDMB.XML"),
                                QStringLiteral("x/PaRgEn.XmL"), QStringLiteral("TABGRP.xml"),
                                QStringLiteral("DipCmd.xml"), QStringLiteral("/p/DIPCMD.XML"),
                                dir.filePath(QStringLiteral("to.csv"))}) {
        EXPECT_TRUE(DataFiles::isProjectFileName(name)) << name.toStdString();
    }
    for (const char* name : {"data.xml", "cmdmb.xml.bak", "cmdmb/data.xml", "my_cmdmb.xml"}) {
        EXPECT_FALSE(DataFiles::isProjectFileName(QString::fromLatin1(name))) << name;
    }
}

// The CSV is for spreadsheets on this machine: in the locale's code set, not always UTF-8.
TEST(CsvExport, WrittenInTheCodeSetOfTheLocale) {
    const std::string before = std::setlocale(LC_CTYPE, nullptr);
    if (!std::setlocale(LC_CTYPE, "de_DE@euro")) {
        GTEST_SKIP() << "no de_DE@euro locale";
    }
    SampleTable table;
    const uint16_t value[] = {7};
    table.append(at(2011, 3, 15, 14, 30, 45), 0, value);
    const CommandList commands = {
        {100, 1, QStringLiteral("Kessel € Ω"), 1, 0, QStringLiteral("°C")}};
    SampleTimeTexts texts(SampleTimeTexts::Style::Iso);
    const QByteArray csv = CsvExport::build(table, commands, DisplayBase::Decimal, texts);
    std::setlocale(LC_CTYPE, before.c_str());
    // ISO-8859-15: ° is B0 and € A4; Ω it cannot hold.
    EXPECT_EQ(csv, QByteArray("Description;Date;Time;Data Address;N\xB0 Point;Data;\r\n"
                              "Kessel \xA4 ?;2011-03-15;14:30:45;100;1;7 \xB0"
                              "C;\r\n"));
}

TEST(CsvExport, HiddenCommandsHexadecimalAndForeignCommands) {
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    SampleTable table;
    fill(table);
    table.append(at(2011, 3, 16, 10, 0, 0), 7, {});  // not in this project: no row
    CommandList commands = plantCommands();
    SampleTimeTexts texts;
    QStringList lines =
        QString::fromLocal8Bit(CsvExport::build(table, commands, DisplayBase::Hexadecimal, texts))
            .split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[2], QStringLiteral("Temperature;3/15/2011;2:30:45 PM;100;2;00D7 C;00C6 C;"));
    EXPECT_EQ(lines.size(), 6);

    for (Comandi& command : commands) {
        command.Visible = 0;
    }
    lines = QString::fromLocal8Bit(CsvExport::build(table, commands, DisplayBase::Decimal, texts))
                .split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.size(), 4);  // header, start, stop
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("START FROM HARDWARE;3/15/2011;")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("STOP FROM HARDWARE;3/16/2011;9:05:00 AM;")));
    QLocale::setDefault(QLocale::c());
}

TEST(IsoStyle, ReadableUnderAnyLocale) {
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    SampleTable table;
    fill(table);
    SampleTimeTexts iso(SampleTimeTexts::Style::Iso);
    const QStringList lines =
        QString::fromLocal8Bit(CsvExport::build(table, plantCommands(), DisplayBase::Decimal, iso))
            .split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[2], QStringLiteral("Temperature;2011-03-15;14:30:45;100;2;21.5 C;19.8 C;"));
    EXPECT_EQ(iso.dateTime(at(2011, 3, 15, 0, 0, 0)), QStringLiteral("2011-03-15T00:00:00"));
    EXPECT_EQ(iso.parseDateTime(QStringLiteral("2011-03-15T14:30:45")),
              at(2011, 3, 15, 14, 30, 45));
    EXPECT_EQ(iso.parseDateTime(QStringLiteral("15.03.2011 14:30:45")),
              at(2011, 3, 15, 14, 30, 45));
    QLocale::setDefault(QLocale::c());
}

}  // namespace

namespace {

// Data files are read from their bytes, mostly without QLocale: what is read must be what the
// texts say, in every locale's shape, and what QLocale reads must still be read.
TEST(DateTexts, BytesReadAsTheTextsSay) {
    const std::vector<LoggerTime> stamps = {at(2011, 3, 15, 14, 30, 45), at(2011, 3, 15, 0, 0, 0),
                                            at(2063, 12, 31, 23, 59, 59), at(2000, 1, 1, 12, 0, 0),
                                            at(2024, 2, 29, 0, 0, 1)};
    for (const char* name : {"en_US", "de_DE", "it_IT", "C", "fr_FR", "en_GB", "ko_KR", "bg_BG"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        for (const auto style : {SampleTimeTexts::Style::Locale, SampleTimeTexts::Style::Iso}) {
            SampleTimeTexts texts(style);
            for (const LoggerTime stamp : stamps) {
                const QByteArray bytes = texts.dateTime(stamp).toUtf8();
                EXPECT_EQ(texts.parseDateTimeBytes(bytes.toStdString()), stamp)
                    << name << " " << bytes.toStdString();
            }
        }
    }
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    SampleTimeTexts texts;
    EXPECT_EQ(texts.parseDateTimeBytes(" 3/15/11 2:30:45 pm "), at(2011, 3, 15, 14, 30, 45));
    EXPECT_EQ(texts.parseDateTimeBytes("3/15/2011 12:00:00 AM"), at(2011, 3, 15, 0, 0, 0));
    for (const char* wrong : {"3/15/2011 13:00:00 PM", "2/29/2011", "3/15/2011 2:30 PM", "3/15",
                              "3/15/2011 2:30:45", ""}) {
        EXPECT_EQ(texts.parseDateTimeBytes(wrong), std::nullopt) << wrong;
    }
    QLocale::setDefault(QLocale::c());
}

}  // namespace
