#include "devicelink/UComPort.h"
#include "devicelink/UDateTime.h"
#include "projects/Upargen.h"
#include "projects/Usaveproj.h"
#include "shell/ProductTexts.h"
#include "shell/TerminationSignals.h"
#include "shell/UAbout.h"
#include "shell/UTessitoreFirmWare.h"

#include <QApplication>
#include <memory>

namespace {

// The windows made after the main window, in the order the program creates them; each is
// hidden until shown modally and reused for the whole run.
struct ModalWindows {
    explicit ModalWindows(TFTessitoreFirmWare& main)
        : Fsaveproj(std::make_unique<TFsaveproj>(main.settings(), main.prompts(), &main)),
          FAbout(std::make_unique<TFAbout>(&main)),
          Fpargen(std::make_unique<TFpargen>(main.prompts(), &main)),
          FDateTime(std::make_unique<TFDateTime>(main.comon(), main.prompts(), &main)),
          FComPort(std::make_unique<TFComPort>(&main)) {
        Fsaveproj->saveCommunicationSettingsInto = [this](const QString& folder) {
            Fpargen->confirmInto(folder);
        };
        main.attachProjectDialogs(Fsaveproj.get(), Fpargen.get());
        main.attachAbout(FAbout.get());
        main.attachLinkDialogs(FComPort.get(), FDateTime.get());
    }

    std::unique_ptr<TFsaveproj> Fsaveproj;
    std::unique_ptr<TFAbout> FAbout;
    std::unique_ptr<TFpargen> Fpargen;
    std::unique_ptr<TFDateTime> FDateTime;
    std::unique_ptr<TFComPort> FComPort;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // No display name: the window system would append it to the main window's title.
    QApplication::setApplicationName(QStringLiteral("dlmanager"));

    TFTessitoreFirmWare FTessitoreFirmWare(QCoreApplication::applicationDirPath());
    ModalWindows windows(FTessitoreFirmWare);

    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &FTessitoreFirmWare,
                     &TFTessitoreFirmWare::closeOnSignal);

    FTessitoreFirmWare.show();
    return QApplication::exec();
}
