#pragma once

#include "base/XmlDocument.h"
#include "projects/Comandi.h"
#include "projects/CommandRowTexts.h"

#include <QString>
#include <array>
#include <optional>

class Prompts;

// The three project files. Names inside the folder match without regard to case.
namespace ProjectFiles {

inline const QString CommandsFile = QStringLiteral("cmdmb.xml");
inline const QString SerialFile = QStringLiteral("pargen.xml");
inline const QString OptionsFile = QStringLiteral("DipCmd.xml");

// Loads cmdmb.xml of the folder. A missing file gives an empty list; a file that fails part way
// gives the entries read so far, the one being filled included with its later fields empty.
CommandList loadCommandList(const QString& projectFolder);

// The texts of every child of cmdmb.xml's root, in order (an absent attribute as an empty text);
// empty when the folder holds no cmdmb.xml, nothing when the file does not parse.
std::optional<CommandRows> loadCommandRows(const QString& projectFolder);

// Every saver writes the whole file in place of any spelling of its name already in the folder,
// and leaves no other spelling behind. WriteFailed sets `failure`, when given, to a message
// naming the file and the system's reason.
enum class SaveResult { Saved, ParserMissing, WriteFailed };

inline const QString ParserMissingText = QStringLiteral("Error XML parser not installed");

// True when saved; otherwise shows why not ("Error XML parser not installed", or `failure`).
bool savedOrReported(SaveResult result, const QString& failure, Prompts& prompts);

// cmdmb.xml: one `row` per command with dataaddress, npoint, scale, unita, description, each
// text exactly as given.
SaveResult saveCommandRows(const QString& projectFolder, const CommandRows& rows,
                           QString* failure = nullptr);
SaveResult saveCommandList(const QString& projectFolder, const CommandList& commands,
                           QString* failure = nullptr);

// pargen.xml as the communication settings dialog writes it ("Pargen.xml"): baudmodbus, parity,
// id_dev.
struct SerialParameters {
    int baudCode = 0;    // 0..7: 1200 ... 115200; -1 for none chosen
    int parityCode = 0;  // 0 none, 1 even, 2 odd; -1 for none chosen
    int deviceId = 1;
};
SaveResult saveSerialParameters(const QString& projectFolder, const SerialParameters& parameters,
                                QString* failure = nullptr);

// pargen.xml as the device read-back writes it ("ParGen.Xml"): timeoutmb, baudmodbus, parity
// holding the device's registers 110, 111 and 112.
SaveResult saveReadBackSerialRegisters(const QString& projectFolder,
                                       const std::array<int, 3>& registers110To112,
                                       QString* failure = nullptr);

// The three values of pargen.xml: the element that holds each, the dialog's name for it and
// its range.
struct SerialValue {
    const char* element;
    const char* label;
    int maximum;  // the range is 0..maximum
};
inline constexpr SerialValue SerialValues[3] = {
    {"baudmodbus", "Baudrate", 7}, {"parity", "Parity", 2}, {"id_dev", "DevID", 255}};

// The elements of pargen.xml's root that hold the three values, in the order of SerialValues.
// Found by name when the file names any of them, as the dialog and the read-back write it (the
// read-back's timeoutmb is no setting and is passed over); by position (first, second, third
// child) in files whose elements are named otherwise. A value the file lacks is a null handle.
std::array<XmlElement, 3> serialValueElements(const XmlElement& root);

// What keeps value `index` (of SerialValues) of pargen.xml from being used, in words for a
// message ("no DevID (id_dev)", "the Parity (parity) 3 is outside 0..2"); nothing when the
// element holds an integer and, with `checkRange`, one inside the value's range.
std::optional<QString> serialValueProblem(const XmlElement& element, int index, bool checkRange);
// The value an element holds when serialValueProblem finds nothing wrong with it.
std::optional<long long> serialValue(const XmlElement& element);

// pargen.xml read through serialValueElements; nothing when the file is missing, does not
// parse or a value is missing or not an integer.
std::optional<SerialParameters> loadSerialParameters(const QString& projectFolder);

// DipCmd.xml: the two start/stop options.
struct StartStopOptions {
    bool startStopWithDipSwitch = false;
    bool cyclicalMemory = false;
};
SaveResult saveStartStopOptions(const QString& projectFolder, const StartStopOptions& options,
                                QString* failure = nullptr);

// What DipCmd.xml holds, found by element name: an option is 1 (on), another integer (off), or
// unknown when the file does not parse or the element is missing or not an integer. An unknown
// Start_Stop makes both unknown, so the caller keeps what it shows.
struct StoredStartStopOptions {
    std::optional<bool> startStopWithDipSwitch;
    std::optional<bool> cyclicalMemory;
};
// Nothing when the folder holds no DipCmd.xml.
std::optional<StoredStartStopOptions> loadStartStopOptions(const QString& projectFolder);

}  // namespace ProjectFiles
