#include "RuntimeControls.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> result;
    for (std::string word; in >> word;) {
        result.push_back(word);
    }
    return result;
}

std::optional<unsigned> number(const std::string& text, unsigned limit) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value > limit) {
        return std::nullopt;
    }
    return value;
}

std::string faultCommand(LiveFaults& faults, const std::vector<std::string>& w) {
    if (w.size() == 2 && w[0] == "silent" && (w[1] == "on" || w[1] == "off")) {
        faults.setSilent(w[1] == "on");
        return "OK";
    }
    if (w.size() == 2 && w[0] == "ignore") {
        if (const auto n = number(w[1], 1000000)) {
            faults.ignoreNext(*n);
            return "OK";
        }
    }
    if (w.size() == 2 && w[0] == "ignore-write") {
        if (const auto address = number(w[1], 0xFFFF)) {
            faults.ignoreNextWrite(static_cast<uint16_t>(*address));
            return "OK";
        }
    }
    if (w.size() == 1 && w[0] == "clear") {
        faults.clear();
        return "OK";
    }
    return "ERROR usage: fault silent on|off | fault ignore N | fault ignore-write R | fault clear";
}

}  // namespace

std::optional<std::string> RuntimeControls::command(const std::string& verb,
                                                    const std::string& argument) {
    const std::vector<std::string> w = words(argument);
    if (verb == "set") {
        const auto address = w.size() == 2 ? number(w[0], 0xFFFF) : std::nullopt;
        const auto value = w.size() == 2 ? number(w[1], 0xFFFF) : std::nullopt;
        if (!address || !value) {
            return "ERROR usage: set REGISTER VALUE";
        }
        overrides.set(static_cast<uint16_t>(*address), static_cast<uint16_t>(*value));
        return "OK";
    }
    if (verb == "unset") {
        if (w.size() == 1 && w[0] == "all") {
            overrides.clearAll();
            return "OK";
        }
        const auto address = w.size() == 1 ? number(w[0], 0xFFFF) : std::nullopt;
        if (!address) {
            return "ERROR usage: unset REGISTER | unset all";
        }
        overrides.clear(static_cast<uint16_t>(*address));
        return "OK";
    }
    if (verb == "fault") {
        return faultCommand(faults, w);
    }
    return std::nullopt;
}
