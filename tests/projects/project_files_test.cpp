#include "base/XmlDocument.h"
#include "projects/ProjectFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class ProjectFilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder() const { return dir.path(); }

    void write(const QString& name, const QByteArray& content) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
};

Comandi command(uint16_t address, uint8_t points, uint8_t decimals, const QString& unit,
                const QString& description) {
    return Comandi{address, points, description, 1, decimals, unit};
}

TEST_F(ProjectFilesTest, MissingOrEmptyCommandFileGivesEmptyList) {
    EXPECT_TRUE(ProjectFiles::loadCommandList(folder()).empty());
    write("cmdmb.xml", "<cmdmb></cmdmb>");
    EXPECT_TRUE(ProjectFiles::loadCommandList(folder()).empty());
    write("cmdmb.xml", "<cmdmb><row dataaddress=\"1\"");  // does not parse
    EXPECT_TRUE(ProjectFiles::loadCommandList(folder()).empty());
}

TEST_F(ProjectFilesTest, CommandsRoundTripWithNonAsciiTexts) {
    const CommandList commands = {
        command(100, 2, 1, QStringLiteral("°C"), QStringLiteral("Boiler <in> & \"out\"")),
        command(65535, 127, 5, QString(), QString()),
        command(0, 1, 0, QStringLiteral("m³/h"), QStringLiteral("Durchfluß")),
    };
    ASSERT_EQ(ProjectFiles::saveCommandList(folder(), commands), ProjectFiles::SaveResult::Saved);
    EXPECT_EQ(ProjectFiles::loadCommandList(folder()), commands);
}

TEST_F(ProjectFilesTest, RowsAreWrittenWithTheAttributesInFileOrder) {
    ASSERT_EQ(ProjectFiles::saveCommandList(folder(), {command(7, 3, 2, "V", "x")}),
              ProjectFiles::SaveResult::Saved);
    QFile file(dir.filePath("cmdmb.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << text.data();
    EXPECT_TRUE(text.contains(
        "<row dataaddress=\"7\" npoint=\"3\" scale=\"2\" unita=\"V\" description=\"x\""))
        << text.data();
}

TEST_F(ProjectFilesTest, NumbersKeepTheirLowBitsAndElementNamesDoNotMatter) {
    write("cmdmb.xml",
          "<cmdmb><row dataaddress=\"70000\" npoint=\"300\" scale=\"257\" unita=\"\" "
          "description=\"\"/><anything dataaddress=\"-1\" npoint=\" 5 \" scale=\"0\" "
          "unita=\"u\" description=\"d\"/></cmdmb>");
    const CommandList commands = ProjectFiles::loadCommandList(folder());
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].DataAddress, 4464);
    EXPECT_EQ(commands[0].PointCount, 44);
    EXPECT_EQ(commands[0].Decimals, 1);
    EXPECT_EQ(commands[1].DataAddress, 65535);
    EXPECT_EQ(commands[1].PointCount, 5);
    EXPECT_EQ(commands[1].Unit, "u");
    EXPECT_EQ(commands[1].Visible, 1);
}

TEST_F(ProjectFilesTest, FailurePartWayKeepsEarlierRowsAndThePartialOne) {
    struct Case {
        const char* failingRow;
        uint16_t address;
        uint8_t points;
    };
    const Case cases[] = {
        {"<row dataaddress=\"9\" npoint=\"4\" unita=\"u\" description=\"d\"/>", 9, 4},  // no scale
        {"<row dataaddress=\"9\" npoint=\"x4\" scale=\"1\" unita=\"u\" description=\"d\"/>", 9, 0},
        {"<row npoint=\"4\" scale=\"1\" unita=\"u\" description=\"d\"/>", 0, 0},
        {"<row dataaddress=\"1.5\" npoint=\"4\" scale=\"1\" unita=\"u\" description=\"d\"/>", 0, 0},
    };
    for (const Case& c : cases) {
        write("cmdmb.xml",
              QByteArray("<cmdmb><row dataaddress=\"1\" npoint=\"2\" scale=\"3\" unita=\"°C\" "
                         "description=\"first\"/>") +
                  c.failingRow +
                  "<row dataaddress=\"5\" npoint=\"6\" scale=\"0\" unita=\"\" description=\"\"/>"
                  "</cmdmb>");
        const CommandList commands = ProjectFiles::loadCommandList(folder());
        ASSERT_EQ(commands.size(), 2u) << c.failingRow;
        EXPECT_EQ(commands[0], command(1, 2, 3, QStringLiteral("°C"), "first"));
        EXPECT_EQ(commands[1].DataAddress, c.address) << c.failingRow;
        EXPECT_EQ(commands[1].PointCount, c.points) << c.failingRow;
        EXPECT_EQ(commands[1].Decimals, 0);
        EXPECT_TRUE(commands[1].Unit.isEmpty());
        EXPECT_TRUE(commands[1].Description.isEmpty());
    }
}

TEST_F(ProjectFilesTest, FileNamesMatchWithoutRegardToCase) {
    write("CMDMB.XML",
          "<cmdmb><row dataaddress=\"1\" npoint=\"2\" scale=\"0\" unita=\"\" "
          "description=\"\"/></cmdmb>");
    write("PARGEN.XML", "<GenericParameter><a>3</a><b>1</b><c>17</c></GenericParameter>");
    EXPECT_EQ(ProjectFiles::loadCommandList(folder()).size(), 1u);
    const auto serial = ProjectFiles::loadSerialParameters(folder());
    ASSERT_TRUE(serial);
    EXPECT_EQ(serial->baudCode, 3);
    EXPECT_EQ(serial->parityCode, 1);
    EXPECT_EQ(serial->deviceId, 17);

    // Saving replaces the file that is there, under its own spelling, not a second one.
    ASSERT_EQ(ProjectFiles::saveSerialParameters(folder(), {5, 2, 9}),
              ProjectFiles::SaveResult::Saved);
    EXPECT_EQ(QDir(folder()).entryList({"*.xml", "*.XML", "*.Xml"}, QDir::Files).size(), 2);
    EXPECT_EQ(ProjectFiles::loadSerialParameters(folder())->deviceId, 9);
}

TEST_F(ProjectFilesTest, SavingLeavesOneSpellingOfTheFile) {
    write("PARGEN.XML", "<GenericParameter><a>3</a><b>1</b><c>17</c></GenericParameter>");
    write("pargen.xml", "<GenericParameter><a>4</a><b>1</b><c>18</c></GenericParameter>");
    ASSERT_EQ(ProjectFiles::saveReadBackSerialRegisters(folder(), {1000, 3, 0}),
              ProjectFiles::SaveResult::Saved);
    const QStringList files = QDir(folder()).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    const auto document = XmlDocument::create();
    ASSERT_TRUE(document->load(dir.filePath(files[0])));
    EXPECT_EQ(document->documentElement().child(0).text(), "1000");
}

TEST_F(ProjectFilesTest, CommandRowsAreTheTextsAsStored) {
    EXPECT_EQ(ProjectFiles::loadCommandRows(folder()), CommandRows{});
    write("Cmdmb.xml",
          "<cmdmb><row dataaddress=\"0100\" npoint=\"x\" scale=\"1\" unita=\"V\" "
          "description=\"d\"/><other npoint=\"2\"/></cmdmb>");
    EXPECT_EQ(ProjectFiles::loadCommandRows(folder()),
              (CommandRows{{"0100", "x", "1", "V", "d"}, {"", "2", "", "", ""}}));
    write("Cmdmb.xml", "<cmdmb>");
    EXPECT_FALSE(ProjectFiles::loadCommandRows(folder()));
}

TEST_F(ProjectFilesTest, BothSerialLayoutsReadByName) {
    ASSERT_EQ(ProjectFiles::saveSerialParameters(folder(), {6, 1, 247}),
              ProjectFiles::SaveResult::Saved);
    auto serial = ProjectFiles::loadSerialParameters(folder());
    ASSERT_TRUE(serial);
    EXPECT_EQ(serial->baudCode, 6);
    EXPECT_EQ(serial->parityCode, 1);
    EXPECT_EQ(serial->deviceId, 247);

    ASSERT_EQ(ProjectFiles::saveReadBackSerialRegisters(folder(), {1000, 3, 0}),
              ProjectFiles::SaveResult::Saved);
    auto document = XmlDocument::create();
    ASSERT_TRUE(document->load(dir.filePath("Pargen.xml")));  // one file, whatever the spelling
    const XmlElement root = document->documentElement();
    EXPECT_EQ(root.name(), "GenericParameter");
    EXPECT_EQ(root.child(0).name(), "timeoutmb");
    EXPECT_EQ(root.child(1).name(), "baudmodbus");
    EXPECT_EQ(root.child(2).name(), "parity");
    // The read-back names its values; the device address is not among them.
    const auto values = ProjectFiles::serialValueElements(root);
    EXPECT_EQ(values[0].text(), "3");
    EXPECT_EQ(values[1].text(), "0");
    EXPECT_TRUE(values[2].isNull());
    EXPECT_FALSE(ProjectFiles::loadSerialParameters(folder()));

    write("pargen.xml", "<GenericParameter><a>1</a><b>2</b></GenericParameter>");
    EXPECT_FALSE(ProjectFiles::loadSerialParameters(folder()));
}

TEST_F(ProjectFilesTest, StartStopOptions) {
    EXPECT_FALSE(ProjectFiles::loadStartStopOptions(folder()));
    // A folder carrying the file's name is as good as no file.
    ASSERT_TRUE(QDir(folder()).mkdir("dipcmd.xml"));
    EXPECT_FALSE(ProjectFiles::loadStartStopOptions(folder()));
    ASSERT_TRUE(QDir(folder()).rmdir("dipcmd.xml"));

    ASSERT_EQ(ProjectFiles::saveStartStopOptions(folder(), {true, false}),
              ProjectFiles::SaveResult::Saved);
    auto stored = ProjectFiles::loadStartStopOptions(folder());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->startStopWithDipSwitch, true);
    EXPECT_EQ(stored->cyclicalMemory, false);

    // Found by name, whatever the order; any integer but 1 is off.
    write("DipCmd.xml",
          "<Dip-Switch><Cyclical_mem>1</Cyclical_mem><Start_Stop>7</Start_Stop>"
          "</Dip-Switch>");
    stored = ProjectFiles::loadStartStopOptions(folder());
    EXPECT_EQ(stored->startStopWithDipSwitch, false);
    EXPECT_EQ(stored->cyclicalMemory, true);

    // An unreadable Start_Stop leaves both unknown; an unreadable Cyclical_mem only itself.
    write("DipCmd.xml", "<Dip-Switch><Cyclical_mem>1</Cyclical_mem></Dip-Switch>");
    stored = ProjectFiles::loadStartStopOptions(folder());
    EXPECT_FALSE(stored->startStopWithDipSwitch);
    EXPECT_FALSE(stored->cyclicalMemory);
    write("DipCmd.xml",
          "<Dip-Switch><Start_Stop>1</Start_Stop><Cyclical_mem>on</Cyclical_mem>"
          "</Dip-Switch>");
    stored = ProjectFiles::loadStartStopOptions(folder());
    EXPECT_EQ(stored->startStopWithDipSwitch, true);
    EXPECT_FALSE(stored->cyclicalMemory);
    write("DipCmd.xml", "not xml");
    stored = ProjectFiles::loadStartStopOptions(folder());
    ASSERT_TRUE(stored);
    EXPECT_FALSE(stored->startStopWithDipSwitch);
}

}  // namespace
