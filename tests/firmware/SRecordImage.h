#pragma once

// An S-record reader written apart from the merge code, so tests can compare what a file
// means (a memory image) instead of how the merge writes it.

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

struct SRecordFile {
    std::map<uint32_t, uint8_t> image;  // address -> byte, from S1/S2/S3 records
    QList<QByteArray> lines;            // without line ends
    bool everyLineEndsWithCrLf = true;
    bool checksumsValid = true;
};

inline int sRecordHexByte(const QByteArray& line, int at) {
    bool ok = false;
    const int value = line.mid(at, 2).toInt(&ok, 16);
    if (!ok) {
        throw std::runtime_error("bad hex in " + line.toStdString());
    }
    return value;
}

inline SRecordFile readSRecords(const QByteArray& text) {
    SRecordFile file;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0) {
            end = text.size();
            file.everyLineEndsWithCrLf = false;
        } else if (end == start || text[end - 1] != '\r') {
            file.everyLineEndsWithCrLf = false;
        }
        QByteArray line = text.mid(start, end - start);
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        start = end + 1;
        file.lines << line;
        if (line.size() < 4 || line[0] != 'S') {
            continue;
        }
        const int count = sRecordHexByte(line, 2);
        if (line.size() != 4 + 2 * count) {
            file.checksumsValid = false;
            continue;
        }
        int sum = 0;
        for (int i = 0; i < count + 1; ++i) {
            sum += sRecordHexByte(line, 2 + 2 * i);
        }
        if ((sum & 0xFF) != 0xFF) {
            file.checksumsValid = false;
        }
        const char type = line[1];
        const int addressBytes = type == '1' ? 2 : type == '2' ? 3 : type == '3' ? 4 : 0;
        if (addressBytes == 0) {
            continue;
        }
        uint32_t address = 0;
        for (int i = 0; i < addressBytes; ++i) {
            address = (address << 8) | static_cast<uint32_t>(sRecordHexByte(line, 4 + 2 * i));
        }
        const int dataBytes = count - addressBytes - 1;
        for (int i = 0; i < dataBytes; ++i) {
            file.image[address + i] =
                static_cast<uint8_t>(sRecordHexByte(line, 4 + 2 * (addressBytes + i)));
        }
    }
    return file;
}
