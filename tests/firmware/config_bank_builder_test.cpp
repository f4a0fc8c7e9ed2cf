#include "../support/ScriptedPrompts.h"
#include "ProjectFolder.h"
#include "firmware/ConfigBankBuilder.h"

#include <gtest/gtest.h>
#include <QDir>

#include <array>
#include <map>

namespace {

using namespace ConfigBankLayout;

// The bank's bytes that are not zero, by offset.
std::map<int, int> nonZeroBytes(const BankImage& bank) {
    std::map<int, int> bytes;
    for (int i = 0; i < BankSize; ++i) {
        if (bank[i] != 0) {
            bytes[i] = bank[i];
        }
    }
    return bytes;
}

class BankBuilderTest : public ::testing::Test {
public:
    ProjectFolder project;
    BankImages banks;
    ScriptedPrompts prompts;

    BankBuildResult build() { return buildConfigBank(project.path(), banks, prompts); }
    const BankImage& bank() const { return banks.ConfigBank(); }
};

TEST_F(BankBuilderTest, ExampleProjectGivesTheDocumentedBytes) {
    project.commands({R"(dataaddress="100" npoint="2" scale="0" unita="" description="a")",
                      R"(dataaddress="40001" npoint="10" scale="1" unita="°C" description="b")"});
    project.serial({"3", "0", "1"});
    project.options({"1", "0"});

    EXPECT_EQ(build(), BankBuildResult::Built);
    EXPECT_TRUE(prompts.shown.isEmpty());
    // 00 64 02 9C 41 0A at 0..5, 03 00 01 at 16184, 00 02 at 16187, 01 00 at 16189; all else 0.
    const std::map<int, int> expected = {{1, 0x64},     {2, 0x02},     {3, 0x9C},
                                         {4, 0x41},     {5, 0x0A},     {16184, 0x03},
                                         {16186, 0x01}, {16188, 0x02}, {16189, 0x01}};
    EXPECT_EQ(nonZeroBytes(bank()), expected);
}

TEST_F(BankBuilderTest, RowsWithAnEmptyConfAreLeftOut) {
    project.commands({R"(dataaddress="1" npoint="1" conf="")",
                      R"(dataaddress="2" npoint="2" conf="0")", R"(dataaddress="3" npoint="3")",
                      R"(conf="" description="no numbers needed")",
                      R"(dataaddress="4" npoint="4" conf=" ")"});
    project.serial({"0", "0", "0"});
    EXPECT_EQ(build(), BankBuildResult::Built);
    const std::map<int, int> expected = {
        {1, 2}, {2, 2}, {4, 3}, {5, 3}, {7, 4}, {8, 4}, {EntryCount + 1, 3}};
    EXPECT_EQ(nonZeroBytes(bank()), expected);
}

TEST_F(BankBuilderTest, NumberConversion) {
    struct Case {
        QByteArray address;
        QByteArray points;
        int high, low, count;
        int messages;
    };
    const Case cases[] = {
        {"", "", 0xFF, 0xFF, 0xFF, 0},
        {" 100 ", "\t2\n", 0x00, 0x64, 0x02, 0},
        {"&#9;7&#13;", "1", 0x00, 0x07, 0x01, 0},
        {"70000", "300", 0x11, 0x70, 0x2C, 0},
        {"-1", "-2", 0xFF, 0xFF, 0xFE, 0},
        {"+5", "0", 0x00, 0x05, 0x00, 0},
        {"abc", "1", 0xFF, 0xFF, 0x01, 1},
        {"12abc", "x", 0xFF, 0xFF, 0xFF, 2},
        {"0x10", "1.5", 0xFF, 0xFF, 0xFF, 2},
    };
    for (const Case& c : cases) {
        project.commands({"dataaddress=\"" + c.address + "\" npoint=\"" + c.points + "\""});
        project.serial({"0", "0", "0"});
        prompts.shown.clear();
        EXPECT_EQ(build(), BankBuildResult::Built);
        const std::string what =
            "address '" + c.address.toStdString() + "' points '" + c.points.toStdString() + "'";
        EXPECT_EQ(bank()[0], c.high) << what;
        EXPECT_EQ(bank()[1], c.low) << what;
        EXPECT_EQ(bank()[2], c.count) << what;
        EXPECT_EQ(prompts.shown, QStringList(c.messages, "Error in conversion string")) << what;
    }
}

TEST_F(BankBuilderTest, SerialValuesByNameOrPositionAndOnlyInRange) {
    struct Case {
        QByteArray children;
        std::array<int, 3> bytes;  // baud, parity, address when built
        const char* problem;       // the message's end when abandoned
    };
    const Case cases[] = {
        {"<id_dev>9</id_dev><parity>2</parity><baudmodbus>7</baudmodbus>", {7, 2, 9}, nullptr},
        {"<a> 4 </a><b>1</b><c>255</c>", {4, 1, 255}, nullptr},
        // The read-back's file: the device address is not in it.
        {"<timeoutmb>1000</timeoutmb><baudmodbus>3</baudmodbus><parity>0</parity>",
         {},
         "no DevID (id_dev)"},
        {"<a>1</a><b>2</b>", {}, "no DevID (id_dev)"},
        {"<baudmodbus>8</baudmodbus><parity>0</parity><id_dev>1</id_dev>",
         {},
         "the Baudrate (baudmodbus) 8 is outside 0..7"},
        {"<baudmodbus>-1</baudmodbus><parity>0</parity><id_dev>1</id_dev>",
         {},
         "the Baudrate (baudmodbus) -1 is outside 0..7"},
        {"<baudmodbus>0</baudmodbus><parity></parity><id_dev>1</id_dev>", {}, "no Parity (parity)"},
        {"<baudmodbus>0</baudmodbus><parity>3</parity><id_dev>1</id_dev>",
         {},
         "the Parity (parity) 3 is outside 0..2"},
        {"<baudmodbus>0</baudmodbus><parity>0</parity><id_dev>256</id_dev>",
         {},
         "the DevID (id_dev) 256 is outside 0..255"},
        {"<baudmodbus>0</baudmodbus><parity>0</parity><id_dev>x1</id_dev>",
         {},
         "the DevID (id_dev) \"x1\" is not a number"},
    };
    project.commands({});
    for (const Case& c : cases) {
        project.write("ParGen.Xml", "<GenericParameter>" + c.children + "</GenericParameter>");
        prompts.shown.clear();
        const std::string what = c.children.toStdString();
        if (c.problem == nullptr) {
            EXPECT_EQ(build(), BankBuildResult::Built) << what;
            EXPECT_TRUE(prompts.shown.isEmpty()) << what;
            EXPECT_EQ((std::array<int, 3>{bank()[BaudCode], bank()[ParityCode], bank()[DeviceId]}),
                      c.bytes)
                << what;
        } else {
            EXPECT_EQ(build(), BankBuildResult::Abandoned) << what;
            EXPECT_EQ(prompts.shown,
                      QStringList{QStringLiteral("Error in file pargen.xml: ") + c.problem})
                << what;
        }
    }
}

TEST_F(BankBuilderTest, MissingFiles) {
    // No cmdmb.xml (a folder of that name is no file): message, no entries, count 0, the rest
    // still built.
    ASSERT_TRUE(QDir(project.path()).mkdir("CMDMB.XML"));
    project.serial({"3", "1", "9"});
    project.options({"1", "1"});
    EXPECT_EQ(build(), BankBuildResult::Built);
    EXPECT_EQ(prompts.shown, QStringList{"File cmdmb.xml not found"});
    EXPECT_EQ(
        nonZeroBytes(bank()),
        (std::map<int, int>{
            {BaudCode, 3}, {ParityCode, 1}, {DeviceId, 9}, {StartStop, 1}, {CyclicalMemory, 1}}));

    // No DipCmd.xml: both options 0, no message.
    prompts.shown.clear();
    QDir(project.path()).rmdir("CMDMB.XML");
    project.commands({R"(dataaddress="5" npoint="6")"});
    project.remove("DipCmd.xml");
    EXPECT_EQ(build(), BankBuildResult::Built);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(bank()[StartStop], 0);
    EXPECT_EQ(bank()[CyclicalMemory], 0);
    EXPECT_EQ(bank()[EntryCount + 1], 1);

    // No pargen.xml: message, the build ends after the entries and the caller goes on. Nothing
    // of the build before survives.
    prompts.shown.clear();
    project.remove("pargen.xml");
    project.options({"1", "1"});
    EXPECT_EQ(build(), BankBuildResult::Built);
    EXPECT_EQ(prompts.shown, QStringList{"File pargen.xml not found"});
    EXPECT_EQ(nonZeroBytes(bank()), (std::map<int, int>{{1, 5}, {2, 6}}));
}

TEST_F(BankBuilderTest, EveryBuildStartsFromClearBanks) {
    project.commands({R"(dataaddress="1" npoint="1")", R"(dataaddress="2" npoint="2")"});
    project.serial({"3", "2", "1"});
    project.options({"1", "1"});
    ASSERT_EQ(build(), BankBuildResult::Built);
    banks.bank(3).fill(0xAA);

    ProjectFolder smaller;
    smaller.commands({R"(dataaddress="9" npoint="9")"});
    ASSERT_EQ(buildConfigBank(smaller.path(), banks, prompts), BankBuildResult::Built);
    EXPECT_EQ(nonZeroBytes(bank()), (std::map<int, int>{{1, 9}, {2, 9}}));
    for (int number = 2; number <= BankCount; ++number) {
        EXPECT_EQ(nonZeroBytes(banks.bank(number)).size(), 0u) << number;
    }
}

TEST_F(BankBuilderTest, OptionBytes) {
    struct Case {
        QByteArray xml;
        int startStop, cyclical;
    };
    const Case cases[] = {
        {"<Dip-Switch><a>1</a><b>1</b></Dip-Switch>", 1, 1},
        {"<Dip-Switch><a>0</a></Dip-Switch>", 0, 0},
        {"<Dip-Switch><a>1</a><b>yes</b></Dip-Switch>", 1, 0},
        {"<Dip-Switch><a>257</a><b>-1</b></Dip-Switch>", 1, 0xFF},
    };
    project.commands({});
    project.serial({"0", "0", "0"});
    for (const Case& c : cases) {
        project.write("dipcmd.XML", c.xml);
        EXPECT_EQ(build(), BankBuildResult::Built) << c.xml.toStdString();
        EXPECT_EQ(bank()[StartStop], c.startStop) << c.xml.toStdString();
        EXPECT_EQ(bank()[CyclicalMemory], c.cyclical) << c.xml.toStdString();
    }
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(BankBuilderTest, FaultyFilesAbandonTheBuildWithAMessage) {
    struct Case {
        const char* name;
        QString file;
        QByteArray content;
    };
    const Case cases[] = {
        {"cmdmb.xml does not parse", "cmdmb.xml", "<cmdmb><row dataaddress=\"1\"</cmdmb>"},
        {"row without npoint", "cmdmb.xml", "<cmdmb><row dataaddress=\"1\"/></cmdmb>"},
        {"row without dataaddress", "cmdmb.xml", "<cmdmb><row npoint=\"1\"/></cmdmb>"},
        {"pargen.xml does not parse", "pargen.xml", "not xml"},
        {"pargen.xml with two values", "pargen.xml",
         "<GenericParameter><a>1</a><b>2</b></GenericParameter>"},
        {"DipCmd.xml does not parse", "DipCmd.xml", "<Dip-Switch>"},
        {"DipCmd.xml without children", "DipCmd.xml", "<Dip-Switch/>"},
        {"Start_Stop not an integer", "DipCmd.xml", "<Dip-Switch><a>on</a><b>1</b></Dip-Switch>"},
        {"Start_Stop empty", "DipCmd.xml", "<Dip-Switch><a></a><b>1</b></Dip-Switch>"},
    };
    for (const Case& c : cases) {
        project.commands({R"(dataaddress="1" npoint="1")"});
        project.serial({"0", "0", "0"});
        project.options({"0", "0"});
        project.write(c.file, c.content);
        prompts.shown.clear();
        EXPECT_EQ(build(), BankBuildResult::Abandoned) << c.name;
        EXPECT_EQ(prompts.shown.size(), 1) << c.name;
    }
}

TEST_F(BankBuilderTest, TheTableStopsShortOfTheSerialParameters) {
    QList<QByteArray> rows(MaxEntries, R"(dataaddress="65535" npoint="255")");
    project.commands(rows);
    project.serial({"1", "2", "3"});
    ASSERT_EQ(build(), BankBuildResult::Built);
    EXPECT_EQ(bank()[16181], 0xFF);
    EXPECT_EQ(bank()[16182], 0);
    EXPECT_EQ(bank()[EntryCount], 0x15);
    EXPECT_EQ(bank()[EntryCount + 1], 0x12);

    rows << R"(dataaddress="65535" npoint="255")";
    project.commands(rows);
    EXPECT_EQ(build(), BankBuildResult::Abandoned);
    EXPECT_EQ(prompts.shown, QStringList{"Too many commands for the configuration bank"});
    EXPECT_EQ(bank()[BaudCode], 0);
    EXPECT_EQ(bank()[16182], 0);

    // Left-out rows do not count against the limit.
    rows.last() = R"(dataaddress="1" npoint="1" conf="")";
    project.commands(rows);
    EXPECT_EQ(build(), BankBuildResult::Built);
}

TEST_F(BankBuilderTest, FileNamesAndElementNamesDoNotMatter) {
    project.write(
        "CMDMB.XML",
        R"(<cmdmb><command dataaddress="100" npoint="2"/><x dataaddress="1" npoint="1"/></cmdmb>)");
    project.serial({"4", "0", "1"}, "PARGEN.XML");
    EXPECT_EQ(build(), BankBuildResult::Built);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(bank()[1], 100);
    EXPECT_EQ(bank()[4], 1);
    EXPECT_EQ(bank()[BaudCode], 4);
    EXPECT_EQ(bank()[EntryCount + 1], 2);
}

}  // namespace
