#include "QtPrinters.h"
#include "ScriptedPrompts.h"
#include "base/WholeFile.h"
#include "base/XmlDocument.h"
#include "projects/CommSettings.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

namespace {

struct LoadCase {
    const char* name;
    const char* fileName;  // nullptr: no pargen.xml
    std::string content;
    CommFields expected;  // the fields start as {2, 2, 33}
    QString message;
};

class CommFieldsLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(CommFieldsLoad, ByNameOrByPosition) {
    const LoadCase& c = GetParam();
    QTemporaryDir dir;
    if (c.fileName) {
        ASSERT_TRUE(writeFileWhole(dir.filePath(c.fileName), QByteArray::fromStdString(c.content)));
    }
    ScriptedPrompts prompts;
    CommFields fields{2, 2, 33};
    loadCommFields(dir.path(), fields, prompts);
    EXPECT_EQ(fields.baudIndex, c.expected.baudIndex);
    EXPECT_EQ(fields.parityIndex, c.expected.parityIndex);
    EXPECT_EQ(fields.deviceId, c.expected.deviceId);
    EXPECT_EQ(prompts.shown, c.message.isEmpty() ? QStringList() : QStringList{c.message});
}

std::string params(const char* a, const char* b, const char* c) {
    return std::string("<GenericParameter><baudmodbus>") + a + "</baudmodbus><parity>" + b +
           "</parity><id_dev>" + c + "</id_dev></GenericParameter>";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommFieldsLoad,
    ::testing::Values(
        LoadCase{"Plain", "pargen.xml", params("4", "1", "7"), {4, 1, 7}, ""},
        LoadCase{"AnySpelling", "PARGEN.XML", params("7", "2", "255"), {7, 2, 255}, ""},
        LoadCase{"Missing", nullptr, "", {2, 2, 33}, CommTexts::NotPresent},
        LoadCase{"BaudOutsideTheList", "pargen.xml", params("9", "0", "1"), {-1, 0, 1}, ""},
        LoadCase{
            "DeviceIdToTheNearerLimit", "pargen.xml", params("0", "-1", "300"), {0, -1, 255}, ""},
        LoadCase{"DeviceIdBelowZero", "pargen.xml", params("0", "0", "-4"), {0, 0, 0}, ""},
        LoadCase{"NamedInAnyOrder",
                 "pargen.xml",
                 "<G><id_dev>9</id_dev><parity>2</parity><baudmodbus>5</baudmodbus></G>",
                 {5, 2, 9},
                 ""},
        LoadCase{"ReadBackLayout",
                 "ParGen.Xml",
                 "<GenericParameter><timeoutmb>1000</timeoutmb><baudmodbus>3</baudmodbus>"
                 "<parity>0</parity></GenericParameter>",
                 {3, 0, 33},
                 CommTexts::ReadError + "\npargen.xml: no DevID (id_dev)."},
        LoadCase{"TwoChildren",
                 "pargen.xml",
                 "<G><a>5</a><b>1</b></G>",
                 {5, 1, 33},
                 CommTexts::ReadError + "\npargen.xml: no DevID (id_dev)."},
        LoadCase{
            "NotANumber",
            "pargen.xml",
            params("6", "odd", "3"),
            {6, 2, 33},
            CommTexts::ReadError + "\npargen.xml: the Parity (parity) \"odd\" is not a number."},
        LoadCase{"DoesNotParse", "pargen.xml", "<G><a>5</a>", {2, 2, 33}, CommTexts::ReadError}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommFieldsSave, WritesPositionsAndIdAsPargenInTheExistingSpelling) {
    QTemporaryDir dir;
    ASSERT_TRUE(writeFileWhole(dir.filePath("PARGEN.XML"),
                               QByteArray::fromStdString(params("4", "1", "7"))));
    ScriptedPrompts prompts;
    ASSERT_TRUE(saveCommFields(dir.path(), {-1, 1, 7}, prompts));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"PARGEN.XML"});
    const auto document = XmlDocument::create();
    ASSERT_TRUE(document->load(dir.filePath("PARGEN.XML")));
    const XmlElement root = document->documentElement();
    EXPECT_EQ(root.name(), "GenericParameter");
    EXPECT_EQ(root.child(0).name(), "baudmodbus");
    EXPECT_EQ(root.child(0).text(), "-1");
    EXPECT_EQ(root.child(1).name(), "parity");
    EXPECT_EQ(root.child(1).text(), "1");
    EXPECT_EQ(root.child(2).name(), "id_dev");
    EXPECT_EQ(root.child(2).text(), "7");

    EXPECT_FALSE(saveCommFields(dir.filePath("gone"), {0, 0, 1}, prompts));
    EXPECT_EQ(prompts.shown, QStringList{"Cannot write file \"" + dir.filePath("gone") +
                                         "/Pargen.xml\": No such file or directory"});
}

}  // namespace
