// Reading a project back through the real Modbus library from the simulated datalogger.

#include "QtPrinters.h"
#include "ScriptedPrompts.h"
#include "SimulatorProcess.h"
#include "base/XmlDocument.h"
#include "devicelink/Comon.h"
#include "loggeddata/WaitingWork.h"
#include "projects/CommSettings.h"
#include "projects/CommandTable.h"
#include "projects/CommandTableSave.h"
#include "projects/ProjectFiles.h"
#include "projects/ProjectReadBack.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace {

class CountingWork : public WaitingWork {
public:
    QString progress;
    void showProgress(const QString& text) override { progress = text; }
    void processEvents() override {}
    bool abortRequested() const override { return false; }
    void pause(int) override {}
};

class ReadBackWithSimulator : public ::testing::Test, public ReadBack::View {
protected:
    QTemporaryDir dir;
    ProgramSettings settings = Settings::prepareFolders(dir.path());
    ScriptedPrompts prompts;
    std::unique_ptr<SimulatorProcess> simulator;
    std::unique_ptr<Comon> comon;
    CountingWork work;
    CommandList commands;
    CommandTable table;

    void start(std::vector<std::string> arguments) {
        simulator = std::make_unique<SimulatorProcess>(arguments);
        ASSERT_TRUE(simulator->running());
        ::setenv("VTL_MODBUS_COM1", simulator->link().c_str(), 1);
        comon = std::make_unique<Comon>(boundModbusLibrary(), prompts, [] { return 0; });
        ASSERT_EQ(comon->openPort(), 1);
    }
    void TearDown() override {
        if (comon) {
            comon->closePort();
        }
        ::unsetenv("VTL_MODBUS_COM1");
    }

    bool readCommandTableWaiting() override {
        return ReadBack::readCommandTable(*comon, work, commands);
    }
    void showCommandEditor() override {}

    ReadBack::Outcome readBack() {
        ReadBack::makeTempProjectCurrent(settings);
        return ReadBack::readInto(settings.ProjectFolder, commands, table, *comon, prompts, *this);
    }
    // The read-back's pargen.xml, by element name.
    QString serialValue(const QString& name) const {
        const auto document = XmlDocument::create();
        if (!document->load(settings.ProjectFolder + "/ParGen.Xml")) {
            return "missing";
        }
        return document->documentElement().childByName(name).text();
    }
};

TEST_F(ReadBackWithSimulator, AProjectComesBackAsTheDeviceWasConfigured) {
    const QString plant = settings.ProjectsFolder + "/Plant";
    QDir().mkpath(plant);
    CommandRows typed = {{"100", "2", "1", "°C", "Boiler"},
                         {"0200", "127", "0", "", ""},
                         {"40001", "1", "5", "bar", "Pressure"},
                         {"65535", "64", "2", "", ""}};
    CommandList saved;
    ASSERT_TRUE(saveCommandTable(typed, plant, saved, prompts));
    ASSERT_TRUE(saveCommFields(plant, {4, 2, 7}, prompts));
    start({"--project", plant.toStdString()});

    ASSERT_TRUE(readBack().succeeded()) << prompts.shown.join("; ").toStdString();
    EXPECT_TRUE(prompts.shown.isEmpty());
    ASSERT_EQ(commands.size(), saved.size());
    for (size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(commands[i].DataAddress, saved[i].DataAddress) << i;
        EXPECT_EQ(commands[i].PointCount, saved[i].PointCount) << i;
    }
    EXPECT_EQ(ProjectFiles::loadCommandList(settings.ProjectFolder), commands);
    EXPECT_EQ(serialValue("baudmodbus"), "4");
    EXPECT_EQ(serialValue("parity"), "2");
    EXPECT_EQ(serialValue("timeoutmb"), "1000");
    EXPECT_EQ(work.progress, "4");
}

// Raw words the program could never have written, and a fault on the way: retried silently.
// (A transaction takes about 34 ms through the library, so the 2731-entry table is left to the
// scripted device.)
TEST_F(ReadBackWithSimulator, RawTableWordsAndAOneOffFault) {
    ScratchFolder files;
    writeTextFile(files.file("table.txt"), "300 4 0\n301 0x0102 0\n58000 3 0\n0 0 0\n7 7 7\n");
    start({"--command-table", files.file("table.txt"), "--serial", "1000,3,0", "--exception-once",
           "50003-50003"});

    ASSERT_TRUE(readBack().succeeded()) << prompts.shown.join("; ").toStdString();
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(commands, (CommandList{Comandi{300, 4, "", 1, 0, ""}, Comandi{301, 2, "", 1, 0, ""},
                                     Comandi{58000, 3, "", 1, 0, ""}}));
    EXPECT_EQ(ProjectFiles::loadCommandList(settings.ProjectFolder), commands);
    EXPECT_EQ(comon->counters().failed, 1);
    EXPECT_EQ(serialValue("timeoutmb"), "1000");
    EXPECT_EQ(serialValue("baudmodbus"), "3");
    EXPECT_EQ(serialValue("parity"), "0");
}

}  // namespace
