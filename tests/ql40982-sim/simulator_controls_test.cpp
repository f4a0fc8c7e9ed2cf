// The request log, forced register values and the faults switched through the control socket,
// seen from a libmodbus master.

#include "SimulatorProcess.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class Controlled : public ::testing::Test {
protected:
    void start(std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--control", files.file("control"), "--request-log",
                                           files.file("requests")});
        simulator = std::make_unique<SimulatorProcess>(arguments);
        ASSERT_TRUE(simulator->running());
        master = std::make_unique<Master>(simulator->link(), 500);
        ASSERT_TRUE(master->connected());
    }
    std::string say(const std::string& command) { return control(files.file("control"), command); }
    std::vector<std::string> requests() const {
        std::istringstream in(readTextFile(files.file("requests")));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line.substr(line.find(' ') + 1));  // without the time
        }
        return lines;
    }
    bool answered(int address) {
        const bool ok = master->read(address, 1).has_value();
        if (!ok) {
            master->flush();
        }
        return ok;
    }

    ScratchFolder files;
    std::unique_ptr<SimulatorProcess> simulator;
    std::unique_ptr<Master> master;
};

TEST_F(Controlled, EveryRequestIsLoggedWithItsOutcome) {
    start({"--exception", "110-112"});
    EXPECT_TRUE(master->read(100, 6));
    EXPECT_TRUE(master->write(121, 1));
    EXPECT_FALSE(master->read(110, 3));
    const uint16_t page[3] = {3, 5, 132};
    EXPECT_EQ(modbus_write_registers(master->context(), 200, 3, page), 3);
    EXPECT_EQ(requests(), (std::vector<std::string>{
                              "slave=1 fn=3 reg=100 count=6 outcome=answered",
                              "slave=1 fn=6 reg=121 count=1 values=1 outcome=answered",
                              "slave=1 fn=3 reg=110 count=3 outcome=exception-4",
                              "slave=1 fn=16 reg=200 count=3 values=3,5,132 outcome=answered",
                          }));
}

TEST_F(Controlled, ForcedValuesAtStartAndWhileRunning) {
    start({"--set", "120=7", "--set", "101=13"});
    EXPECT_EQ(master->read(120, 1), std::vector<uint16_t>{7});
    const auto clock = master->read(100, 6);
    ASSERT_TRUE(clock);
    EXPECT_EQ((*clock)[1], 13);
    EXPECT_EQ(say("set 125 43981"), "OK");
    EXPECT_EQ(say("set 126 10"), "OK");
    EXPECT_EQ(master->read(122, 10).value().at(3), 43981);
    EXPECT_EQ(master->read(126, 1), std::vector<uint16_t>{10});
    EXPECT_EQ(say("set 500 3"), "OK");  // any register, also one the device does not have
    EXPECT_EQ(master->read(500, 1), std::vector<uint16_t>{3});
    // Writes still reach the device underneath.
    EXPECT_TRUE(master->write(121, 1));
    EXPECT_EQ(master->read(120, 1), std::vector<uint16_t>{7});
    EXPECT_EQ(say("unset 120"), "OK");
    EXPECT_EQ(master->read(120, 1), std::vector<uint16_t>{1});
    EXPECT_EQ(say("unset all"), "OK");
    EXPECT_NE(master->read(100, 6).value().at(1), 13);
    EXPECT_EQ(say("set 120"), "ERROR usage: set REGISTER VALUE");
}

TEST_F(Controlled, FaultsSwitchedAtRunTime) {
    start({});
    EXPECT_EQ(say("fault silent on"), "OK");
    EXPECT_FALSE(answered(120));
    EXPECT_FALSE(master->write(121, 1));
    EXPECT_EQ(say("fault silent off"), "OK");
    EXPECT_EQ(master->read(120, 1), std::vector<uint16_t>{2});  // the ignored RUN was not done

    EXPECT_EQ(say("fault ignore 2"), "OK");
    EXPECT_EQ((std::vector<bool>{answered(120), answered(120), answered(120)}),
              (std::vector<bool>{false, false, true}));

    EXPECT_EQ(say("fault ignore-write 103"), "OK");
    EXPECT_TRUE(master->write(102, 30));
    EXPECT_TRUE(answered(103));  // reads pass
    EXPECT_FALSE(master->write(103, 8));
    master->flush();
    EXPECT_TRUE(master->write(103, 8));  // once only

    EXPECT_EQ(say("fault ignore 5"), "OK");
    EXPECT_EQ(say("fault clear"), "OK");
    EXPECT_TRUE(answered(120));
    const auto log = requests();
    EXPECT_EQ(
        std::count_if(log.begin(), log.end(),
                      [](const std::string& line) { return line.ends_with("outcome=ignored"); }),
        5);
}

TEST_F(Controlled, RequestsForOtherSlavesDoNotSwallowTheNextOnes) {
    start({});
    modbus_set_slave(master->context(), 2);
    EXPECT_FALSE(master->read(120, 1));
    modbus_set_slave(master->context(), 1);
    master->setTimeout(1000);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(master->read(120, 1), std::vector<uint16_t>{2}) << "request " << i + 1;
    }
    EXPECT_EQ(requests().front(), "slave=2 fn=3 reg=120 count=1 outcome=other-slave");
}

}  // namespace
