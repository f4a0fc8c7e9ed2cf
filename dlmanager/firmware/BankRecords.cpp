#include "firmware/BankRecords.h"

char* putHexByte(char* out, uint8_t value) {
    constexpr char HexDigits[] = "0123456789ABCDEF";
    out[0] = HexDigits[value >> 4];
    out[1] = HexDigits[value & 0x0F];
    return out + 2;
}

uint8_t sRecordChecksum(uint8_t byteCount, uint32_t address, int addressBytes, const uint8_t* data,
                        int dataLength) {
    unsigned sum = byteCount;
    for (int i = 0; i < addressBytes; ++i) {
        sum += (address >> (8 * i)) & 0xFF;
    }
    for (int i = 0; i < dataLength; ++i) {
        sum += data[i];
    }
    return static_cast<uint8_t>(~sum & 0xFF);
}

QByteArray bankRecordText(const QByteArray& image, uint32_t windowStart) {
    // "S2" + count + 3 address bytes + data + checksum, in hex, then CR LF.
    constexpr int lineLength = 2 + 2 * (1 + 3 + BankRecordDataBytes + 1) + 2;
    constexpr uint8_t byteCount = 3 + BankRecordDataBytes + 1;
    const qsizetype blocks = image.size() / BankRecordDataBytes;

    QByteArray text(blocks * lineLength, Qt::Uninitialized);
    char* out = text.data();
    for (qsizetype block = 0; block < blocks; ++block) {
        const uint32_t address = windowStart + static_cast<uint32_t>(block * BankRecordDataBytes);
        const auto* data =
            reinterpret_cast<const uint8_t*>(image.constData() + block * BankRecordDataBytes);
        *out++ = 'S';
        *out++ = '2';
        out = putHexByte(out, byteCount);
        out = putHexByte(out, static_cast<uint8_t>(address >> 16));
        out = putHexByte(out, static_cast<uint8_t>(address >> 8));
        out = putHexByte(out, static_cast<uint8_t>(address));
        for (int i = 0; i < BankRecordDataBytes; ++i) {
            out = putHexByte(out, data[i]);
        }
        out = putHexByte(out, sRecordChecksum(byteCount, address, 3, data, BankRecordDataBytes));
        *out++ = '\r';
        *out++ = '\n';
    }
    return text;
}
