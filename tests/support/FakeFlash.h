#pragma once

#include "FakeModbusDevice.h"

#include <cstdint>
#include <functional>

// The datalogger's page transfer on a FakeModbusDevice: the memory info registers 128..130,
// and the page request 200..202 that fills the page buffer 10000..10065 from `word`.
class FakeFlash {
public:
    static constexpr uint16_t WordsPerPage = 132;

    // chip 0 or 1, page 0..2047, word 0..131 of the page.
    std::function<uint16_t(int chip, int page, int word)> word = [](int chip, int page, int w) {
        const uint32_t n = (uint32_t(chip) * 2048 + uint32_t(page)) * WordsPerPage + uint32_t(w);
        return static_cast<uint16_t>((n * 2654435761u) >> 16);
    };

    explicit FakeFlash(FakeModbusDevice& device) : device_(device) {
        device_.afterWrite = [this](uint16_t reg, uint16_t) {
            if (reg == 202) {
                fillBuffer();
            }
        };
    }

    void setMemoryInfo(uint16_t page, uint16_t byte, uint16_t flashStatus) {
        device_.registers[128] = page;
        device_.registers[129] = byte;
        device_.registers[130] = flashStatus;
    }

private:
    void fillBuffer() {
        const int chip = device_.registers[200] == 3 ? 1 : 0;
        const int page = device_.registers[201];
        const int first = device_.registers[202] / 2;
        for (int i = 0; i < 66; ++i) {
            const int w = first + i;
            device_.registers[uint16_t(10000 + i)] =
                w < WordsPerPage ? word(chip, page, w) : uint16_t(0xFFFF);
        }
    }

    FakeModbusDevice& device_;
};
