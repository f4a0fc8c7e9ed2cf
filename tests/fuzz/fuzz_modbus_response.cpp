// Noise on the line: any bytes are checked as the answer to a read and to a write. The first
// byte chooses the register count and whether the frame gets a correct CRC appended, so the
// checks after the CRC are reached too.
#include "FuzzCheck.h"
#include "ModbusCrc.h"
#include "ModbusResponse.h"
#include "UThreadCom.h"

#include <cerrno>
#include <vector>

namespace {

// The frame exactly as long as what was read, so reading past it is caught.
std::vector<uint8_t> responseFrame(const uint8_t* data, size_t size, bool appendCrc) {
    const size_t limit = TComModbus::FrameSize - (appendCrc ? 2 : 0);
    std::vector<uint8_t> frame(data, data + std::min(size, limit));
    if (appendCrc) {
        const uint16_t crc = ModbusCrc16(frame.data(), frame.size());
        frame.push_back(static_cast<uint8_t>(crc & 0xFF));
        frame.push_back(static_cast<uint8_t>(crc >> 8));
    }
    return frame;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool appendCrc = data[0] & 0x80;
    const uint32_t registerCount = (data[0] & 0x7F) + 1u;  // 1..128, the read limit
    const std::vector<uint8_t> frame = responseFrame(data + 1, size - 1, appendCrc);
    const auto length = static_cast<int32_t>(frame.size());

    for (const uint8_t function : {uint8_t(3), uint8_t(4)}) {
        std::vector<uint16_t> result(registerCount, 0xA5A5);
        const ModbusRequestShape shape{function, registerCount, nullptr};
        (void)JudgeFrame(frame.data(), length, shape);
        const int error = CheckModbusResponse(frame.data(), length, shape, result.data());
        FUZZ_CHECK(error == 0 || error == EPROTO || error == EBADMSG || error == EREMOTEIO);
        FUZZ_CHECK(error != 0 || (frame[1] == function && length == 5 + 2 * int(registerCount)));
        // Only an accepted answer reaches the caller's buffer.
        FUZZ_CHECK(error == 0 || result == std::vector<uint16_t>(registerCount, 0xA5A5));
    }
    // A write's answer never touches a result buffer; its echo is checked against the request.
    const uint8_t request[8] = {1, 6, 0, 121, 0, 2, 0, 0};
    for (const uint8_t function : {uint8_t(6), uint8_t(16)}) {
        const ModbusRequestShape shape{function, 0, request};
        (void)JudgeFrame(frame.data(), length, shape);
        const int error = CheckModbusResponse(frame.data(), length, shape, nullptr);
        FUZZ_CHECK(error == 0 || error == EPROTO || error == EBADMSG || error == EREMOTEIO);
        FUZZ_CHECK(error != 0 || length == 8);
    }
    return 0;
}
