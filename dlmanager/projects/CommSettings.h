#pragma once

#include <QString>
#include <QStringList>

class Prompts;

// The fields of the communication settings dialog: the datalogger's RS-485 interface as
// pargen.xml stores it. The dialog keeps them from one opening to the next.
struct CommFields {
    int baudIndex = 0;    // position in BaudTexts; -1 when nothing is selected
    int parityIndex = 0;  // position in ParityTexts; -1 when nothing is selected
    int deviceId = 1;     // 0..255
};

namespace CommTexts {
inline const QString Title = QStringLiteral("SET COMUNICATION");
inline const QString NotPresent = QStringLiteral("not present parameters");
inline const QString ReadError = QStringLiteral("Error in reading file XML");
inline const QStringList BaudTexts = {"1200",  "2400",  "4800",  "9600",
                                      "19200", "38400", "57600", "115200"};
inline const QStringList ParityTexts = {"NO PARITY", "EVEN", "ODD"};
inline constexpr int DeviceIdMax = 255;
}  // namespace CommTexts

// Loads pargen.xml of the folder into the fields, its values found as
// ProjectFiles::serialValueElements finds them. A missing file says so and keeps the fields; a
// damaged one says so, naming the value it could not read, and keeps what was set before it. A
// list position outside the list selects nothing; a device id outside 0..255 is brought to the
// nearer limit.
void loadCommFields(const QString& projectFolder, CommFields& fields, Prompts& prompts);

// Writes the fields as "Pargen.xml"; false, after saying why, when nothing was written.
bool saveCommFields(const QString& projectFolder, const CommFields& fields, Prompts& prompts);
