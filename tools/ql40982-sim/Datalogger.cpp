#include "Datalogger.h"

#include "RecordFormat.h"
#include "RegisterMap.h"

using namespace RegisterMap;

namespace {

bool within(uint16_t address, uint16_t first, uint16_t count) {
    return address >= first && address - first < count;
}

bool readable(uint16_t a) {
    return within(a, ClockFirst, 7) || within(a, SerialFirst, 3) || within(a, Status, 12) ||
           within(a, PageChip, 3) || within(a, PageBufferFirst, PageBufferCount) ||
           within(a, CommandTableFirst, CommandTableCount);
}

// Behind a stalled machine the rounds missed are not made up: a real device would not have
// taken them either.
constexpr int MaxRoundsCaughtUp = 10;

}  // namespace

Datalogger::Datalogger(LoggerSettings settings)
    : settings_(std::move(settings)), samples_(settings_.seed) {
    flash_.setCyclical(settings_.configuration.cyclicalMemory);
}

uint16_t Datalogger::registerValue(uint16_t a, const std::array<uint16_t, 6>& clock) const {
    if (within(a, ClockFirst, 6)) {
        return clock[a - ClockFirst];
    }
    if (within(a, CommandTableFirst, CommandTableCount)) {
        const unsigned offset = a - CommandTableFirst;
        const auto& words = settings_.configuration.tableWords;
        if (!words.empty()) {
            return offset < words.size() ? words[offset] : 0;
        }
        const size_t entry = offset / 3;
        const auto& commands = settings_.configuration.commands;
        if (entry >= commands.size()) {
            return 0;
        }
        switch (offset % 3) {
            case 0:
                return commands[entry].dataAddress;
            case 1:
                return commands[entry].pointCount;
            default:
                return 0;
        }
    }
    if (within(a, PageBufferFirst, PageBufferCount)) {
        const int word = pageOffset_ / 2 + (a - PageBufferFirst);
        const int chip = pageChip_ == ChipCodeSecond ? 1 : 0;
        return word < FlashMemory::WordsPerPage ? flash_.word(chip, pageIndex_, word)
                                                : FlashMemory::Erased;
    }
    switch (a) {
        case SerialFirst:
            return settings_.configuration.timeout;
        case SerialFirst + 1:
            return settings_.configuration.baudCode;
        case SerialFirst + 2:
            return settings_.configuration.parityCode;
        case Status:
            return runState_;
        case Command:
            return lastCommand_;
        case ReadingStatus:
            return runState_ == Running ? 1 : 0;
        case FlushStatus:
            return flash_.full() ? 1 : 0;
        case CountErrorRead:
            return errorReads_;
        case DataMsw:
            return lastWords_[0];
        case DataLsw:
            return lastWords_[1];
        case MemoryChip:
            return static_cast<uint16_t>(flash_.writeChip() + 1);
        case WritePage:
            return static_cast<uint16_t>(flash_.writePage());
        case WriteByte:
            return static_cast<uint16_t>(flash_.writeByte());
        case FlashStatus:
            return flash_.flashStatus();
        case CorrectRead:
            return correctReads_;
        case PageChip:
            return pageChip_;
        case PageIndex:
            return pageIndex_;
        case PageOffset:
            return pageOffset_;
        default:
            return 0;  // the clock commit register reads as 0
    }
}

uint8_t Datalogger::read(uint16_t address, uint16_t count, uint16_t* out, double now) {
    advance(now);
    for (unsigned i = 0; i < count; ++i) {
        if (address + i > 0xFFFF || !readable(static_cast<uint16_t>(address + i))) {
            return IllegalDataAddress;
        }
    }
    const auto clock = clock_.registers(now);
    for (unsigned i = 0; i < count; ++i) {
        out[i] = registerValue(static_cast<uint16_t>(address + i), clock);
    }
    return 0;
}

uint8_t Datalogger::checkWrite(uint16_t a, uint16_t value) const {
    if (within(a, ClockFirst, 7)) {
        return 0;
    }
    switch (a) {
        case Command:
            return value == StartLogging || value == StopLogging || value == EraseMemory
                       ? 0
                       : IllegalDataValue;
        case CountErrorRead:
        case CorrectRead:
            return value == 0 ? 0 : IllegalDataValue;
        case PageChip:
            return value == ChipCodeFirst || value == ChipCodeSecond ? 0 : IllegalDataValue;
        case PageIndex:
            return value < FlashMemory::PagesPerChip ? 0 : IllegalDataValue;
        case PageOffset:
            return value % 2 == 0 && value <= FlashMemory::WordsPerPage ? 0 : IllegalDataValue;
        default:
            return IllegalDataAddress;
    }
}

uint8_t Datalogger::write(uint16_t address, std::span<const uint16_t> values, double now) {
    advance(now);
    for (size_t i = 0; i < values.size(); ++i) {
        if (address + i > 0xFFFF) {
            return IllegalDataAddress;
        }
        if (const uint8_t refusal = checkWrite(static_cast<uint16_t>(address + i), values[i])) {
            return refusal;
        }
    }
    for (size_t i = 0; i < values.size(); ++i) {
        if (const uint8_t refusal =
                applyWrite(static_cast<uint16_t>(address + i), values[i], now)) {
            return refusal;
        }
    }
    return 0;
}

uint8_t Datalogger::applyWrite(uint16_t a, uint16_t value, double now) {
    if (within(a, ClockFirst, 6)) {
        clock_.stageField(a - ClockFirst, value);
        return 0;
    }
    switch (a) {
        case ClockCommit:
            if (value == 1 && !clock_.commit(now)) {
                return IllegalDataValue;
            }
            return 0;
        case Command:
            return command(value, now);
        case CountErrorRead:
            errorReads_ = 0;
            return 0;
        case CorrectRead:
            correctReads_ = 0;
            return 0;
        case PageChip:
            pageChip_ = value;
            return 0;
        case PageIndex:
            pageIndex_ = value;
            return 0;
        case PageOffset:
            pageOffset_ = value;
            return 0;
        default:
            return IllegalDataAddress;
    }
}

uint8_t Datalogger::command(uint16_t code, double now) {
    lastCommand_ = code;
    if (runState_ == Erasing) {
        return 0;  // busy erasing: commands wait for nobody
    }
    switch (code) {
        case StartLogging:
            startLogging(now);
            break;
        case StopLogging:
            stopLogging(now);
            break;
        case EraseMemory:
            stopLogging(now);
            runState_ = Erasing;
            eraseEndsAt_ = now + settings_.eraseSeconds;
            advance(now);
            break;
        default:
            break;
    }
    return 0;
}

void Datalogger::startLogging(double now) {
    if (runState_ != Stopped || flash_.full()) {
        return;
    }
    runState_ = Running;
    nextRoundAt_ = now + settings_.periodSeconds;
    if (settings_.markers) {
        store({clock_.at(now), HardwareStartMarker, {}});
    }
}

void Datalogger::stopLogging(double now) {
    if (runState_ != Running) {
        return;
    }
    runState_ = Stopped;
    if (settings_.markers) {
        store({clock_.at(now), HardwareStopMarker, {}});
    }
}

bool Datalogger::store(const LoggedRecord& record) {
    const auto words = RecordFormat::commandRecord(record.time, record.command, record.values);
    if (!flash_.append(words)) {
        return false;
    }
    lastWords_[0] = words[words.size() - 2];
    lastWords_[1] = words.back();
    ++correctReads_;
    if (observer_) {
        observer_(record);
    }
    return true;
}

void Datalogger::logRound(double at) {
    const CivilTime time = clock_.at(at);
    const auto& commands = settings_.configuration.commands;
    for (size_t k = 0; k < commands.size(); ++k) {
        const auto values = samples_.values(int(k), commands[k].pointCount, sampleNumber_);
        if (!store({time, static_cast<uint16_t>(k), values})) {
            runState_ = Stopped;  // memory full: the logger stops by itself
            return;
        }
    }
    ++sampleNumber_;
}

void Datalogger::advance(double now) {
    if (runState_ == Erasing && now >= eraseEndsAt_) {
        flash_.erase();
        lastWords_[0] = lastWords_[1] = 0;
        runState_ = Stopped;
    }
    if (runState_ != Running || settings_.periodSeconds <= 0.0) {
        return;
    }
    if (now - nextRoundAt_ > MaxRoundsCaughtUp * settings_.periodSeconds) {
        nextRoundAt_ = now;
    }
    while (runState_ == Running && nextRoundAt_ <= now) {
        logRound(nextRoundAt_);
        nextRoundAt_ += settings_.periodSeconds;
    }
}

std::optional<double> Datalogger::nextDeadline() const {
    if (runState_ == Erasing) {
        return eraseEndsAt_;
    }
    if (runState_ == Running && settings_.periodSeconds > 0.0) {
        return nextRoundAt_;
    }
    return std::nullopt;
}

void Datalogger::prefill(double days, double stepSeconds, double now) {
    if (days <= 0.0 || stepSeconds <= 0.0) {
        return;
    }
    const double start = now - days * 86400.0;
    if (settings_.markers) {
        store({clock_.at(start), HardwareStartMarker, {}});
    }
    for (double at = start; at < now && !flash_.full(); at += stepSeconds) {
        logRound(at);
    }
    if (settings_.markers) {
        store({clock_.at(now), HardwareStopMarker, {}});
    }
}

void Datalogger::program(const LoggerConfiguration& configuration) {
    settings_.configuration = configuration;
    flash_.setCyclical(configuration.cyclicalMemory);
    if (runState_ == Running) {
        runState_ = Stopped;
    }
}
