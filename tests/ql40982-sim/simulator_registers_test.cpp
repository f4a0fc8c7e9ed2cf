// The register map as a libmodbus master sees it: clock, run state, commands, erase,
// serial settings, diagnostics, the command table and refused accesses.

#include "SimulatorTest.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <ctime>

namespace {

int64_t naiveSeconds(const std::vector<uint16_t>& clock) {
    std::tm parts{};
    parts.tm_mday = clock[0];
    parts.tm_mon = clock[1] - 1;
    parts.tm_year = clock[2] + 100;
    parts.tm_hour = clock[3];
    parts.tm_min = clock[4];
    parts.tm_sec = clock[5];
    return timegm(&parts);
}

int64_t localNaiveNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return now + local.tm_gmtoff;
}

class RegisterMapTest : public SimulatorTest {
protected:
    uint16_t readOne(int address) {
        const auto words = master_->read(address, 1);
        EXPECT_TRUE(words.has_value()) << "register " << address;
        return words ? words->front() : 0xDEAD;
    }
    std::vector<std::pair<uint16_t, uint16_t>> readCommandTable() {
        std::vector<std::pair<uint16_t, uint16_t>> entries;
        for (int offset = 0; offset <= 8190; offset += 3) {
            const auto entry = master_->read(50000 + offset, 2);
            if (!entry) {
                ADD_FAILURE() << "table read failed at " << offset;
                break;
            }
            if ((*entry)[0] == 0) {
                break;
            }
            entries.emplace_back((*entry)[0], (*entry)[1] & 0xFF);
        }
        return entries;
    }
};

TEST_F(RegisterMapTest, ClockStartsAtHostLocalTimeAndTakesCommittedValues) {
    start({});
    const auto initial = master_->read(100, 6);
    ASSERT_TRUE(initial);
    EXPECT_NEAR(double(naiveSeconds(*initial)), double(localNaiveNow()), 60.0);

    // 7 March 2031 09:05:03, one register at a time, then the commit.
    const uint16_t set[6] = {7, 3, 31, 9, 5, 3};
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(master_->write(100 + i, set[i]));
    }
    // Staged values change nothing before the commit.
    const auto beforeCommit = master_->read(100, 6);
    ASSERT_TRUE(beforeCommit);
    EXPECT_NE((*beforeCommit)[2], 31);
    ASSERT_TRUE(master_->write(106, 1));
    const auto after = master_->read(100, 6);
    ASSERT_TRUE(after);
    EXPECT_EQ((*after)[0], 7);
    EXPECT_EQ((*after)[1], 3);
    EXPECT_EQ((*after)[2], 31);
    const int64_t setSeconds = naiveSeconds({7, 3, 31, 9, 5, 3});
    EXPECT_GE(naiveSeconds(*after), setSeconds);
    EXPECT_LE(naiveSeconds(*after), setSeconds + 60);  // it runs on
}

TEST_F(RegisterMapTest, ClockRefusesImpossibleFieldsAndRollsOverShortMonths) {
    start({});
    const uint16_t month13[6] = {1, 13, 30, 0, 0, 0};
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(master_->write(100 + i, month13[i]));
    }
    EXPECT_FALSE(master_->write(106, 1));
    EXPECT_EQ(master_->lastError(), EMBXILVAL);
    EXPECT_NE(readOne(101), 13);

    const uint16_t february31[6] = {31, 2, 30, 12, 0, 0};
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(master_->write(100 + i, february31[i]));
    }
    ASSERT_TRUE(master_->write(106, 1));
    EXPECT_EQ(readOne(101), 3);  // 31 February 2030 is 3 March
    EXPECT_EQ(readOne(100), 3);
}

TEST_F(RegisterMapTest, RunStopAndEraseMoveTheRunState) {
    start({"--prefill", "1", "--erase-seconds", "6"});
    EXPECT_EQ(readOne(120), 2);
    ASSERT_TRUE(master_->write(121, 1));
    EXPECT_EQ(readOne(120), 1);
    EXPECT_EQ(readOne(122), 1);  // reading its sensors
    ASSERT_TRUE(master_->write(121, 2));
    EXPECT_EQ(readOne(120), 2);
    EXPECT_GT(readOne(128), 0);

    ASSERT_TRUE(master_->write(121, 5));
    EXPECT_EQ(readOne(120), 3);
    ASSERT_TRUE(master_->write(121, 1));  // ignored while erasing
    EXPECT_EQ(readOne(120), 3);
    ASSERT_TRUE(eventually([&] { return readOne(120) == 2; }));

    const auto position = master_->read(128, 3);
    ASSERT_TRUE(position);
    EXPECT_EQ(*position, (std::vector<uint16_t>{0, 0, 0}));
    for (uint16_t chip : {1, 3}) {
        ASSERT_TRUE(master_->write(200, chip));
        ASSERT_TRUE(master_->write(201, 0));
        ASSERT_TRUE(master_->write(202, 0));
        const auto half = master_->read(10000, 66);
        ASSERT_TRUE(half);
        EXPECT_EQ(*half, std::vector<uint16_t>(66, 0xFFFF));
    }
}

TEST_F(RegisterMapTest, SerialSettingsDefaultAndFromTheCommandLine) {
    start({});
    EXPECT_EQ(master_->read(110, 3), (std::vector<uint16_t>{1000, 3, 0}));
    simulator_.reset();
    master_.reset();
    start({"--serial", "500,5,2"});
    EXPECT_EQ(master_->read(110, 3), (std::vector<uint16_t>{500, 5, 2}));
}

TEST_F(RegisterMapTest, DiagnosticCountersClearOnlyWithZero) {
    start({"--prefill", "0.1", "--prefill-step", "60"});
    const auto block = master_->read(122, 10);
    ASSERT_TRUE(block);
    EXPECT_EQ((*block)[5], 1);  // 127: writing chip 1
    EXPECT_GT((*block)[9], 0);  // 131: records taken
    EXPECT_FALSE(master_->write(131, 7));
    EXPECT_EQ(master_->lastError(), EMBXILVAL);
    ASSERT_TRUE(master_->write(131, 0));
    ASSERT_TRUE(master_->write(124, 0));
    EXPECT_EQ(readOne(131), 0);
    EXPECT_EQ(readOne(124), 0);
}

TEST_F(RegisterMapTest, RefusesRegistersOutsideTheMapAndBadValues) {
    start({});
    struct Case {
        int address;
        int count;
        int error;
    };
    for (const Case& c : {Case{107, 1, EMBXILADD}, Case{99, 2, EMBXILADD}, Case{130, 3, EMBXILADD},
                          Case{10060, 7, EMBXILADD}, Case{0, 1, EMBXILADD}}) {
        EXPECT_FALSE(master_->read(c.address, c.count)) << c.address;
        EXPECT_EQ(master_->lastError(), c.error) << c.address;
    }
    struct WriteCase {
        int address;
        uint16_t value;
        int error;
    };
    for (const WriteCase& c :
         {WriteCase{120, 1, EMBXILADD}, WriteCase{121, 3, EMBXILVAL}, WriteCase{200, 2, EMBXILVAL},
          WriteCase{201, 2048, EMBXILVAL}, WriteCase{202, 133, EMBXILVAL},
          WriteCase{202, 134, EMBXILVAL}, WriteCase{10000, 0, EMBXILADD}}) {
        EXPECT_FALSE(master_->write(c.address, c.value)) << c.address;
        EXPECT_EQ(master_->lastError(), c.error) << c.address;
    }
    EXPECT_EQ(readOne(120), 2);  // still serving
}

TEST_F(RegisterMapTest, BuiltInCommandTableEndsWithAZeroEntry) {
    start({});
    const std::vector<std::pair<uint16_t, uint16_t>> demo{{100, 2}, {200, 4}, {40001, 1}, {300, 3}};
    EXPECT_EQ(readCommandTable(), demo);
    EXPECT_EQ(master_->read(50000 + 3 * 4, 3), (std::vector<uint16_t>{0, 0, 0}));
}

TEST_F(RegisterMapTest, ProjectCommandTableReadsBackEntryByEntry) {
    ScratchFolder project;
    writeTextFile(
        project.file("CMDMB.XML"),
        "<?xml version=\"1.0\"?>\n<cmdmb>\n"
        "<row dataaddress=\"300\" npoint=\"4\" scale=\"1\" unita=\"V\" description=\"a\"/>\n"
        "<row dataaddress=\"40001\" npoint=\"10\" scale=\"0\" unita=\"\" description=\"b\"/>\n"
        "<row dataaddress=\"7\" npoint=\"127\" scale=\"2\" unita=\"A\" description=\"c\"/>\n"
        "</cmdmb>\n");
    writeTextFile(project.file("pargen.xml"),
                  "<?xml version=\"1.0\"?>\n<GenericParameter><baudmodbus>6</baudmodbus>"
                  "<parity>1</parity><id_dev>9</id_dev></GenericParameter>\n");
    start({"--project", project.path});
    const std::vector<std::pair<uint16_t, uint16_t>> expected{{300, 4}, {40001, 10}, {7, 127}};
    EXPECT_EQ(readCommandTable(), expected);
    EXPECT_EQ(master_->read(110, 3), (std::vector<uint16_t>{1000, 6, 1}));
}

TEST_F(RegisterMapTest, ServesOneClientAfterAnother) {
    start({});
    for (int client = 0; client < 3; ++client) {
        master_.reset();
        master_ = std::make_unique<Master>(simulator_->link());
        ASSERT_TRUE(master_->connected());
        EXPECT_EQ(master_->read(120, 1), std::vector<uint16_t>{2}) << "client " << client;
    }
}

// A serial device given by path: here the terminal side of a pseudo-terminal whose other side
// the test holds, as a cable to another machine would be.
TEST(SimulatorOnADevice, ServesAGivenSerialPort) {
    const int cable = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(cable, 0);
    ASSERT_EQ(grantpt(cable), 0);
    ASSERT_EQ(unlockpt(cable), 0);
    SimulatorProcess simulator({"--device", ptsname(cable)});
    ASSERT_TRUE(simulator.running());
    modbus_t* master = modbus_new_rtu("/dev/null", 57600, 'N', 8, 1);
    modbus_set_slave(master, 1);
    modbus_set_socket(master, cable);
    modbus_set_response_timeout(master, 3, 0);
    uint16_t words[3] = {};
    EXPECT_EQ(modbus_read_registers(master, 110, 3, words), 3);
    EXPECT_EQ(words[0], 1000);
    modbus_free(master);
    close(cable);
}

TEST(SimulatorStart, RejectsAMissingProjectAndBadOptions) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--project", "/nonexistent/folder"},
          std::vector<std::string>{"--serial", "1,2"}, std::vector<std::string>{"--bogus"},
          std::vector<std::string>{"--exception", "20-10"}}) {
        SimulatorProcess simulator(arguments);
        EXPECT_FALSE(simulator.running()) << arguments[0];
    }
}

}  // namespace
