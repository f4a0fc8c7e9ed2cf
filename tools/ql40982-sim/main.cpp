// ql40982-sim: a simulated QL40982 datalogger, a Modbus RTU slave on a pseudo-terminal.

#include "CommandTableWords.h"
#include "ControlChannel.h"
#include "Datalogger.h"
#include "FlashControl.h"
#include "ModbusServer.h"
#include "Options.h"
#include "OutputFiles.h"
#include "ProjectConfiguration.h"
#include "RuntimeControls.h"
#include "SRecordReader.h"
#include "SerialLine.h"

#include <sys/signalfd.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>

namespace {

int fail(const std::string& message) {
    std::cerr << "ql40982-sim: " << message << '\n';
    return 1;
}

std::optional<LoggerConfiguration> configurationFrom(const Options& options, std::string& error) {
    LoggerConfiguration configuration = demoConfiguration();
    if (!options.project.empty()) {
        const auto fromProject = configurationFromProject(options.project, configuration);
        if (!fromProject) {
            error = "no project folder " + options.project;
            return std::nullopt;
        }
        configuration = *fromProject;
    }
    if (!options.firmware.empty()) {
        auto fromFirmware =
            SRecordReader::configurationFromFirmware(options.firmware, configuration.timeout);
        if (const auto* failure = std::get_if<SRecordReader::Failure>(&fromFirmware)) {
            error = options.firmware + ": " + failure->message;
            return std::nullopt;
        }
        configuration = std::get<LoggerConfiguration>(fromFirmware);
    }
    if (!options.commandTable.empty()) {
        auto words = CommandTableWords::read(options.commandTable, error);
        if (!words) {
            return std::nullopt;
        }
        configuration.commands = CommandTableWords::entriesOf(*words);
        configuration.tableWords = std::move(*words);
    }
    if (!options.serial.empty()) {
        const auto withSerial = withSerialText(configuration, options.serial);
        if (!withSerial) {
            error = "bad --serial " + options.serial + " (expected T,B,P)";
            return std::nullopt;
        }
        // Given explicitly, the time-out stays; the codes follow the command line too.
        configuration = *withSerial;
    }
    return configuration;
}

// Answers the stand-in flash programmer and the tests on the control socket.
std::string controlCommand(Datalogger& logger, RuntimeControls& controls, const std::string& line) {
    const auto space = line.find(' ');
    const std::string verb = line.substr(0, space);
    const std::string argument = space == std::string::npos ? "" : line.substr(space + 1);
    if (auto answer = controls.command(verb, argument)) {
        return *answer;
    }
    if (auto answer = FlashControl::command(logger, verb, argument)) {
        return *answer;
    }
    if (verb == "program" && !argument.empty()) {
        auto configuration =
            SRecordReader::configurationFromFirmware(argument, logger.configuration().timeout);
        if (const auto* failure = std::get_if<SRecordReader::Failure>(&configuration)) {
            return "ERROR " + failure->message;
        }
        const auto& programmed = std::get<LoggerConfiguration>(configuration);
        logger.program(programmed);
        return "OK " + std::to_string(programmed.commands.size()) + " commands";
    }
    if (verb == "dump" && !argument.empty()) {
        return writeImage(argument, logger.flash().image()) ? "OK"
                                                            : "ERROR cannot write " + argument;
    }
    if (verb == "status") {
        return "OK state " + std::to_string(logger.runState());
    }
    return "ERROR unknown command: " + line;
}

}  // namespace

int main(int argc, char** argv) {
    const auto parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto* error = std::get_if<OptionError>(&parsed)) {
        std::cerr << "ql40982-sim: " << error->message << '\n' << UsageText;
        return 2;
    }
    const Options& options = std::get<Options>(parsed);
    if (options.help) {
        std::cout << UsageText;
        return 0;
    }

    // Stop signals are taken in the main loop, never in the middle of an answer.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    std::string error;
    const auto configuration = configurationFrom(options, error);
    if (!configuration) {
        return fail(error);
    }
    LoggerSettings settings;
    settings.configuration = *configuration;
    settings.configuration.cyclicalMemory = configuration->cyclicalMemory || options.cyclical;
    settings.periodSeconds = options.periodSeconds;
    settings.eraseSeconds = options.eraseSeconds;
    settings.markers = options.markers;
    settings.seed = options.seed;
    Datalogger logger(settings);

    RecordLog recordLog;
    if (!options.recordLog.empty() && !recordLog.open(options.recordLog)) {
        return fail("cannot write " + options.recordLog);
    }
    logger.onRecord([&recordLog](const LoggedRecord& record) { recordLog.append(record); });
    if (!options.flashImage.empty()) {
        std::vector<uint16_t> words;
        if (!FlashControl::readImage(options.flashImage, words, error)) {
            return fail(error);
        }
        logger.loadFlash(words);
    }
    const double start = hostNow();
    logger.prefill(options.prefillDays, options.prefillStepSeconds, start);
    if (options.running) {
        logger.startLogging(start);
    }
    if (!options.dumpImage.empty() && !writeImage(options.dumpImage, logger.flash().image())) {
        return fail("cannot write " + options.dumpImage);
    }

    auto line = options.device.empty() ? SerialLine::openPseudoTerminal(error)
                                       : SerialLine::openDevice(options.device, error);
    if (!line) {
        return fail(error);
    }
    RuntimeControls controls;
    for (const auto& [address, value] : options.forcedRegisters) {
        controls.overrides.set(address, value);
    }
    if (!options.requestLog.empty() && !controls.requests.open(options.requestLog)) {
        return fail("cannot write " + options.requestLog);
    }
    std::unique_ptr<ControlChannel> control;
    if (!options.control.empty()) {
        control = std::make_unique<ControlChannel>(
            options.control, [&logger, &controls](const std::string& command) {
                return controlCommand(logger, controls, command);
            });
        if (!control->listen(error)) {
            return fail(error);
        }
    }
    FaultPlan faults(options.faults);
    ModbusServer server(logger, faults, *line, controls);
    if (!server.ready()) {
        return fail("cannot set up the Modbus context");
    }
    if (!options.link.empty()) {
        unlink(options.link.c_str());
        if (symlink(line->path().c_str(), options.link.c_str()) != 0) {
            return fail("cannot link " + options.link + " to " + line->path());
        }
    }
    // The path alone on the first line, for scripts; the link is made before it is printed.
    std::cout << line->path() << std::endl;
    std::cerr << "ql40982-sim: slave 1 at 57600 8N1 on " << line->path()
              << (options.link.empty() ? "" : " (" + options.link + ")") << ", "
              << configuration->commands.size() << " commands\n";

    server.run(stopFd, control.get());

    if (!options.link.empty()) {
        unlink(options.link.c_str());
    }
    if (!options.dumpImage.empty()) {
        writeImage(options.dumpImage, logger.flash().image());
    }
    return 0;
}
