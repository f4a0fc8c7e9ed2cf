#pragma once

#include "CivilTime.h"
#include "DeviceClock.h"
#include "FlashMemory.h"
#include "LoggerConfiguration.h"
#include "SampleValues.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

struct LoggedRecord {
    CivilTime time;
    uint16_t command = 0;
    std::vector<uint16_t> values;
};

struct LoggerSettings {
    LoggerConfiguration configuration = demoConfiguration();
    double periodSeconds = 10.0;
    double eraseSeconds = 5.0;
    bool markers = false;  // start and stop count as done by the hardware switch
    uint64_t seed = 1;
};

// The device behind the register map: clock, run state, commands, diagnostics, page transfer
// and the command table, with logging into flash. Times are host seconds since the epoch, given
// by the caller, so the behaviour is reproducible.
class Datalogger {
public:
    explicit Datalogger(LoggerSettings settings);

    void onRecord(std::function<void(const LoggedRecord&)> observer) {
        observer_ = std::move(observer);
    }

    // Each returns 0 or the Modbus exception code of the refusal; a refused write changes nothing.
    uint8_t read(uint16_t address, uint16_t count, uint16_t* out, double now);
    uint8_t write(uint16_t address, std::span<const uint16_t> values, double now);

    // Runs the logging rounds and the end of an erase that are due.
    void advance(double now);
    std::optional<double> nextDeadline() const;

    // A history of `days` up to now, one round every `stepSeconds`.
    void prefill(double days, double stepSeconds, double now);
    void startLogging(double now);
    // A new configuration bank, as after programming new firmware: the device restarts stopped.
    void program(const LoggerConfiguration& configuration);

    // The flash as given (a whole image); logging goes on after its last written word.
    void loadFlash(std::span<const uint16_t> image) { flash_.load(image); }

    uint16_t runState() const { return runState_; }
    const LoggerConfiguration& configuration() const { return settings_.configuration; }
    const FlashMemory& flash() const { return flash_; }
    DeviceClock& clock() { return clock_; }

private:
    uint8_t checkWrite(uint16_t address, uint16_t value) const;
    uint8_t applyWrite(uint16_t address, uint16_t value, double now);
    uint8_t command(uint16_t code, double now);
    uint16_t registerValue(uint16_t address, const std::array<uint16_t, 6>& clock) const;
    void stopLogging(double now);
    void logRound(double at);
    bool store(const LoggedRecord& record);

    LoggerSettings settings_;
    SampleValues samples_;
    DeviceClock clock_;
    FlashMemory flash_;
    uint16_t runState_ = 2;
    uint16_t lastCommand_ = 0;
    double nextRoundAt_ = 0.0;
    double eraseEndsAt_ = 0.0;
    uint64_t sampleNumber_ = 0;
    uint16_t errorReads_ = 0;
    uint16_t correctReads_ = 0;
    uint16_t lastWords_[2] = {0, 0};
    uint16_t pageChip_ = 1;
    uint16_t pageIndex_ = 0;
    uint16_t pageOffset_ = 0;
    std::function<void(const LoggedRecord&)> observer_;
};
