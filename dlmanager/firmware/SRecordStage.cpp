#include "firmware/SRecordStage.h"

#include <optional>
#include <string_view>
#include <vector>

namespace {

// A line without its line end: LF, CR LF or CR alone.
struct LineCursor {
    const char* next;
    const char* end;

    bool atEnd() const { return next == end; }

    std::string_view take() {
        const char* stop = next;
        while (stop != end && *stop != '\n' && *stop != '\r') {
            ++stop;
        }
        std::string_view line(next, stop - next);
        next = stop;
        if (next != end && *next++ == '\r' && next != end && *next == '\n') {
            ++next;
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

// The record-count record for `count` data records: S5 with a 16-bit count, S6 beyond it.
QByteArray countRecord(qsizetype count) {
    const bool wide = count > 0xFFFF;
    const int countBytes = wide ? 3 : 2;
    unsigned sum = unsigned(countBytes + 1);
    QByteArray line = wide ? "S6" : "S5";
    line += QByteArray::number(countBytes + 1, 16).rightJustified(2, '0');
    for (int i = countBytes - 1; i >= 0; --i) {
        const unsigned byte = unsigned(count >> (8 * i)) & 0xFF;
        sum += byte;
        line += QByteArray::number(byte, 16).rightJustified(2, '0');
    }
    line += QByteArray::number(~sum & 0xFF, 16).rightJustified(2, '0');
    return line.toUpper();
}

// A copied count would no longer match once the window's records were replaced, and tools
// that check it reject the file; so every count record states what was written.
void restateRecordCounts(QByteArray& out, const std::vector<qsizetype>& countLines,
                         qsizetype dataRecords) {
    const QByteArray record = countRecord(dataRecords);
    for (auto it = countLines.rbegin(); it != countLines.rend(); ++it) {
        const qsizetype end = out.indexOf("\r\n", *it);
        out.replace(*it, end - *it, record);
    }
}

}  // namespace

qsizetype countSRecordLines(const QByteArray& text) {
    qsizetype lines = 0;
    LineCursor cursor{text.constData(), text.constData() + text.size()};
    while (!cursor.atEnd()) {
        cursor.take();
        ++lines;
    }
    return lines;
}

StageResult mergeBankIntoRecords(const QByteArray& source, const QByteArray& bankRecords,
                                 const BankSlot& slot, MergeProgress& progress) {
    StageResult result;
    // Room for the source with CR LF ends and the bank; dropped records make up for the rest.
    result.output.reserve(source.size() + source.size() / 32 + bankRecords.size());
    const qsizetype bankLines = countSRecordLines(bankRecords);

    int position = 0;
    bool bankPending = true;
    qsizetype dataRecords = 0;
    std::vector<qsizetype> countLines;  // where S5 records stand in the output
    LineCursor lines{source.constData(), source.constData() + source.size()};
    while (!lines.atEnd()) {
        const std::string_view line = lines.take();
        progress.setPosition(++position);
        if (line.empty()) {
            result.failed = true;
            break;
        }
        const std::string_view type = line.substr(0, 2);
        if (type == "S1" || type == "S2") {
            const std::optional<uint32_t> address = recordAddress(line, type == "S1" ? 4 : 6);
            if (!address) {
                result.failed = true;
                break;
            }
            if (!slot.contains(*address)) {
                appendLine(result.output, line);
                ++dataRecords;
            } else if (bankPending) {
                result.output.append(bankRecords);
                dataRecords += bankLines;
                for (qsizetype i = 0; i < bankLines; ++i) {
                    progress.setPosition(++position);
                }
                bankPending = false;
            }
        } else {
            if (type == "S9") {
                result.outcome = bankPending ? BankOutcome::NotInserted : BankOutcome::Inserted;
            } else if (type == "S5") {
                countLines.push_back(result.output.size());
            } else if (type == "S3") {
                ++dataRecords;
            }
            appendLine(result.output, line);
        }
    }
    restateRecordCounts(result.output, countLines, dataRecords);
    return result;
}
