#include "shell/ProgramWindows.h"

#include "devicelink/UComPort.h"
#include "devicelink/UDateTime.h"
#include "firmware/ModifyFileSx.h"
#include "loggeddata/USelectCmd.h"
#include "loggeddata/UWaiting.h"
#include "loggeddata/U_Erase_Mem.h"
#include "projects/Upargen.h"
#include "projects/Usaveproj.h"
#include "shell/UAbout.h"

ProgramWindows::ProgramWindows(const ProgramPlaces& places, Prompts* prompts,
                               const ModbusLibrary& library)
    : FTessitoreFirmWare(places, prompts, library) {
    TFTessitoreFirmWare& main = FTessitoreFirmWare;
    Prompts& messages = main.prompts();
    Fsaveproj = std::make_unique<TFsaveproj>(main.settings(), messages, &main);
    FAbout = std::make_unique<TFAbout>(main.settings().ProgramFolder, &main);
    FModifyFileSx = std::make_unique<TFModifyFileSx>(&main, &messages);
    Fpargen = std::make_unique<TFpargen>(messages, &main);
    FDateTime = std::make_unique<TFDateTime>(main.comon(), messages, &main);
    FWaiting = std::make_unique<TFWaiting>(
        [&main] { return main.comon().CommAborted; }, &main,
        [&main](std::function<void()> work) { main.comon().whenIdle(std::move(work)); });
    FComPort = std::make_unique<TFComPort>(&main);
    FSelectCmd = std::make_unique<TFSelectCmd>(&main);
    F_Erase_Mem = std::make_unique<TF_Erase_Mem>(&main);

    Fsaveproj->saveCommunicationSettingsInto = [this](const QString& folder) {
        Fpargen->confirmInto(folder);
    };
    main.attachProjectDialogs(Fsaveproj.get(), Fpargen.get());
    main.attachAbout(FAbout.get());
    main.attachFirmwareWizard(FModifyFileSx.get());
    main.attachLinkDialogs(FComPort.get(), FDateTime.get());
    main.attachLoggedDataWindows(FWaiting.get(), FSelectCmd.get(), F_Erase_Mem.get());
}

ProgramWindows::~ProgramWindows() = default;
