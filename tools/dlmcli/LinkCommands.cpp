#include "CliPrompts.h"
#include "DeviceLink.h"
#include "Subcommands.h"
#include "devicelink/ClockEntry.h"
#include "devicelink/LoggerClock.h"
#include "devicelink/RegisterMap.h"

#include <QDateTime>
#include <cstdio>

// The link subcommands: what the status bar and the Connect section do, for scripts and for
// technicians without a display. Results on stdout, one line each; messages on stderr.
namespace {

// Parses "--port N" and nothing else, opens the link and runs `work` on it; `work` says whether
// what it read made sense.
template <typename Work>
int withLink(QStringList arguments, const QString& usage, CliPrompts& prompts, Work work) {
    const auto port = takePortArgument(arguments, usage, prompts);
    if (!port || !arguments.isEmpty()) {
        if (port) {
            prompts.inform(QStringLiteral("usage: dlmcli ") + usage);
        }
        return 2;
    }
    DeviceLink link(prompts, *port);
    if (!link.open()) {
        return 1;
    }
    const bool understood = work(link.comon(), prompts);
    return understood ? link.exitStatus() : 1;
}

QString registersText(const LoggerClock::Registers& registers) {
    QStringList words;
    for (const uint16_t word : registers) {
        words << QString::number(word);
    }
    return words.join(u' ');
}

void printClock(Comon& comon, CliPrompts& prompts) {
    const LoggerClock::Reading reading = LoggerClock::read(comon);
    if (reading.result != 1) {
        prompts.inform(QStringLiteral("The clock could not be read"));
    } else if (!reading.dateTime) {
        std::printf("clock not valid: %s\n", qPrintable(registersText(reading.registers)));
    } else {
        std::printf("clock %s\n",
                    qPrintable(reading.dateTime->toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))));
    }
}

// False for a state the program does not know.
bool printRunState(Comon& comon, CliPrompts& prompts) {
    uint16_t status = 0;
    if (comon.ReadRegisters(RegisterMap::LoggerNode, RegisterMap::StatusRegister, 1, &status) !=
        1) {
        prompts.inform(QStringLiteral("The run state could not be read"));
        return true;
    }
    switch (status) {
        case RegisterMap::StatusRun:
            std::printf("state RUN\n");
            break;
        case RegisterMap::StatusStop:
            std::printf("state STOP\n");
            break;
        case RegisterMap::StatusErasing:
            std::printf("state Erase Memory\n");
            break;
        default:
            std::printf("state %u (unknown)\n", unsigned(status));
            return false;
    }
    return true;
}

void sendCommand(Comon& comon, CliPrompts& prompts, uint16_t command) {
    if (comon.WriteRegister(RegisterMap::LoggerNode, RegisterMap::CommandRegister, command) != 1) {
        prompts.inform(QStringLiteral("The logger did not take the command"));
    }
}

int setClock(QStringList arguments, CliPrompts& prompts) {
    const QString usage = QStringLiteral("clock set --port N [now | DD MM YY hh mm ss]");
    const auto port = takePortArgument(arguments, usage, prompts);
    if (!port) {
        return 2;
    }
    ClockEntry::Fields fields;
    if (arguments.isEmpty() || arguments == QStringList{QStringLiteral("now")}) {
        fields = ClockEntry::proposedFields(QDateTime::currentDateTime());
    } else if (arguments.size() == qsizetype(fields.size())) {
        std::copy(arguments.begin(), arguments.end(), fields.begin());
    } else {
        prompts.inform(QStringLiteral("usage: dlmcli ") + usage);
        return 2;
    }
    const ClockEntry::Checked checked = ClockEntry::check(fields);
    if (!checked.error.isEmpty()) {
        prompts.inform(checked.error);
        return 1;
    }
    DeviceLink link(prompts, *port);
    if (!link.open()) {
        return 1;
    }
    if (const int failed = ClockEntry::write(link.comon(), checked.values)) {
        prompts.inform(QStringLiteral("%1 of the clock's 7 writes failed").arg(failed));
    }
    return link.exitStatus();
}

}  // namespace

int runStatus(const QStringList& arguments, CliPrompts& prompts) {
    return withLink(arguments, QStringLiteral("status --port N"), prompts,
                    [](Comon& comon, CliPrompts& prompts) {
                        printClock(comon, prompts);
                        return printRunState(comon, prompts);
                    });
}

int runRun(const QStringList& arguments, CliPrompts& prompts) {
    return withLink(arguments, QStringLiteral("run --port N"), prompts,
                    [](Comon& comon, CliPrompts& prompts) {
                        sendCommand(comon, prompts, RegisterMap::RunCommand);
                        return true;
                    });
}

int runStop(const QStringList& arguments, CliPrompts& prompts) {
    return withLink(arguments, QStringLiteral("stop --port N"), prompts,
                    [](Comon& comon, CliPrompts& prompts) {
                        sendCommand(comon, prompts, RegisterMap::StopCommand);
                        return true;
                    });
}

int runClock(const QStringList& arguments, CliPrompts& prompts) {
    if (!arguments.isEmpty() && arguments.front() == QStringLiteral("set")) {
        return setClock(arguments.mid(1), prompts);
    }
    return withLink(arguments, QStringLiteral("clock --port N"), prompts,
                    [](Comon& comon, CliPrompts& prompts) {
                        printClock(comon, prompts);
                        return true;
                    });
}
