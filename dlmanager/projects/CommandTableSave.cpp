#include "projects/CommandTableSave.h"

#include "base/Numbers.h"
#include "base/Prompts.h"
#include "projects/ProjectFiles.h"

namespace {

// A text that is not an integer counts as this, which every range refuses.
constexpr long long NotANumber = -100;

struct FieldRange {
    CommandField field;
    long long low;
    long long high;
    const char* message;
};

const FieldRange Ranges[] = {
    {AddressField, 0, 65535, "Value of range [0..65535] column Data Address "},
    {PointsField, 1, 127, "Value of range [1..127] column n° point "},
    {DecimalsField, 0, 5, "Value of range [0..5] column scale "},
};

long long numberIn(const QString& text) {
    return parseDecimal(text).value_or(NotANumber);
}

// Blanks alone are as good as nothing.
bool isSaved(const CommandRowTexts& row) {
    return !row[AddressField].trimmed().isEmpty();
}

// Any other text is kept as typed.
CommandRowTexts withoutBlankCells(CommandRowTexts row) {
    for (QString& text : row) {
        if (text.trimmed().isEmpty()) {
            text.clear();
        }
    }
    return row;
}

}  // namespace

QStringList commandRowProblems(const CommandRows& rows, bool firstOnly) {
    QStringList problems;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!isSaved(rows[i])) {
            continue;
        }
        for (const FieldRange& range : Ranges) {
            const long long value = numberIn(rows[i][range.field]);
            if (value < range.low || value > range.high) {
                problems << QString::fromUtf8(range.message) + QString::number(i + 1);
                break;
            }
        }
        if (firstOnly && !problems.isEmpty()) {
            break;
        }
    }
    return problems;
}

bool saveCommandTable(const CommandRows& rows, const QString& projectFolder, CommandList& commands,
                      Prompts& prompts) {
    const QStringList problems = commandRowProblems(rows, true);
    if (!problems.isEmpty()) {
        prompts.inform(problems.front());
        return false;
    }
    CommandRows saved;
    CommandList rebuilt;
    for (const CommandRowTexts& typed : rows) {
        if (!isSaved(typed)) {
            continue;  // the rows below move up: commands are numbered without gaps
        }
        const CommandRowTexts row = withoutBlankCells(typed);
        saved.push_back(row);
        rebuilt.push_back(
            Comandi{static_cast<uint16_t>(numberIn(row[AddressField])),
                    static_cast<uint8_t>(numberIn(row[PointsField])), row[DescriptionField], 1,
                    static_cast<uint8_t>(numberIn(row[DecimalsField])), row[UnitField]});
    }
    QString failure;
    if (!ProjectFiles::savedOrReported(
            ProjectFiles::saveCommandRows(projectFolder, saved, &failure), failure, prompts)) {
        return false;
    }
    commands = std::move(rebuilt);
    return true;
}
