#include "FakeModbusDevice.h"
#include "QtPrinters.h"
#include "ScriptedPrompts.h"
#include "base/WholeFile.h"
#include "base/XmlDocument.h"
#include "devicelink/Comon.h"
#include "loggeddata/WaitingWork.h"
#include "projects/CommSettings.h"
#include "projects/CommandTable.h"
#include "projects/ProjectFiles.h"
#include "projects/ProjectReadBack.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

namespace {

using Call = FakeModbusDevice::Call;

// The waiting window as the read sees it: progress recorded, Abort pressed after a number of
// event rounds.
class RecordingWork : public WaitingWork {
public:
    QStringList progress;
    int rounds = 0;
    int abortAfterRounds = -1;

    void showProgress(const QString& text) override { progress << text; }
    void processEvents() override { ++rounds; }
    bool abortRequested() const override { return rounds == abortAfterRounds; }
    void pause(int) override {}
};

class ReadBackTest : public ::testing::Test, public ReadBack::View {
protected:
    QTemporaryDir dir;
    ProgramSettings settings = Settings::prepareFolders(dir.path());
    FakeModbusDevice device;
    ScriptedPrompts prompts;
    Comon comon{device.library(), prompts, [] { return 0; }};
    RecordingWork work;
    CommandList commands{Comandi{9, 9, "old", 1, 3, "V"}};
    CommandTable table;
    bool editorShown = false;

    ReadBackTest() { comon.openPort(); }

    bool readCommandTableWaiting() override {
        return ReadBack::readCommandTable(comon, work, commands);
    }
    void showCommandEditor() override { editorShown = true; }

    void deviceTable(const std::vector<std::pair<uint16_t, uint16_t>>& entries) {
        device.registers.erase(device.registers.lower_bound(50000), device.registers.end());
        for (size_t k = 0; k < entries.size(); ++k) {
            device.registers[uint16_t(50000 + 3 * k)] = entries[k].first;
            device.registers[uint16_t(50000 + 3 * k + 1)] = entries[k].second;
            device.registers[uint16_t(50000 + 3 * k + 2)] = 0xAAAA;
        }
    }
    void serial(uint16_t timeout, uint16_t baud, uint16_t parity) {
        device.registers[110] = timeout;
        device.registers[111] = baud;
        device.registers[112] = parity;
    }
    std::vector<uint16_t> tableReadStarts() const {
        std::vector<uint16_t> starts;
        for (const auto& read : device.calls(Call::Read)) {
            if (read.start >= 50000) {
                EXPECT_EQ(read.count, 2);
                starts.push_back(read.start);
            }
        }
        return starts;
    }
    ReadBack::Outcome readBack() {
        ReadBack::makeTempProjectCurrent(settings);
        return ReadBack::readInto(settings.ProjectFolder, commands, table, comon, prompts, *this);
    }
    QString projectFile(const QString& name) const {
        return QDir(settings.ProjectFolder).filePath(name);
    }
};

TEST(ReadBackLink, OnlyAConnectedLinkLetsItStart) {
    const std::pair<LinkState, QStringList> cases[] = {
        {LinkState::Closed, {"Error open port for download data"}},
        {LinkState::Lost, {"Error DataLogger not present"}},
        {LinkState::Connecting, {}},
        {LinkState::Connected, {}},
    };
    for (const auto& [state, messages] : cases) {
        ScriptedPrompts prompts;
        EXPECT_EQ(ReadBack::linkAllows(state, prompts), state == LinkState::Connected);
        EXPECT_EQ(prompts.shown, messages);
    }
}

struct TableCase {
    const char* name;
    std::vector<std::pair<uint16_t, uint16_t>> entries;
    CommandList expected;
};

class CommandTableReads : public ReadBackTest, public ::testing::WithParamInterface<TableCase> {};

TEST_P(CommandTableReads, UntilTheEndEntry) {
    const TableCase& c = GetParam();
    deviceTable(c.entries);
    ASSERT_TRUE(ReadBack::readCommandTable(comon, work, commands));
    EXPECT_EQ(commands, c.expected);
    // One read of two registers per entry, the end entry included, three registers apart.
    const auto starts = tableReadStarts();
    ASSERT_EQ(starts.size(), c.expected.size() + 1);
    for (size_t k = 0; k < starts.size(); ++k) {
        EXPECT_EQ(starts[k], 50000 + 3 * k);
    }
    EXPECT_EQ(work.progress.back(), QString::number(c.expected.size()));
    EXPECT_EQ(work.rounds, int(starts.size()));
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandTableReads,
                         ::testing::Values(TableCase{"Empty", {}, {}},
                                           TableCase{"TwoEntries",
                                                     {{300, 4}, {301, 0x0102}},
                                                     {Comandi{300, 4, "", 1, 0, ""},
                                                      Comandi{301, 2, "", 1, 0, ""}}},
                                           TableCase{"AddressZeroEnds",
                                                     {{5, 1}, {0, 7}, {6, 1}},
                                                     {Comandi{5, 1, "", 1, 0, ""}}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReadBackTest, ATableWithoutEndEntryStopsAfterEntry2730) {
    std::vector<std::pair<uint16_t, uint16_t>> entries;
    for (int k = 0; k < 2735; ++k) {
        entries.push_back({uint16_t(k + 1), 1});
    }
    deviceTable(entries);
    ASSERT_TRUE(ReadBack::readCommandTable(comon, work, commands));
    EXPECT_EQ(commands.size(), 2731u);
    EXPECT_EQ(commands.back().DataAddress, 2731);
    EXPECT_EQ(tableReadStarts().back(), 58190);
    EXPECT_EQ(tableReadStarts().size(), 2731u);
}

TEST_F(ReadBackTest, AFailedAttemptIsRetriedThreeFailuresOrAbortFail) {
    deviceTable({{300, 4}, {301, 2}, {302, 3}, {303, 4}});
    device.failNext(Call::Read, 1, 0, 50003);
    ASSERT_TRUE(ReadBack::readCommandTable(comon, work, commands));
    EXPECT_EQ(commands.size(), 4u);
    EXPECT_EQ(tableReadStarts().size(), 6u);

    device.log.clear();
    device.failNext(Call::Read, 3, 0, 50006);
    EXPECT_FALSE(ReadBack::readCommandTable(comon, work, commands));
    EXPECT_EQ(commands.size(), 2u) << "what was read before the failure stays";
    EXPECT_EQ(tableReadStarts().size(), 5u);

    work.rounds = 0;
    work.abortAfterRounds = 3;
    EXPECT_FALSE(ReadBack::readCommandTable(comon, work, commands));
    EXPECT_EQ(commands.size(), 3u);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ReadBackTest, ReadsTheProjectIntoTempPrj) {
    deviceTable({{300, 4}, {301, 0x0102}});
    serial(1000, 3, 0);
    const ReadBack::Outcome outcome = readBack();
    EXPECT_TRUE(outcome.succeeded());
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join("; ").toStdString();
    EXPECT_EQ(settings.ProjectName, "Temp_prj");
    EXPECT_EQ(settings.ProjectFolder, settings.ProjectsFolder + "/Temp_prj");
    EXPECT_TRUE(QDir(projectFile("Bin")).exists());
    EXPECT_TRUE(editorShown);
    EXPECT_EQ(table.text(1, PointsField), "2");
    EXPECT_EQ(ProjectFiles::loadCommandList(settings.ProjectFolder), commands);
    EXPECT_EQ(commands.size(), 2u);

    const auto document = XmlDocument::create();
    ASSERT_TRUE(document->load(projectFile("ParGen.Xml")));
    const XmlElement root = document->documentElement();
    EXPECT_EQ(root.name(), "GenericParameter");
    const QStringList names = {"timeoutmb", "baudmodbus", "parity"};
    const QStringList values = {"1000", "3", "0"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(root.child(i).name(), names[i]);
        EXPECT_EQ(root.child(i).text(), values[i]);
    }
    EXPECT_FALSE(QFile::exists(settings.settingsFile())) << "the last project is not changed";
}

TEST_F(ReadBackTest, AFirstEntryOfZeroSavesAnEmptyProject) {
    readBack();
    EXPECT_TRUE(commands.empty());
    EXPECT_TRUE(ProjectFiles::loadCommandRows(settings.ProjectFolder).value().empty());
    EXPECT_TRUE(QFile::exists(projectFile("cmdmb.xml")));
}

TEST_F(ReadBackTest, FailuresAreReportedAndTheRestStillHappens) {
    deviceTable({{300, 4}, {301, 2}});
    device.failNext(Call::Read, 3, 0, 50003);
    serial(1000, 3, 0);
    ReadBack::Outcome outcome = readBack();
    EXPECT_EQ(prompts.shown, QStringList{"Error in download command list"});
    EXPECT_FALSE(outcome.commandsRead);
    EXPECT_EQ(commands.size(), 1u);
    EXPECT_FALSE(QFile::exists(projectFile("cmdmb.xml")));
    EXPECT_TRUE(outcome.serialSettingsSaved);

    // A point count the editor refuses stops the save; the serial settings fail three times.
    prompts.shown.clear();
    deviceTable({{300, 0}});
    device.failNext(Call::Read, 3, 0, 110);
    outcome = readBack();
    EXPECT_EQ(prompts.shown, (QStringList{"Value of range [1..127] column n° point 1",
                                          "Error in download serial setting"}));
    EXPECT_TRUE(outcome.commandsRead);
    EXPECT_FALSE(outcome.commandsSaved);
    EXPECT_EQ(commands, (CommandList{Comandi{300, 0, "", 1, 0, ""}}));
    EXPECT_FALSE(QFile::exists(projectFile("cmdmb.xml")));
}

TEST_F(ReadBackTest, AReadBackLongerThanTheEditorKeepsEveryEntry) {
    std::vector<std::pair<uint16_t, uint16_t>> entries;
    for (int k = 0; k < 2731; ++k) {
        entries.push_back({uint16_t(k + 1), uint16_t(1 + k % 127)});
    }
    deviceTable(entries);
    ASSERT_TRUE(readBack().succeeded());
    EXPECT_EQ(table.rowCount(), 2731);
    const CommandList saved = ProjectFiles::loadCommandList(settings.ProjectFolder);
    EXPECT_EQ(saved.size(), 2731u);
    EXPECT_EQ(saved, commands);
}

TEST_F(ReadBackTest, OneSpellingOfEachNameAfterSetComAndAReadBack) {
    const QString folder = settings.ProjectsFolder + "/TEMP_PRJ";
    QDir().mkpath(folder + "/BIN");
    ASSERT_TRUE(writeFileWhole(folder + "/PARGEN.XML", "<GenericParameter/>"));
    ASSERT_TRUE(saveCommFields(folder, {4, 1, 7}, prompts));
    deviceTable({{300, 4}});
    ASSERT_TRUE(readBack().succeeded());
    EXPECT_EQ(settings.ProjectFolder, folder);
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    names.sort();
    EXPECT_EQ(names, (QStringList{"BIN", "PARGEN.XML", "cmdmb.xml"}));
    EXPECT_EQ(QDir(settings.ProjectsFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{"TEMP_PRJ"});
}

}  // namespace
