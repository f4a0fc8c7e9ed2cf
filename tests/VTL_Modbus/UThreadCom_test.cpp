#include "UThreadCom.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "support/ModbusSlave.h"
#include "support/PseudoTerminal.h"

namespace {

using Bytes = std::vector<uint8_t>;

class Engine : public testing::Test {
protected:
    void SetUp() override {
        port.SetDeviceName(line.SlavePath());
        port.SetBaudRate(br57600);
        port.Open();
        engine.Port = &port;
        engine.TimeoutMs = 5000;
    }

    // Waits for the end of the transaction with room for a busy machine.
    uint8_t AwaitFinal() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!IsFinalState(engine.State()) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return engine.State();
    }

    uint8_t ReadWithResponse(const Bytes& response, uint16_t count, uint16_t* buffer,
                             uint8_t function = 3) {
        EXPECT_TRUE(engine.PrepareRead(1, function, 0, count, buffer));
        EXPECT_EQ(line.Receive(8).size(), 8u);
        line.Send(response);
        return AwaitFinal();
    }

    Bytes TxFrame() const {
        return Bytes(engine.TxFrameBytes(), engine.TxFrameBytes() + engine.TxFrameLength());
    }

    PseudoTerminal line;
    TComm port;
    TComModbus engine;
};

}  // namespace

TEST_F(Engine, RequestsGoOutExactlyAndNormalAnswersComplete) {
    struct Case {
        const char* what;
        bool write;
        uint8_t function;
        uint16_t start;
        std::vector<uint16_t> values;  // written values, or the count of a read
        Bytes request;
        Bytes answer;
    };
    const Case cases[] = {
        {"read 6 at 100",
         false,
         3,
         100,
         std::vector<uint16_t>(6),
         {0x01, 0x03, 0x00, 0x64, 0x00, 0x06, 0x84, 0x17},
         WithCrc({0x01, 0x03, 12, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6})},
        {"read 10 at 0",
         false,
         3,
         0,
         std::vector<uint16_t>(10),
         {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD},
         WithCrc({0x01, 0x03, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {"function 3, one value: single write",
         true,
         3,
         121,
         {2},
         {0x01, 0x06, 0x00, 0x79, 0x00, 0x02, 0xD9, 0xD2},
         {0x01, 0x06, 0x00, 0x79, 0x00, 0x02, 0xD9, 0xD2}},
        {"function 3, two values: multiple write",
         true,
         3,
         0x0200,
         {0x1234, 0xABCD},
         WithCrc({0x01, 0x10, 0x02, 0x00, 0x00, 0x02, 0x04, 0x12, 0x34, 0xAB, 0xCD}),
         WithCrc({0x01, 0x10, 0x02, 0x00, 0x00, 0x02})},
        {"function 16, one value: multiple write",
         true,
         16,
         5,
         {7},
         WithCrc({0x01, 0x10, 0x00, 0x05, 0x00, 0x01, 0x02, 0x00, 0x07}),
         WithCrc({0x01, 0x10, 0x00, 0x05, 0x00, 0x01})},
        {"function 6, one value: multiple write",
         true,
         6,
         5,
         {7},
         WithCrc({0x01, 0x10, 0x00, 0x05, 0x00, 0x01, 0x02, 0x00, 0x07}),
         WithCrc({0x01, 0x10, 0x00, 0x05, 0x00, 0x01})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint16_t> buffer = c.values;
        const uint16_t count = static_cast<uint16_t>(c.values.size());
        ASSERT_TRUE(c.write ? engine.PrepareWrite(1, c.function, c.start, count, buffer.data())
                            : engine.PrepareRead(1, c.function, c.start, count, buffer.data()));
        EXPECT_EQ(line.Receive(c.request.size()), c.request);
        line.Send(c.answer);
        EXPECT_EQ(AwaitFinal(), Completed);
    }
}

TEST_F(Engine, Read66RegistersStoresHostOrderWords) {
    Bytes answer = {0x01, 0x03, 132};
    for (int i = 0; i < 66; ++i) {
        answer.push_back(static_cast<uint8_t>(0xA0 + i));
        answer.push_back(static_cast<uint8_t>(i));
    }
    std::vector<uint16_t> buffer(66, 0);
    ASSERT_TRUE(engine.PrepareRead(1, 3, 10000, 66, buffer.data()));
    EXPECT_EQ(line.Receive(8), WithCrc({0x01, 0x03, 0x27, 0x10, 0x00, 0x42}));
    line.Send(WithCrc(answer));
    ASSERT_EQ(AwaitFinal(), Completed);
    for (int i = 0; i < 66; ++i) {
        EXPECT_EQ(buffer[i], (0xA0 + i) << 8 | i) << i;
    }
}

// An answer is final once it has the length its request calls for, and is taken only when it
// fits the request: anything else fails (or, incomplete, times out) and leaves the buffer.
TEST_F(Engine, ResponseChecks) {
    struct Case {
        const char* what;
        uint8_t function;
        Bytes response;
        uint8_t state;
        std::vector<uint16_t> words;  // buffer afterwards; it starts as 0xEEEE each
    };
    const uint16_t E = 0xEEEE;
    const Case cases[] = {
        {"valid", 3, WithCrc({0x01, 0x03, 4, 0x12, 0x34, 0x56, 0x78}), Completed, {0x1234, 0x5678}},
        {"bad CRC", 3, {0x01, 0x03, 4, 0x12, 0x34, 0x56, 0x78, 0x00, 0x00}, Failed, {E, E}},
        {"wrong function", 3, WithCrc({0x01, 0x04, 4, 0x12, 0x34, 0x56, 0x78}), Failed, {E, E}},
        {"exception response", 3, {0x01, 0x83, 0x02, 0xC0, 0xF1}, Failed, {E, E}},
        {"other slave address", 3, WithCrc({0x09, 0x03, 4, 0, 1, 0, 2}), Completed, {1, 2}},
        {"fewer registers", 3, WithCrc({0x01, 0x03, 2, 0xBE, 0xEF}), Failed, {E, E}},
        {"odd length", 3, WithCrc({0x01, 0x03, 3, 0xBE, 0xEF, 0x77}), Failed, {E, E}},
        {"header only", 3, WithCrc({0x01, 0x03, 0}), Failed, {E, E}},
        {"longer than asked", 3, WithCrc({0x01, 0x03, 4, 0, 1, 0, 2, 0, 3}), Failed, {E, E}},
        {"byte count of a longer answer",
         3,
         WithCrc({0x01, 0x03, 6, 0, 1, 0, 2, 0, 3}),
         Failed,
         {E, E}},
        {"the request echoed", 3, WithCrc({0x01, 0x03, 0, 0, 0, 2}), Failed, {E, E}},
        {"trailing noise",
         3,
         [] {
             Bytes frame = WithCrc({0x01, 0x03, 4, 0, 1, 0, 2});
             frame.push_back(0x55);
             return frame;
         }(),
         Failed,
         {E, E}},
        {"two bytes", 3, {0x01, 0x03}, TimedOut, {E, E}},
        {"four bytes, valid", 3, WithCrc({0x01, 0x03}), Failed, {E, E}},
        {"single byte", 3, {0x01}, TimedOut, {E, E}},
        {"function 4 stores too", 4, WithCrc({0x01, 0x04, 4, 0, 3, 0, 4}), Completed, {3, 4}},
        {"function 1 is checked only", 1, WithCrc({0x01, 0x01, 4, 0, 3, 0, 4}), Completed, {E, E}},
    };
    engine.TimeoutMs = 300;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint16_t> buffer(2, E);
        EXPECT_EQ(ReadWithResponse(c.response, 2, buffer.data(), c.function), c.state);
        EXPECT_EQ(buffer, c.words);
    }
}

// A write's answer must echo what was written: the address and value, or start and count.
TEST_F(Engine, WriteAnswersEchoTheRequest) {
    struct Case {
        const char* what;
        std::vector<uint16_t> values;  // one: function 6; more: function 16
        Bytes answer;
        uint8_t state;
    };
    const Case cases[] = {
        {"single echoed", {2}, {0x01, 0x06, 0x00, 0x79, 0x00, 0x02, 0xD9, 0xD2}, Completed},
        {"single, other value", {2}, WithCrc({0x01, 0x06, 0x00, 0x79, 0x00, 0x03}), Failed},
        {"single, other register", {2}, WithCrc({0x01, 0x06, 0x00, 0x7A, 0x00, 0x02}), Failed},
        {"single, exception", {2}, WithCrc({0x01, 0x86, 0x02}), Failed},
        {"multiple echoed", {1, 2}, WithCrc({0x01, 0x10, 0x00, 0x79, 0x00, 0x02}), Completed},
        {"multiple, other count", {1, 2}, WithCrc({0x01, 0x10, 0x00, 0x79, 0x00, 0x01}), Failed},
        {"multiple, short", {1, 2}, WithCrc({0x01, 0x10, 0x00, 0x79}), TimedOut},
    };
    engine.TimeoutMs = 300;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint16_t> values = c.values;
        ASSERT_TRUE(engine.PrepareWrite(1, 3, 121, uint16_t(values.size()), values.data()));
        EXPECT_FALSE(line.Receive(TxFrame().size()).empty());
        line.Send(c.answer);
        EXPECT_EQ(AwaitFinal(), c.state);
    }
}

// USB adapters hand a frame over in packets, the tail up to 25 ms after the rest.
TEST_F(Engine, AnAnswerInPiecesCompletesWithItsLastByte) {
    Bytes answer = {0x01, 0x03, 132};
    for (int i = 0; i < 66; ++i) {
        answer.push_back(static_cast<uint8_t>(i));
        answer.push_back(static_cast<uint8_t>(0x80 + i));
    }
    answer = WithCrc(answer);
    int completed = 0;
    for (const int gapMs : {8, 16, 20, 25}) {
        for (int round = 0; round < 10; ++round) {
            std::vector<uint16_t> buffer(66, 0);
            ASSERT_TRUE(engine.PrepareRead(1, 3, 10000, 66, buffer.data()));
            ASSERT_EQ(line.Receive(8).size(), 8u);
            line.Send(Bytes(answer.begin(), answer.begin() + 62));
            std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
            line.Send(Bytes(answer.begin() + 62, answer.end()));
            if (AwaitFinal() == Completed && buffer[65] == (65 << 8 | (0x80 + 65))) {
                ++completed;
            }
        }
    }
    EXPECT_EQ(completed, 40);
}

// An answer that comes after its time-out is never taken for the next request's.
TEST_F(Engine, ALateAnswerIsDropped) {
    engine.TimeoutMs = 100;
    const Bytes late = WithCrc({0x01, 0x03, 12, 0, 9, 0, 9, 0, 9, 0, 9, 0, 9, 0, 9});
    const Bytes status = WithCrc({0x01, 0x03, 2, 0, 2});
    for (const bool beforeTheNextRequest : {true, false}) {
        SCOPED_TRACE(beforeTheNextRequest ? "late answer before the next request"
                                          : "late answer after the next request went out");
        std::vector<uint16_t> clock(6, 0xEEEE);
        ASSERT_TRUE(engine.PrepareRead(1, 3, 100, 6, clock.data()));
        ASSERT_EQ(line.Receive(8).size(), 8u);
        ASSERT_EQ(AwaitFinal(), TimedOut);
        if (beforeTheNextRequest) {
            line.Send(late);
        }
        uint16_t state = 0xEEEE;
        ASSERT_TRUE(engine.PrepareRead(1, 3, 120, 1, &state));
        ASSERT_EQ(line.Receive(8).size(), 8u);
        if (!beforeTheNextRequest) {
            line.Send(late);
        }
        line.Send(status);
        const uint8_t result = AwaitFinal();
        if (beforeTheNextRequest) {
            EXPECT_EQ(result, Completed);
            EXPECT_EQ(state, 2);
        } else {
            EXPECT_EQ(result, Failed);
            EXPECT_EQ(state, 0xEEEE);
        }
        // Whatever is left on the line is gone before the next request.
        EXPECT_EQ(ReadWithResponse(status, 1, &state), Completed);
        EXPECT_EQ(state, 2);
    }
}

TEST_F(Engine, SilenceTimesOut) {
    engine.TimeoutMs = 100;
    uint16_t buffer[2] = {};
    ASSERT_TRUE(engine.PrepareRead(1, 3, 0, 2, buffer));
    EXPECT_EQ(AwaitFinal(), TimedOut);
}

TEST_F(Engine, AnswerAfterTheTimeOutTimesOut) {
    engine.TimeoutMs = 100;
    uint16_t buffer[2] = {0xEEEE, 0xEEEE};
    ASSERT_TRUE(engine.PrepareRead(1, 3, 0, 2, buffer));
    ASSERT_EQ(line.Receive(8).size(), 8u);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    line.Send(WithCrc({0x01, 0x03, 4, 0, 1, 0, 2}));
    EXPECT_EQ(AwaitFinal(), TimedOut);
    EXPECT_EQ(buffer[0], 0xEEEE);
}

TEST_F(Engine, MoreThan255BytesNeverEndTheFrame) {
    engine.TimeoutMs = 300;
    std::vector<uint16_t> buffer(128, 0xEEEE);
    ASSERT_TRUE(engine.PrepareRead(1, 3, 0, 128, buffer.data()));
    ASSERT_EQ(line.Receive(8).size(), 8u);
    Bytes flood = {0x01, 0x03, 0};
    flood.resize(298, 0x11);
    line.Send(WithCrc(flood));
    EXPECT_EQ(AwaitFinal(), TimedOut);
    EXPECT_EQ(buffer[0], 0xEEEE);
}

TEST_F(Engine, OversizedRequestsAreRefusedWithoutTouchingTheFrame) {
    engine.TimeoutMs = 100;
    std::vector<uint16_t> buffer(130, 1);
    ASSERT_TRUE(engine.PrepareRead(1, 3, 0, 2, buffer.data()));
    ASSERT_EQ(AwaitFinal(), TimedOut);
    const Bytes before = TxFrame();
    EXPECT_FALSE(engine.PrepareRead(1, 3, 0, 129, buffer.data()));
    EXPECT_FALSE(engine.PrepareWrite(1, 16, 0, 126, buffer.data()));
    EXPECT_FALSE(engine.PrepareRead(1, 3, 0, 1, nullptr));
    EXPECT_FALSE(engine.PrepareWrite(1, 3, 0, 1, nullptr));
    EXPECT_EQ(TxFrame(), before);
}

TEST_F(Engine, LargestRequestsFitTheFrames) {
    engine.TimeoutMs = 100;
    std::vector<uint16_t> buffer(128, 0x0102);
    ASSERT_TRUE(engine.PrepareWrite(1, 16, 0, 125, buffer.data()));
    const Bytes request = line.Receive(259);
    ASSERT_EQ(request.size(), 259u);
    EXPECT_EQ(request[6], 250);
    EXPECT_EQ(request, WithCrc(Bytes(request.begin(), request.end() - 2)));
    AwaitFinal();

    Bytes answer = {0x01, 0x03, 250};
    for (int i = 0; i < 125; ++i) {
        answer.push_back(0xCA);
        answer.push_back(static_cast<uint8_t>(i));
    }
    engine.TimeoutMs = 5000;
    EXPECT_EQ(ReadWithResponse(WithCrc(answer), 125, buffer.data()), Completed);
    EXPECT_EQ(buffer[124], 0xCA7C);
    EXPECT_EQ(buffer[125], 0x0102);
    engine.TimeoutMs = 100;
    EXPECT_TRUE(engine.PrepareRead(1, 3, 0, 128, buffer.data()));  // fits, though no answer can
    EXPECT_EQ(line.Receive(8), WithCrc({0x01, 0x03, 0, 0, 0, 128}));
    line.Send({0x01});
    EXPECT_EQ(AwaitFinal(), TimedOut);
}

TEST_F(Engine, NoNewRequestWhileOneIsRunning) {
    uint16_t buffer[1] = {};
    ASSERT_TRUE(engine.PrepareRead(1, 3, 0, 1, buffer));
    EXPECT_FALSE(engine.PrepareRead(2, 3, 0, 1, buffer));
    EXPECT_EQ(line.Receive(8), WithCrc({0x01, 0x03, 0, 0, 0, 1}));
    line.Send(WithCrc({0x01, 0x03, 2, 0, 9}));
    EXPECT_EQ(AwaitFinal(), Completed);
}

TEST_F(Engine, ClosingThePortEndsTheTransactionAndServingGoesOn) {
    engine.TimeoutMs = 600000;  // far beyond AwaitFinal: only the closed port can end it
    for (const bool requestSent : {false, true}) {
        SCOPED_TRACE(requestSent ? "closed while awaiting the answer"
                                 : "closed before the request");
        uint16_t buffer[1] = {};
        if (!requestSent) {
            port.Close();  // the write of the request fails
        }
        ASSERT_TRUE(engine.PrepareRead(1, 3, 0, 1, buffer));
        if (requestSent) {
            ASSERT_EQ(line.Receive(8).size(), 8u);
            port.Close();
        }
        EXPECT_EQ(AwaitFinal(), TimedOut);

        port.Open();
        EXPECT_EQ(ReadWithResponse(WithCrc({0x01, 0x03, 2, 0, 9}), 1, buffer), Completed);
        EXPECT_EQ(buffer[0], 9);
    }
}

TEST_F(Engine, AgainstAnIndependentSlave) {
    ModbusSlave slave(line);
    for (int i = 0; i < 66; ++i) {
        slave.SetRegister(10000 + i, static_cast<uint16_t>(0x8000 + i * 3));
    }
    std::vector<uint16_t> buffer(66, 0);
    ASSERT_TRUE(engine.PrepareRead(1, 3, 10000, 66, buffer.data()));
    ASSERT_EQ(AwaitFinal(), Completed);
    for (int i = 0; i < 66; ++i) {
        EXPECT_EQ(buffer[i], 0x8000 + i * 3) << i;
    }

    uint16_t single = 0xBEEF;
    ASSERT_TRUE(engine.PrepareWrite(1, 3, 121, 1, &single));
    ASSERT_EQ(AwaitFinal(), Completed);
    EXPECT_EQ(slave.Register(121), 0xBEEF);

    uint16_t several[3] = {1, 0xFFFF, 0x1234};
    ASSERT_TRUE(engine.PrepareWrite(1, 3, 200, 3, several));
    ASSERT_EQ(AwaitFinal(), Completed);
    EXPECT_EQ(slave.Register(200), 1);
    EXPECT_EQ(slave.Register(201), 0xFFFF);
    EXPECT_EQ(slave.Register(202), 0x1234);

    ASSERT_TRUE(engine.PrepareRead(1, 3, ModbusSlave::RegisterCount + 5, 2, buffer.data()));
    EXPECT_EQ(AwaitFinal(), Failed);  // the slave answers with an exception
}
