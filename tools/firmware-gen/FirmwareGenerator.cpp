#include "FirmwareGenerator.h"

#include <vector>

namespace {

constexpr uint32_t PageSize = 0x4000;
constexpr uint32_t FirstCodePage = 0x380000;
constexpr std::array<uint32_t, 5> WindowStarts = {0x388000, 0x398000, 0x3A8000, 0x3B8000, 0x3C8000};

bool isBankWindow(uint32_t page) {
    for (uint32_t start : WindowStarts) {
        if (page == start) {
            return true;
        }
    }
    return false;
}

// xorshift32: the same bytes for the same seed on every machine.
struct ByteSource {
    uint32_t state;
    uint8_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<uint8_t>(state >> 24);
    }
};

class Writer {
public:
    Writer(const FirmwareLayout& layout) : end_(layout.crlf ? "\r\n" : "\n") {}

    void record(char type, uint32_t address, int addressBytes, const uint8_t* data, size_t length) {
        text_ += sRecordLine(type, address, addressBytes, data, length);
        text_ += end_;
        if (type >= '1' && type <= '3') {
            ++dataRecords_;
        }
    }

    // Records of `recordBytes` data bytes from `start` over `length` bytes.
    void block(uint32_t start, size_t length, int recordBytes, ByteSource& bytes) {
        std::vector<uint8_t> data(recordBytes);
        const bool lowArea = start + length <= 0x10000;
        for (size_t offset = 0; offset < length; offset += recordBytes) {
            const size_t count = std::min<size_t>(recordBytes, length - offset);
            for (size_t i = 0; i < count; ++i) {
                data[i] = bytes.next();
            }
            record(lowArea ? '1' : '2', start + static_cast<uint32_t>(offset), lowArea ? 2 : 3,
                   data.data(), count);
        }
    }

    size_t dataRecords() const { return dataRecords_; }
    std::string take() { return std::move(text_); }

private:
    std::string end_;
    std::string text_;
    size_t dataRecords_ = 0;
};

}  // namespace

std::string sRecordLine(char type, uint32_t address, int addressBytes, const uint8_t* data,
                        size_t length) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string line = {'S', type};
    auto putByte = [&](uint8_t value) {
        line += digits[value >> 4];
        line += digits[value & 0x0F];
    };
    const auto count = static_cast<uint8_t>(addressBytes + length + 1);
    unsigned sum = count;
    putByte(count);
    for (int i = addressBytes - 1; i >= 0; --i) {
        const auto byte = static_cast<uint8_t>(address >> (8 * i));
        sum += byte;
        putByte(byte);
    }
    for (size_t i = 0; i < length; ++i) {
        sum += data[i];
        putByte(data[i]);
    }
    putByte(static_cast<uint8_t>(~sum));
    return line;
}

std::string generateFirmware(const FirmwareLayout& layout) {
    Writer out(layout);
    ByteSource bytes{layout.seed ? layout.seed : 1};

    const std::string header = "Flash_Application.sx";
    out.record('0', 0, 2, reinterpret_cast<const uint8_t*>(header.data()), header.size());
    if (layout.withBootArea) {
        out.block(0xC000, 0x400, 16, bytes);
    }

    // Code pages in address order, the bank windows among them where they fall.
    size_t codeLeft = layout.codeBytes;
    int pageIndex = 0;
    for (uint32_t page = FirstCodePage; page < 0x1000000; page += PageSize) {
        if (isBankWindow(page)) {
            const size_t slot = (page - WindowStarts[0]) / 0x10000;
            if (layout.windowRecordBytes[slot] > 0) {
                out.block(page, PageSize, layout.windowRecordBytes[slot], bytes);
            }
            continue;
        }
        if (codeLeft == 0) {
            if (page > WindowStarts.back()) {
                break;
            }
            continue;
        }
        const size_t length = std::min<size_t>(codeLeft, PageSize);
        // Most pages come from the linker in 32-byte records, some in 16-byte ones.
        out.block(page, length, pageIndex % 5 == 3 ? 16 : 32, bytes);
        codeLeft -= length;
        ++pageIndex;
    }

    if (layout.withRecordCount) {
        const size_t count = out.dataRecords();
        if (count <= 0xFFFF) {
            out.record('5', static_cast<uint32_t>(count), 2, nullptr, 0);
        } else {
            out.record('6', static_cast<uint32_t>(count), 3, nullptr, 0);
        }
    }
    if (layout.withTerminator) {
        out.record('9', 0xC000, 2, nullptr, 0);
    } else {
        out.record('8', 0x38C000, 3, nullptr, 0);
    }
    return out.take();
}
