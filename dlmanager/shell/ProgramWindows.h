#pragma once

#include "shell/UTessitoreFirmWare.h"

#include <memory>

// Every window of the program, each made once and reused for the whole run. The main window
// comes first: its creation step runs before any other window exists. The modal windows follow
// in the order below, each hidden until it is shown modally.
class ProgramWindows {
public:
    // Messages go through `prompts` when given (tests), else through the toolkit's boxes; the
    // device is reached through `library`.
    explicit ProgramWindows(const ProgramPlaces& places, Prompts* prompts = nullptr,
                            const ModbusLibrary& library = boundModbusLibrary());
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    TFTessitoreFirmWare FTessitoreFirmWare;
    std::unique_ptr<TFsaveproj> Fsaveproj;
    std::unique_ptr<TFAbout> FAbout;
    std::unique_ptr<TFModifyFileSx> FModifyFileSx;
    std::unique_ptr<TFpargen> Fpargen;
    std::unique_ptr<TFDateTime> FDateTime;
    std::unique_ptr<TFWaiting> FWaiting;
    std::unique_ptr<TFComPort> FComPort;
    std::unique_ptr<TFSelectCmd> FSelectCmd;
    std::unique_ptr<TF_Erase_Mem> F_Erase_Mem;
};
