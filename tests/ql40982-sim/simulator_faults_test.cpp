// Every fault option, seen from a libmodbus master.

#include "SimulatorProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

struct Faulty {
    explicit Faulty(std::vector<std::string> arguments, int timeoutMs = 3000)
        : simulator(arguments), master(simulator.link(), timeoutMs) {}
    SimulatorProcess simulator;
    Master master;
};

// Which of the first n status reads are answered correctly.
std::vector<bool> answered(Master& master, int n) {
    std::vector<bool> result;
    for (int i = 0; i < n; ++i) {
        const auto words = master.read(120, 1);
        result.push_back(words && words->front() == 2);
        if (!words) {
            master.flush();
        }
    }
    return result;
}

TEST(Faults, DropEveryThirdAnswer) {
    Faulty f({"--drop-every", "3"});
    ASSERT_TRUE(f.master.connected());
    EXPECT_EQ(answered(f.master, 6), (std::vector<bool>{true, true, false, true, true, false}));
}

TEST(Faults, DroppedAnswerStillTakesEffect) {
    Faulty f({"--drop-every", "2"});
    ASSERT_TRUE(f.master.connected());
    EXPECT_EQ(f.master.read(120, 1), std::vector<uint16_t>{2});
    EXPECT_FALSE(f.master.write(121, 1));
    EXPECT_EQ(f.master.lastError(), ETIMEDOUT);
    f.master.flush();
    EXPECT_EQ(f.master.read(120, 1), std::vector<uint16_t>{1});
}

TEST(Faults, CorruptCrcOfEverySecondAnswer) {
    Faulty f({"--corrupt-crc-every", "2"});
    ASSERT_TRUE(f.master.connected());
    EXPECT_TRUE(f.master.read(120, 1));
    EXPECT_FALSE(f.master.read(120, 1));
    EXPECT_EQ(f.master.lastError(), EMBBADCRC);
    f.master.flush();
    EXPECT_TRUE(f.master.read(120, 1));
}

TEST(Faults, LateAnswerMissesAShortTimeoutAndMeetsALongOne) {
    Faulty f({"--delay", "800"}, 200);
    ASSERT_TRUE(f.master.connected());
    EXPECT_FALSE(f.master.read(120, 1));
    EXPECT_EQ(f.master.lastError(), ETIMEDOUT);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    f.master.flush();
    f.master.setTimeout(5000);
    EXPECT_EQ(f.master.read(120, 1), std::vector<uint16_t>{2});
}

TEST(Faults, LateAnswerForAClientThatLeftDoesNotReachTheNext) {
    SimulatorProcess simulator({"--delay", "600"});
    ASSERT_TRUE(simulator.running());
    {
        Master impatient(simulator.link(), 100);
        ASSERT_TRUE(impatient.connected());
        EXPECT_FALSE(impatient.read(110, 1));  // leaves before its answer (1000) comes
    }
    Master next(simulator.link(), 5000);
    ASSERT_TRUE(next.connected());
    EXPECT_EQ(next.read(120, 1), std::vector<uint16_t>{2});
    EXPECT_EQ(next.read(120, 1), std::vector<uint16_t>{2});
}

TEST(Faults, FallsSilentAfterTwoRequests) {
    ScratchFolder files;
    Faulty f({"--silent-after", "2", "--run", "--control", files.file("control")});
    ASSERT_TRUE(f.master.connected());
    EXPECT_TRUE(f.master.write(121, 2));
    EXPECT_TRUE(f.master.read(120, 1));
    // Ignored, not merely unanswered: the logger keeps its state.
    EXPECT_FALSE(f.master.write(121, 1));
    EXPECT_EQ(f.master.lastError(), ETIMEDOUT);
    EXPECT_FALSE(f.master.read(120, 1));
    EXPECT_EQ(control(files.file("control"), "status"), "OK state 2");
}

TEST(Faults, ExceptionForARegisterRange) {
    Faulty f({"--exception", "10000-10065", "--exception", "110-110:6"});
    ASSERT_TRUE(f.master.connected());
    EXPECT_FALSE(f.master.read(10000, 66));
    EXPECT_EQ(f.master.lastError(), EMBXSFAIL);
    EXPECT_FALSE(f.master.read(10065, 1));
    EXPECT_EQ(f.master.lastError(), EMBXSFAIL);
    EXPECT_FALSE(f.master.read(108, 5));  // overlaps 110
    EXPECT_EQ(f.master.lastError(), EMBXSBUSY);
    EXPECT_TRUE(f.master.read(111, 2));
    EXPECT_TRUE(f.master.write(201, 7));
}

TEST(Faults, LineRateKeepsFramesIntact) {
    Faulty f({"--line-rate", "--prefill", "1"});
    ASSERT_TRUE(f.master.connected());
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(f.master.write(200, 1));
        ASSERT_TRUE(f.master.write(201, 0));
        ASSERT_TRUE(f.master.write(202, 132));
        const auto half = f.master.read(10000, 66);
        ASSERT_TRUE(half);
        EXPECT_EQ(half->size(), 66u);
    }
    EXPECT_EQ(f.master.read(110, 3), (std::vector<uint16_t>{1000, 3, 0}));
}

}  // namespace
