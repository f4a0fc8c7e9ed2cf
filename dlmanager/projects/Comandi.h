#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// The most registers one command samples, as the command editor allows.
inline constexpr int MaxPointCount = 127;

// One logging command: a block of consecutive Modbus registers the datalogger samples.
struct Comandi {
    uint16_t DataAddress = 0;
    uint8_t PointCount = 0;
    QString Description;
    uint8_t Visible = 0;  // shown in the data views; never stored in a file
    uint8_t Decimals = 0;
    QString Unit;

    bool operator==(const Comandi&) const = default;
};

// The open project's commands; an entry's position, from 0, is its number in logged records.
using CommandList = std::vector<Comandi>;
