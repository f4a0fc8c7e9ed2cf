#include "RegisterOverrides.h"

#include <charconv>

std::optional<uint16_t> RegisterOverrides::valueOf(uint16_t address) const {
    const auto found = values_.find(address);
    return found == values_.end() ? std::nullopt : std::optional<uint16_t>(found->second);
}

bool RegisterOverrides::touches(uint16_t first, uint16_t count) const {
    const auto from = values_.lower_bound(first);
    return from != values_.end() && unsigned(from->first) < unsigned(first) + count;
}

std::optional<std::pair<uint16_t, uint16_t>> parseRegisterValue(const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos) {
        return std::nullopt;
    }
    unsigned address = 0;
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto first = std::from_chars(text.data(), text.data() + equals, address);
    const auto second = std::from_chars(text.data() + equals + 1, end, value);
    if (first.ec != std::errc() || first.ptr != text.data() + equals || second.ec != std::errc() ||
        second.ptr != end || address > 0xFFFF || value > 0xFFFF) {
        return std::nullopt;
    }
    return std::pair{static_cast<uint16_t>(address), static_cast<uint16_t>(value)};
}
