#include "TestFiles.h"
#include "base/XmlDocument.h"
#include "base/XmlEncoding.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <ostream>

namespace {

struct EncodingCase {
    const char* name;
    QByteArray file;
    QByteArray utf8;
};

void PrintTo(const EncodingCase& c, std::ostream* out) {
    *out << c.name;
}

class ToUtf8 : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(ToUtf8, GivesTheTextAsUtf8) {
    EXPECT_EQ(XmlEncoding::toUtf8(GetParam().file), GetParam().utf8);
}

const QByteArray utf8Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

INSTANTIATE_TEST_SUITE_P(
    Files, ToUtf8,
    ::testing::Values(
        EncodingCase{"Empty", "", ""}, EncodingCase{"PlainAscii", "<a u=\"C\"/>", "<a u=\"C\"/>"},
        EncodingCase{"Utf8DeclaredKeepsItsBytes",
                     utf8Declaration + "<a u=\"\xC2\xB0"
                                       "C\"/>",
                     utf8Declaration + "<a u=\"\xC2\xB0"
                                       "C\"/>"},
        // Valid UTF-8 that would also be valid windows-1252 stays UTF-8 ("°", not "Â°").
        EncodingCase{"Utf8UndeclaredStaysUtf8",
                     "<a u=\"\xC2\xB0"
                     "C\"/>",
                     "<a u=\"\xC2\xB0"
                     "C\"/>"},
        EncodingCase{"Utf8BomIsDropped", "\xEF\xBB\xBF<a u=\"\xC2\xB0\"/>", "<a u=\"\xC2\xB0\"/>"},
        // Kept as they came, the bytes would be saved as they are and read back otherwise.
        EncodingCase{"Utf8BomOverWindows1252Bytes", "\xEF\xBB\xBF<a u=\"\xB0\x80\"/>",
                     "<a u=\"\xC2\xB0\xE2\x82\xAC\"/>"},
        // The BOM outweighs a declaration that contradicts it.
        EncodingCase{
            "Utf8BomBeatsLatin1Declaration",
            "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a u=\"\xC2\xB0\"/>",
            utf8Declaration + "<a u=\"\xC2\xB0\"/>"},
        EncodingCase{"Latin1",
                     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a u=\"\xB0"
                     "C\"/>",
                     utf8Declaration + "<a u=\"\xC2\xB0"
                                       "C\"/>"},
        EncodingCase{
            "Latin1AliasSingleQuotesBlanks",
            "<?xml version='1.0' encoding = 'Latin1' standalone='yes'?><a>\xE9\xB0</a>",
            "<?xml version='1.0' encoding = 'UTF-8' standalone='yes'?><a>\xC3\xA9\xC2\xB0</a>"},
        // Declared Latin-1 is written by Windows programs in their code page: 0x80 is the euro
        // sign, 0x89 the per mille sign, 0x96 the en dash, not control characters.
        EncodingCase{"Latin1HighBytesAreWindows1252",
                     "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><a>\x80\x89\x96</a>",
                     utf8Declaration + "<a>\xE2\x82\xAC\xE2\x80\xB0\xE2\x80\x93</a>"},
        EncodingCase{"Windows1252",
                     "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\x80\x96\xB0\x9F</a>",
                     utf8Declaration + "<a>\xE2\x82\xAC\xE2\x80\x93\xC2\xB0\xC5\xB8</a>"},
        EncodingCase{"Cp1252UpperCase",
                     "<?xml version=\"1.0\" encoding=\"CP1252\"?><a>\x93x\x94</a>",
                     utf8Declaration + "<a>\xE2\x80\x9Cx\xE2\x80\x9D</a>"},
        EncodingCase{"Windows1252UndefinedByteKeepsItsCodePoint",
                     "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\x81\x9D</a>",
                     utf8Declaration + "<a>\xC2\x81\xC2\x9D</a>"},
        EncodingCase{"UndeclaredInvalidUtf8IsWindows1252",
                     "<a u=\"\xB0"
                     "C\">\x80</a>",
                     "<a u=\"\xC2\xB0"
                     "C\">\xE2\x82\xAC</a>"},
        EncodingCase{"DeclarationWithoutEncodingInvalidUtf8",
                     "<?xml version=\"1.0\"?><a u=\"\xB0"
                     "C\"/>",
                     "<?xml version=\"1.0\"?><a u=\"\xC2\xB0"
                     "C\"/>"},
        // One invalid byte turns the whole file to windows-1252, also the valid-looking pair.
        EncodingCase{"DeclaredUtf8ButInvalidIsWindows1252",
                     "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a u=\"\xB0"
                     "C\">\xC3\xA9</a>",
                     utf8Declaration + "<a u=\"\xC2\xB0"
                                       "C\">\xC3\x83\xC2\xA9</a>"},
        EncodingCase{"OverlongUtf8IsNotUtf8", "<a>\xC0\xB0</a>", "<a>\xC3\x80\xC2\xB0</a>"},
        EncodingCase{"EncodedSurrogateIsNotUtf8", "<a>\xED\xA0\x80</a>",
                     "<a>\xC3\xAD\xC2\xA0\xE2\x82\xAC</a>"},
        EncodingCase{"TruncatedUtf8IsNotUtf8", "<a>\xE2\x82</a>", "<a>\xC3\xA2\xE2\x80\x9A</a>"},
        EncodingCase{"OtherDeclaredEncodingNamesUtf8Afterwards",
                     "<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><a/>",
                     utf8Declaration + "<a/>"},
        EncodingCase{"ProcessingInstructionIsNoDeclaration",
                     "<?xml-stylesheet encoding=\"latin1\"?><a>\xC2\xB0</a>",
                     "<?xml-stylesheet encoding=\"latin1\"?><a>\xC2\xB0</a>"},
        EncodingCase{"Utf16LeWithBom",
                     raw("\xFF\xFE<\0?\0x\0m\0l\0 \0e\0n\0c\0o\0d\0i\0n\0g\0=\0\"\0U\0T\0F\0-\0"
                         "1\0"
                         "6\0\"\0?\0>\0<\0a\0>\0\xB0\0\xAC\x20<\0/\0a\0>\0"),
                     "<?xml encoding=\"UTF-8\"?><a>\xC2\xB0\xE2\x82\xAC</a>"},
        EncodingCase{"Utf16BeWithBom", raw("\xFE\xFF\0<\0a\0>\0\xB0\x20\xAC\0<\0/\0a\0>"),
                     "<a>\xC2\xB0\xE2\x82\xAC</a>"},
        EncodingCase{"Utf16LeWithoutBom", raw("<\0?\0x\0m\0l\0 \0?\0>\0<\0a\0/\0>\0"),
                     "<?xml ?><a/>"},
        EncodingCase{"Utf16SurrogatePair", raw("\xFF\xFE<\0a\0>\0\x3D\xD8\x00\xDE<\0/\0a\0>\0"),
                     "<a>\xF0\x9F\x98\x80</a>"}),
    [](const auto& info) { return std::string(info.param.name); });

// Bytes 0x80..0x9F are where windows-1252 and Latin-1 part; no byte may be lost or merged.
TEST(Windows1252, EveryByteBecomesItsOwnCharacter) {
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '<' && byte != '&' && byte != 0) {
            all += char(byte);
        }
    }
    const QString decoded = QString::fromUtf8(
        XmlEncoding::toUtf8("<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + all));
    const QString text = decoded.mid(decoded.indexOf(u"?>") + 2);
    ASSERT_EQ(text.size(), all.size());
    EXPECT_EQ(QSet<QChar>(text.begin(), text.end()).size(), all.size());
    for (qsizetype i = 0; i < all.size(); ++i) {
        const auto byte = static_cast<unsigned char>(all[i]);
        if (byte < 0x80 || byte >= 0xA0) {
            EXPECT_EQ(text[i].unicode(), byte) << "byte " << int(byte);
        }
    }
    EXPECT_EQ(text[all.indexOf('\x8C')], QChar(0x0152));  // OE ligature
    EXPECT_EQ(text[all.indexOf('\x99')], QChar(0x2122));  // trade mark
}

// --- Through the document facility -------------------------------------------------------

const QString degreeUnit = QStringLiteral(u"\u00B0C");

// A command-list file as Windows programs write it, in the given encoding.
QByteArray commandFile(QStringConverter::Encoding encoding, const char* declaredName, bool bom) {
    const QString text =
        QString::fromUtf8(
            "<?xml version=\"1.0\" encoding=\"%1\"?>\r\n<cmdmb>\r\n"
            "  <row indirizzo=\"100\" punti=\"2\" unita=\"%2\" descr=\"Temp%3\"/>\r\n"
            "</cmdmb>\r\n")
            .arg(QString::fromLatin1(declaredName), degreeUnit, QString(QChar(0xE8)));
    QStringEncoder encoder(
        encoding, bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder(text);
}

struct DocumentCase {
    const char* name;
    QByteArray file;
};

void PrintTo(const DocumentCase& c, std::ostream* out) {
    *out << c.name;
}

class LoadDocument : public ::testing::TestWithParam<DocumentCase> {};

TEST_P(LoadDocument, UnitReadsBackAsDegreesCelsius) {
    auto document = XmlDocument::create();
    ASSERT_TRUE(document);
    ASSERT_TRUE(document->loadBytes(GetParam().file));
    const XmlElement row = document->documentElement().childByName("row");
    EXPECT_EQ(row.attribute("unita"), degreeUnit);
    EXPECT_EQ(row.attribute("descr"), QString::fromUtf8("Temp\xC3\xA8"));
}

QByteArray windows1252CommandFile(const char* declaredName) {
    return QByteArray("<?xml version=\"1.0\" encoding=\"") + declaredName +
           "\"?>\r\n<cmdmb><row indirizzo=\"100\" unita=\"\xB0"
           "C\" descr=\"Temp\xE8\"/></cmdmb>";
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, LoadDocument,
    ::testing::Values(
        DocumentCase{"Utf8", commandFile(QStringConverter::Utf8, "UTF-8", false)},
        DocumentCase{"Utf8Bom", commandFile(QStringConverter::Utf8, "UTF-8", true)},
        DocumentCase{"Latin1", commandFile(QStringConverter::Latin1, "ISO-8859-1", false)},
        DocumentCase{"Utf16Le", commandFile(QStringConverter::Utf16LE, "UTF-16", true)},
        DocumentCase{"Utf16Be", commandFile(QStringConverter::Utf16BE, "UTF-16", true)},
        DocumentCase{"Windows1252", windows1252CommandFile("windows-1252")},
        DocumentCase{"Utf8DeclaredButWindows1252", windows1252CommandFile("UTF-8")},
        DocumentCase{"Undeclared1252",
                     "<cmdmb><row unita=\"\xB0"
                     "C\" descr=\"Temp\xE8\"/></cmdmb>"}),
    [](const auto& info) { return std::string(info.param.name); });

// The parser must not decode a second time what was already turned into UTF-8.
TEST(LoadDocument, ParserSeesUtf8WhateverItWouldGuess) {
    const QByteArray file = commandFile(QStringConverter::Latin1, "ISO-8859-1", false);
    pugi::xml_document document;
    const QByteArray utf8 = XmlEncoding::toUtf8(file);
    ASSERT_TRUE(document.load_buffer(utf8.constData(), utf8.size(), pugi::parse_default,
                                     pugi::encoding_auto));
    EXPECT_EQ(
        QString::fromUtf8(document.document_element().child("row").attribute("unita").value()),
        degreeUnit);
}

TEST(LoadDocument, InternalEntityStaysUnexpanded) {
    const QByteArray file =
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE cmdmb [\n"
        "  <!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">\n"
        "  <!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n"
        "  <!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
        "  <!ENTITY file SYSTEM \"file:///etc/passwd\">\n"
        "]>\n"
        "<cmdmb><row descr=\"&c;\">&file;&lt;</row></cmdmb>";
    auto document = XmlDocument::create();
    ASSERT_TRUE(document);
    if (!document->loadBytes(file)) {
        return;  // refusing the file is sound too
    }
    const XmlElement row = document->documentElement().childByName("row");
    EXPECT_EQ(row.attribute("descr"), "&c;");
    EXPECT_EQ(row.text(), "&file;<");
}

TEST(LoadDocument, NonAsciiTextSurvivesSaveAndLoad) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("cmdmb.xml");
    const QString unit = degreeUnit;
    const QString description = QString::fromUtf8(
        "\xE2\x82\xAC \xC3\xA4\xC3\xB6\xC3\xBC \xE2\x80\x93 \xE6\xB8\xA9\xE5\xBA\xA6");
    const QString dateText = QString::fromUtf8("15.03.2011 14:30:45 \xE2\x80\xAF");

    auto written = XmlDocument::create();
    ASSERT_TRUE(written);
    XmlElement root = written->createElement("cmdmb");
    written->setDocumentElement(root);
    XmlElement row = written->documentElement().appendChild(written->createElement("row"));
    row.setAttribute("unita", unit);
    row.setAttribute("descr", description);
    row.setText(dateText);
    ASSERT_TRUE(written->save(path));

    auto read = XmlDocument::create();
    ASSERT_TRUE(read);
    ASSERT_TRUE(read->load(path));
    const XmlElement readRow = read->documentElement().childByName("row");
    EXPECT_EQ(readRow.attribute("unita"), unit);
    EXPECT_EQ(readRow.attribute("descr"), description);
    EXPECT_EQ(readRow.text(), dateText);

    // Saving what was loaded from a Latin-1 file must not keep its old declaration.
    auto latin1 = XmlDocument::create();
    ASSERT_TRUE(latin1->loadBytes(commandFile(QStringConverter::Latin1, "ISO-8859-1", false)));
    ASSERT_TRUE(latin1->save(path));
    auto again = XmlDocument::create();
    ASSERT_TRUE(again->load(path));
    EXPECT_EQ(again->documentElement().childByName("row").attribute("unita"), unit);
}

}  // namespace
