#include "../support/ScriptedPrompts.h"
#include "SimulatorProcess.h"
#include "UpdateProgramFolder.h"
#include "firmware/BankOutputs.h"
#include "firmware/FirmwareUpdate.h"

#include <gtest/gtest.h>
#include <QFile>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>

extern char** environ;

namespace {

struct BurnixRun {
    int status = -1;
    std::string output;  // stdout and stderr
};

// Burnix with exactly these argument bytes; the message window stays shut.
BurnixRun runBurnix(const std::vector<std::string>& arguments, const std::string& outputFile) {
    std::vector<std::string> all{BURNIX_EXECUTABLE};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    BurnixRun run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.output = readTextFile(outputFile);
    return run;
}

std::string argumentFor(const std::string& firmware, int port) {
    return "\"" + firmware + "\"\xB6" + std::to_string(port);
}

void writeProjectFile(const UpdateProgramFolder& folder, const QString& name,
                      const QByteArray& text) {
    QFile file(folder.settings.ProjectFolder + '/' + name);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(text);
    }
}

// A project of two commands, merged into the base firmware as "Update Device" does it.
QString mergedFirmware(UpdateProgramFolder& folder) {
    writeProjectFile(folder, "pargen.xml",
                     "<?xml version=\"1.0\"?>\n<GenericParameter><baudmodbus>3</baudmodbus>"
                     "<parity>0</parity><id_dev>1</id_dev></GenericParameter>\n");
    writeProjectFile(
        folder, "cmdmb.xml",
        "<?xml version=\"1.0\"?>\n<cmdmb>\n"
        "  <row dataaddress=\"500\" npoint=\"3\" scale=\"0\" unita=\"\" description=\"a\"/>\n"
        "  <row dataaddress=\"40100\" npoint=\"1\" scale=\"0\" unita=\"\" description=\"b\"/>\n"
        "</cmdmb>\n");
    ScriptedPrompts prompts;
    BankImages banks;
    NoMergeProgress progress;
    prepareBanksForUpdate(folder.settings.ProjectFolder, banks, prompts);
    return MergeAllBanks(firmwareUpdateFor(folder.settings).merge, prompts, progress).finalOutput;
}

class Burnix : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        firmware = mergedFirmware(folder).toStdString();
        // Com3 is a plain file here: no simulator behind it.
        port = scratch.file("port");
        writeTextFile(port, "");
        setenv("VTL_MODBUS_COM3", port.c_str(), 1);
    }
    BurnixRun run(const std::vector<std::string>& arguments) {
        return runBurnix(arguments, scratch.file("burnix.out"));
    }
    // The simulator's command table, entries of address and point count up to the end entry.
    std::vector<uint16_t> commandTable(Master& master) {
        std::vector<uint16_t> table;
        for (int entry = 0; entry < 8; ++entry) {
            const auto words = master.read(50000 + 3 * entry, 2);
            if (!words || (*words)[0] == 0) {
                break;
            }
            table.insert(table.end(), words->begin(), words->end());
        }
        return table;
    }

    UpdateProgramFolder folder;
    ScratchFolder scratch;
    std::string firmware;
    std::string port;
};

TEST_F(Burnix, RefusesWhatItCannotProgram) {
    const std::string broken = scratch.file("broken.sx");
    std::string text = readTextFile(firmware);
    const std::string unterminated = text.substr(0, text.rfind("S9"));
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        std::string fileText;  // written to broken.sx first when not empty
        int status;
        std::string says;
    };
    const std::vector<Case> cases{
        {"no argument", {}, "", 2, "usage"},
        {"path and port apart",
         {"\"" + firmware + "\"",
          "\xB6"
          "2"},
         "",
         2,
         "usage"},
        {"no quotes",
         {firmware + "\xB6"
                     "2"},
         "",
         2,
         "usage"},
        {"blank before the port", {argumentFor(firmware, 2) + " "}, "", 2, "usage"},
        {"missing file", {argumentFor(scratch.file("none.sx"), 2)}, "", 1, "cannot find"},
        {"bad checksum",
         {argumentFor(broken, 2)},
         "S00600004844521B\nS1050000AABB00\nS9030000FC\n",
         1,
         "line 2: checksum mismatch"},
        {"no terminator", {argumentFor(broken, 2)}, unterminated, 1, "no terminator"},
        {"no configuration bank",
         {argumentFor(broken, 2)},
         "S00600004844521B\nS9030000FC\n",
         1,
         "configuration bank 0x388000..0x38BFFF is not complete (0 of 16384 bytes)"},
        {"a real port",
         {argumentFor(firmware, 2)},
         "",
         1,
         "Com3 (" + port + ") is not the simulated QL40982"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.fileText.empty()) {
            writeTextFile(broken, c.fileText);
        }
        const BurnixRun result = run(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_NE(result.output.find(c.says), std::string::npos) << result.output;
    }
}

TEST_F(Burnix, ProgramsTheSimulatorBehindThePort) {
    std::filesystem::remove(port);
    SimulatorProcess simulator({"--control", port + ".control"});
    ASSERT_TRUE(simulator.running());
    std::filesystem::create_symlink(simulator.link(), port);
    Master master(port);
    ASSERT_TRUE(master.connected());
    EXPECT_EQ(commandTable(master), (std::vector<uint16_t>{100, 2, 200, 4, 40001, 1, 300, 3}));

    const BurnixRun result = run({argumentFor(firmware, 2)});
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("OK 2 commands"), std::string::npos) << result.output;
    EXPECT_EQ(commandTable(master), (std::vector<uint16_t>{500, 3, 40100, 1}));
}

// The wizard's own start: the argument as it builds it reaches Burnix, which programs Com1.
TEST_F(Burnix, StartedByTheUpdateTheSimulatorServesTheNewTable) {
    SimulatorProcess simulator({"--control", scratch.file("line1.control")});
    ASSERT_TRUE(simulator.running());
    std::filesystem::create_symlink(simulator.link(), scratch.file("line1"));
    setenv("VTL_MODBUS_COM1", scratch.file("line1").c_str(), 1);
    std::filesystem::create_symlink(BURNIX_EXECUTABLE, folder.path().toStdString() + "/Burnix.exe");
    Master master(scratch.file("line1"));
    ASSERT_TRUE(master.connected());

    ScriptedPrompts prompts;
    NoMergeProgress progress;
    folder.settings.ComPortNumber = 0;
    EXPECT_EQ(executeUpdate(firmwareUpdateFor(folder.settings), prompts, progress),
              UpdateOutcome::ProgrammerStarted);
    EXPECT_TRUE(eventually([&] {
        return commandTable(master) == std::vector<uint16_t>{500, 3, 40100, 1};
    }));
}

}  // namespace
