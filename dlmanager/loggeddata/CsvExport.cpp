#include "loggeddata/CsvExport.h"

#include "base/LocaleCodeSet.h"
#include "base/WholeFile.h"
#include "loggeddata/SampleTable.h"
#include "loggeddata/SampleTimeTexts.h"

namespace {

const QString Header = QStringLiteral("Description;Date;Time;Data Address;N° Point;Data;");
const QString StopRow = QStringLiteral("STOP FROM HARDWARE;");
const QString StartRow = QStringLiteral("START FROM HARDWARE;");

}  // namespace

namespace CsvExport {

QByteArray build(const SampleTable& table, const CommandList& commands, DisplayBase base,
                 SampleTimeTexts& texts) {
    QString line;
    QByteArray bytes;
    bytes.reserve(64 * (table.size() + 1));
    LocaleEncoder encoder;
    const auto endLine = [&] {
        line += QStringLiteral("\r\n");
        encoder.append(bytes, line);
        line.clear();
    };
    line = Header;
    endLine();
    const QChar separator = texts.decimalSeparator();
    for (int i = 0; i <= table.LastSampleIndex(); ++i) {
        const TDati_DL& sample = table[i];
        const auto stamp = [&] {
            line += texts.date(sample.date) + u';' + texts.time(sample.date) + u';';
        };
        if (isMarker(sample.command)) {
            line = sample.command == HardwareStopMarker ? StopRow : StartRow;
            stamp();
            endLine();
            continue;
        }
        if (sample.command < 0 || size_t(sample.command) >= commands.size()) {
            continue;
        }
        const Comandi& command = commands[size_t(sample.command)];
        if (!command.Visible) {
            continue;
        }
        line = command.Description + u';';
        stamp();
        line += QString::number(command.DataAddress) + u';' + QString::number(command.PointCount) +
                u';';
        for (const uint16_t value : table.datas(i)) {
            line += renderValue(value, command, base, separator) + u' ' + command.Unit + u';';
        }
        endLine();
    }
    return bytes;
}

bool write(const QString& path, const SampleTable& table, const CommandList& commands,
           DisplayBase base, SampleTimeTexts& texts, QString* failure) {
    QString reason;
    if (!writeFileWhole(path, build(table, commands, base, texts), &reason)) {
        if (failure) {
            *failure = writeFailureText(path, reason);
        }
        return false;
    }
    return true;
}

}  // namespace CsvExport
