#include "Options.h"

#include "RegisterOverrides.h"

#include <charconv>
#include <functional>
#include <map>

const char* const UsageText =
    "usage: ql40982-sim [options]\n"
    "Serves a simulated QL40982 datalogger (Modbus RTU slave 1, 57600 8N1) on a new\n"
    "pseudo-terminal, whose path is printed first, until SIGINT or SIGTERM.\n"
    "\n"
    "Line:\n"
    "  --link PATH            also make a symbolic link PATH to the pseudo-terminal\n"
    "  --device PATH          serve a real serial port instead\n"
    "Device:\n"
    "  --project DIR          command table from DIR/cmdmb.xml (default: built-in demo)\n"
    "  --firmware FILE        command table, baud and parity codes from bank 1 of an\n"
    "                         S-record firmware file\n"
    "  --command-table FILE   serve registers 50000.. as the words in FILE (decimal or 0x,\n"
    "                         three per entry), logging by its entries up to a 0 address\n"
    "  --serial T,B,P         registers 110..112 (default 1000,3,0)\n"
    "  --period SECONDS       one record per command every SECONDS while running (10)\n"
    "  --seed N               seed of the logged values (1)\n"
    "  --markers              write start/stop marker records (2001/2000)\n"
    "  --run                  start logging at once\n"
    "  --prefill DAYS         write a history of DAYS days up to now at start\n"
    "  --prefill-step SECONDS spacing of the history's rounds (300)\n"
    "  --erase-seconds S      time the erase takes (5)\n"
    "  --dump-image FILE      write the flash image at start and at exit\n"
    "  --record-log FILE      write every logged record as a text line\n"
    "  --control PATH         Unix socket for \"program FILE\", \"dump FILE\", \"status\",\n"
    "                         \"set R V\", \"unset R\", \"fault ...\", \"flash FILE\"\n"
    "  --set R=V              reads of register R return V (any register; repeatable)\n"
    "  --request-log FILE     write a line for every request received\n"
    "Flash:\n"
    "  --cyclical             a full memory goes on from its start (also the project's\n"
    "                         or firmware's \"Cyclical Memory\" option)\n"
    "  --flash-image FILE     serve this flash image (as --dump-image writes it); logging\n"
    "                         goes on after its last written word\n"
    "Faults:\n"
    "  --drop-every N         no answer to every Nth request\n"
    "  --corrupt-crc-every N  a wrong CRC on the answer to every Nth request\n"
    "  --delay MS             answer MS milliseconds late\n"
    "  --silent-after N       ignore every request after the Nth\n"
    "  --exception A-B[:C]    answer requests touching registers A..B with exception C (4)\n"
    "  --exception-once A-B[:C]  the same for the first such request only\n"
    "  --line-rate            send answers at 57600 bit/s, byte by byte\n";

namespace {

template <typename T>
bool parseNumber(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end;
}

bool parseSeconds(const std::string& text, double& value) {
    return parseNumber(text, value) && value >= 0.0;
}

bool parseRange(const std::string& text, ExceptionRange& range) {
    const auto dash = text.find('-');
    if (dash == std::string::npos) {
        return false;
    }
    const auto colon = text.find(':', dash);
    unsigned first = 0;
    unsigned last = 0;
    unsigned code = 4;
    if (!parseNumber(text.substr(0, dash), first) ||
        !parseNumber(text.substr(dash + 1,
                                 colon == std::string::npos ? std::string::npos : colon - dash - 1),
                     last) ||
        (colon != std::string::npos && !parseNumber(text.substr(colon + 1), code))) {
        return false;
    }
    if (first > last || last > 0xFFFF || code < 1 || code > 0xFF) {
        return false;
    }
    range = {static_cast<uint16_t>(first), static_cast<uint16_t>(last), static_cast<uint8_t>(code)};
    return true;
}

}  // namespace

std::variant<Options, OptionError> parseOptions(const std::vector<std::string>& arguments) {
    Options o;
    using Setter = std::function<bool(const std::string&)>;
    const auto text = [](std::string& target) {
        return Setter([&target](const std::string& v) {
            target = v;
            return !v.empty();
        });
    };
    const auto count = [](unsigned& target) {
        return Setter(
            [&target](const std::string& v) { return parseNumber(v, target) && target > 0; });
    };
    std::map<std::string, Setter> valued = {
        {"--link", text(o.link)},
        {"--device", text(o.device)},
        {"--project", text(o.project)},
        {"--firmware", text(o.firmware)},
        {"--command-table", text(o.commandTable)},
        {"--serial", text(o.serial)},
        {"--dump-image", text(o.dumpImage)},
        {"--record-log", text(o.recordLog)},
        {"--control", text(o.control)},
        {"--request-log", text(o.requestLog)},
        {"--set",
         [&](const std::string& v) {
             const auto forced = parseRegisterValue(v);
             if (forced) {
                 o.forcedRegisters.push_back(*forced);
             }
             return forced.has_value();
         }},
        {"--flash-image", text(o.flashImage)},
        {"--period",
         [&](const std::string& v) {
             return parseSeconds(v, o.periodSeconds) && o.periodSeconds > 0;
         }},
        {"--seed", [&](const std::string& v) { return parseNumber(v, o.seed); }},
        {"--prefill", [&](const std::string& v) { return parseSeconds(v, o.prefillDays); }},
        {"--prefill-step",
         [&](const std::string& v) {
             return parseSeconds(v, o.prefillStepSeconds) && o.prefillStepSeconds > 0;
         }},
        {"--erase-seconds", [&](const std::string& v) { return parseSeconds(v, o.eraseSeconds); }},
        {"--drop-every", count(o.faults.dropEvery)},
        {"--corrupt-crc-every", count(o.faults.corruptEvery)},
        {"--delay", [&](const std::string& v) { return parseNumber(v, o.faults.delayMs); }},
        {"--silent-after",
         [&](const std::string& v) {
             unsigned n = 0;
             o.faults.silentAfter = n;
             return parseNumber(v, *o.faults.silentAfter);
         }},
        {"--exception",
         [&](const std::string& v) {
             ExceptionRange range;
             o.faults.exceptions.push_back(range);
             return parseRange(v, o.faults.exceptions.back());
         }},
        {"--exception-once",
         [&](const std::string& v) {
             return parseRange(v, o.faults.exceptionsOnce.emplace_back());
         }},
    };
    const std::map<std::string, bool*> flags = {
        {"--markers", &o.markers},   {"--run", &o.running}, {"--line-rate", &o.faults.lineRate},
        {"--cyclical", &o.cyclical}, {"--help", &o.help},   {"-h", &o.help},
    };
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('=');
            name.starts_with("--") && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (const auto flag = flags.find(name); flag != flags.end() && !value) {
            *flag->second = true;
            continue;
        }
        const auto setter = valued.find(name);
        if (setter == valued.end()) {
            return OptionError{"unknown option " + arguments[i]};
        }
        if (!value) {
            if (i + 1 >= arguments.size()) {
                return OptionError{name + " needs a value"};
            }
            value = arguments[++i];
        }
        if (!setter->second(*value)) {
            return OptionError{"bad value for " + name + ": " + *value};
        }
    }
    if (!o.project.empty() && !o.firmware.empty()) {
        return OptionError{"--project and --firmware both give the command table; choose one"};
    }
    return o;
}
