#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

// Values forced into registers for tests and demonstrations (a run state of 7, month 13 in the
// clock): reads return them, in any register, until they are cleared; writes still reach the
// device underneath.
class RegisterOverrides {
public:
    void set(uint16_t address, uint16_t value) { values_[address] = value; }
    void clear(uint16_t address) { values_.erase(address); }
    void clearAll() { values_.clear(); }

    std::optional<uint16_t> valueOf(uint16_t address) const;
    bool touches(uint16_t first, uint16_t count) const;

private:
    std::map<uint16_t, uint16_t> values_;
};

// "R=V" as given to --set.
std::optional<std::pair<uint16_t, uint16_t>> parseRegisterValue(const std::string& text);
