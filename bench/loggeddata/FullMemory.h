#pragma once

#include "loggeddata/LoggerTime.h"
#include "loggeddata/MemoryImage.h"
#include "projects/Comandi.h"

#include <QDate>
#include <QTime>

// A full memory as a cyclical logger leaves it: every block filled, chip 2's blocks older than
// chip 1's, 2343 samples a block (markers and one-value records, four to a time stamp),
// 149,952 samples in all.
inline CommandList fullMemoryCommands() {
    CommandList commands(4);
    for (size_t i = 0; i < commands.size(); ++i) {
        commands[i] = {
            uint16_t(100 * (i + 1)), 1, QStringLiteral("Command %1").arg(i), 1, uint8_t(i % 3),
            QStringLiteral("V")};
    }
    return commands;
}

inline void fillFullMemory(MemoryImage& image) {
    image.reset();
    image.setWholeDeviceLayout();
    const LoggerTime start = LoggerTimeStamp::fromDateAndTime(QDate(2011, 3, 15), QTime(0, 0));
    auto words = image.words();
    int sample = 0;
    for (int block = 0; block < 64; ++block) {
        // Chip 2 (blocks 32..63) was written first.
        const int age = (block + 32) % 64;
        size_t at = size_t(block) * 8448;
        for (int i = 0; i < 2343; ++i, ++sample) {
            const LoggerTime t = start + (age * 2343 + i) / 4 * 10;
            const QDate d = LoggerTimeStamp::date(t);
            const QTime h = LoggerTimeStamp::time(t);
            words[at++] =
                uint16_t((d.year() - 2000) << 10 | d.month() << 6 | d.day() << 1 | (h.hour() >> 4));
            words[at++] = uint16_t((h.hour() & 15) << 12 | h.minute() << 6 | h.second());
            if (i < 928) {
                words[at++] = i % 2 ? 2000 : 2001;
            } else {
                words[at++] = uint16_t(i % 4);
                words[at++] = uint16_t(sample * 7919);
            }
        }
    }
}
