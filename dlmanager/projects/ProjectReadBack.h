#pragma once

#include "base/ProgramSettings.h"
#include "devicelink/LinkState.h"
#include "projects/Comandi.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class CommandTable;
class Comon;
class Prompts;
class WaitingWork;

namespace ReadBackTexts {
inline const QString TempProject = QStringLiteral("Temp_prj");
inline const QString BinFolder = QStringLiteral("Bin");
inline const QString LoggerMissing = QStringLiteral("Error DataLogger not present");
inline const QString CommandListFailed = QStringLiteral("Error in download command list");
inline const QString SerialSettingsFailed = QStringLiteral("Error in download serial setting");
}  // namespace ReadBackTexts

// Rebuilding a project from the logger's command table and its serial settings registers.
namespace ReadBack {

inline constexpr int Attempts = 3;            // per transfer
inline constexpr int MaxEntries = 2731;       // entries 0..2730
inline constexpr uint16_t WordsPerEntry = 3;  // only the first two are read

// The waiting window's second mode: empties `commands`, then reads entry after entry until an
// entry whose first register is 0, or after entry 2730. Shows the count read after each entry and
// lets the interface breathe. False after three failed attempts on one entry or an Abort;
// `commands` then holds what was read before.
bool readCommandTable(Comon& comon, WaitingWork& work, CommandList& commands);

// Registers 110..112 (time-out, baud code, parity code), up to three attempts.
std::optional<std::array<uint16_t, 3>> readSerialSettings(Comon& comon);

// "Temp_prj" inside ProjectsFolder (an existing folder of that name in any spelling) becomes the
// current project; it and its "Bin" folder are made when missing. The settings file is not
// touched.
void makeTempProjectCurrent(ProgramSettings& settings);

// Whether the link lets a read-back start: Closed and Lost say why not, Connecting stops
// silently.
bool linkAllows(LinkState state, Prompts& prompts);

// Makes the folder and its "Bin" folder (an existing "bin" in any spelling serves).
void prepareProjectFolder(const QString& folder);

// What the read-back needs of the window around it.
class View {
public:
    virtual ~View() = default;
    // Runs readCommandTable in the waiting window; true when it ends with OK.
    virtual bool readCommandTableWaiting() = 0;
    // Shows the command editor's table, just filled, with its save bar.
    virtual void showCommandEditor() = 0;
};

struct Outcome {
    bool commandsRead = false;
    bool commandsSaved = false;
    bool serialSettingsSaved = false;
    bool succeeded() const { return commandsRead && commandsSaved && serialSettingsSaved; }
};

// Reads the project back into `projectFolder`: the command table through the view's waiting
// window, on success into the editor's table and saved by the editor's save; then the serial
// settings, written as "ParGen.Xml". Every failure is shown; the serial settings are read even
// when the command table was not.
Outcome readInto(const QString& projectFolder, CommandList& commands, CommandTable& table,
                 Comon& comon, Prompts& prompts, View& view);

}  // namespace ReadBack
