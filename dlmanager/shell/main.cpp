#include "base/ProgramFolders.h"
#include "shell/ProgramWindows.h"
#include "shell/TerminationSignals.h"
#include "widgets/WidgetStyle.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // No display name: the window system would append it to the main window's title.
    QApplication::setApplicationName(QStringLiteral("dlmanager"));
    // The installed menu entry, for desktops that match windows to it by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.vartelo.dlmanager"));
    WidgetStyle::apply(application);

    ProgramWindows windows(ProgramFolders::placesOfThisProgram());
    TFTessitoreFirmWare& FTessitoreFirmWare = windows.FTessitoreFirmWare;

    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &FTessitoreFirmWare,
                     &TFTessitoreFirmWare::closeOnSignal);

    FTessitoreFirmWare.show();
    return QApplication::exec();
}
