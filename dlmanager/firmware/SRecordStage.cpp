#include "firmware/SRecordStage.h"

#include <cstring>
#include <optional>
#include <string_view>

namespace {

// A line without its line end.
struct LineCursor {
    const char* next;
    const char* end;

    bool atEnd() const { return next == end; }

    std::string_view take() {
        const char* lineEnd = static_cast<const char*>(std::memchr(next, '\n', end - next));
        const char* stop = lineEnd ? lineEnd : end;
        std::string_view line(next, stop - next);
        next = lineEnd ? lineEnd + 1 : end;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return line;
    }
};

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The address field after type and byte count: `digits` hexadecimal digits from the fifth
// character on.
std::optional<uint32_t> recordAddress(std::string_view line, int digits) {
    if (line.size() < static_cast<size_t>(4 + digits)) {
        return std::nullopt;
    }
    uint32_t address = 0;
    for (int i = 0; i < digits; ++i) {
        const int value = hexValue(line[4 + i]);
        if (value < 0) {
            return std::nullopt;
        }
        address = (address << 4) | static_cast<uint32_t>(value);
    }
    return address;
}

void appendLine(QByteArray& out, std::string_view line) {
    out.append(line.data(), static_cast<qsizetype>(line.size()));
    out.append("\r\n", 2);
}

}  // namespace

qsizetype countSRecordLines(const QByteArray& text) {
    const qsizetype lineEnds = text.count('\n');
    const bool openLast = !text.isEmpty() && !text.endsWith('\n');
    return lineEnds + (openLast ? 1 : 0);
}

StageResult mergeBankIntoRecords(const QByteArray& source, const QByteArray& bankRecords,
                                 const BankSlot& slot, MergeProgress& progress) {
    StageResult result;
    // Room for the source with CR LF ends and the bank; dropped records make up for the rest.
    result.output.reserve(source.size() + source.size() / 32 + bankRecords.size());
    const qsizetype bankLines = countSRecordLines(bankRecords);

    int position = 0;
    bool bankPending = true;
    LineCursor lines{source.constData(), source.constData() + source.size()};
    while (!lines.atEnd()) {
        const std::string_view line = lines.take();
        progress.setPosition(++position);
        if (line.empty()) {
            result.failed = true;
            return result;
        }
        const std::string_view type = line.substr(0, 2);
        if (type == "S1" || type == "S2") {
            const std::optional<uint32_t> address = recordAddress(line, type == "S1" ? 4 : 6);
            if (!address) {
                result.failed = true;
                return result;
            }
            if (!slot.contains(*address)) {
                appendLine(result.output, line);
            } else if (bankPending) {
                result.output.append(bankRecords);
                for (qsizetype i = 0; i < bankLines; ++i) {
                    progress.setPosition(++position);
                }
                bankPending = false;
            }
        } else {
            if (type == "S9") {
                result.outcome = bankPending ? BankOutcome::NotInserted : BankOutcome::Inserted;
            }
            appendLine(result.output, line);
        }
    }
    return result;
}
