// A stand-in for the flash programming tool the update wizard starts. It takes the wizard's one
// argument, checks the merged firmware and programs the simulated datalogger behind the port
// through the simulator's control socket, so that the simulator serves the new command table.
// A real datalogger it cannot program; it says so.

#include "FirmwareCheck.h"
#include "ProgrammerRequest.h"
#include "SimulatorControl.h"

#include <QApplication>
#include <QMessageBox>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

enum Status { Programmed = 0, Failed = 1, BadArgument = 2 };

bool displayAvailable() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform == "offscreen" || platform == "minimal") {
        return false;
    }
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Started from a window, the user may have no terminal: a small window tells it too.
Status report(Status status, const std::string& message, int argc, char* argv[]) {
    std::fprintf(status == Programmed ? stdout : stderr, "Burnix: %s\n", message.c_str());
    if (displayAvailable()) {
        QApplication application(argc, argv);
        const QString text = QString::fromStdString(message);
        if (status == Programmed) {
            QMessageBox::information(nullptr, QStringLiteral("Burnix"), text);
        } else {
            QMessageBox::warning(nullptr, QStringLiteral("Burnix"), text);
        }
    }
    return status;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::optional<ProgrammerRequest> request =
        argc == 2 ? parseProgrammerArgument(argv[1]) : std::nullopt;
    if (!request) {
        return report(BadArgument,
                      "usage: Burnix \"FIRMWARE.sx\"\xC2\xB6PORT (one argument, as the update "
                      "wizard gives it: the quoted file, the byte 0xB6, the port index)",
                      argc, argv);
    }
    char absolute[PATH_MAX];
    if (::realpath(request->firmware.c_str(), absolute) == nullptr) {
        return report(Failed, "cannot find the firmware " + request->firmware, argc, argv);
    }
    const std::string firmware = absolute;
    if (const std::string fault = checkFirmware(firmware); !fault.empty()) {
        return report(Failed, firmware + ": " + fault, argc, argv);
    }

    const std::string name = portName(request->portIndex);
    const std::string port = portPath(request->portIndex);
    const std::optional<std::string> control = controlSocketOf(port);
    if (!control) {
        return report(Failed,
                      name + " (" + port +
                          ") is not the simulated QL40982: this stand-in flash programmer can "
                          "only program the simulator (it finds it by its control socket " +
                          port + ".control)",
                      argc, argv);
    }
    if (firmware.find('\n') != std::string::npos) {
        return report(Failed, "the firmware's path holds a line feed", argc, argv);
    }
    const std::string answer = sendControlCommand(*control, "program " + firmware);
    if (answer.rfind("OK", 0) != 0) {
        return report(Failed, "the simulator on " + name + " refused: " + answer, argc, argv);
    }
    return report(
        Programmed,
        "programmed the simulated QL40982 on " + name + " with " + firmware + " (" + answer + ")",
        argc, argv);
}
