#include "CliProgramFolder.h"
#include "CliPrompts.h"
#include "DeviceLink.h"
#include "Subcommands.h"
#include "base/FolderLookup.h"
#include "devicelink/Comon.h"
#include "loggeddata/WaitingWork.h"
#include "projects/CommandTable.h"
#include "projects/ProjectReadBack.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <cstdio>

namespace {

// No window to wait in: the count goes to stderr once at the end, nothing can abort.
class CliWork : public WaitingWork {
public:
    QString last;
    void showProgress(const QString& text) override { last = text; }
    void processEvents() override { QCoreApplication::processEvents(); }
    bool abortRequested() const override { return false; }
    void pause(int milliseconds) override { QThread::msleep(milliseconds); }
};

class CliReadBackView : public ReadBack::View {
public:
    CliReadBackView(Comon& comon, CommandList& commands) : comon_(comon), commands_(commands) {}
    bool readCommandTableWaiting() override {
        const bool read = ReadBack::readCommandTable(comon_, work_, commands_);
        std::fprintf(stderr, "%s commands read\n", qPrintable(work_.last));
        return read;
    }
    void showCommandEditor() override {}

private:
    Comon& comon_;
    CommandList& commands_;
    CliWork work_;
};

}  // namespace

// Reads the command table and the serial settings back from the logger on a port, into a
// project folder, as "Download Project" does.
int runReadBack(const QStringList& arguments, CliPrompts& prompts) {
    const QString usage = QStringLiteral("readback --port N [--into DIR]");
    QStringList rest = arguments;
    const auto port = takePortArgument(rest, usage, prompts);
    if (!port) {
        return 2;
    }
    QString folder;
    if (rest.size() == 2 && rest[0] == QLatin1String("--into")) {
        folder = rest[1];
    } else if (!rest.isEmpty()) {
        prompts.inform(QStringLiteral("usage: dlmcli ") + usage);
        return 2;
    } else {
        folder = pathInFolder(preparedProgramFolders().ProjectsFolder, ReadBackTexts::TempProject);
    }
    DeviceLink link(prompts, *port);
    if (!link.open()) {
        return 1;
    }
    // Only once there is a logger to read from.
    ReadBack::prepareProjectFolder(folder);
    if (!QDir(folder).exists()) {
        prompts.inform(QStringLiteral("Cannot make the folder ") + folder);
        return 1;
    }
    CommandList commands;
    CommandTable table;
    CliReadBackView view(link.comon(), commands);
    const ReadBack::Outcome outcome =
        ReadBack::readInto(folder, commands, table, link.comon(), prompts, view);
    std::printf("%s\n", qPrintable(QDir::toNativeSeparators(folder)));
    // A retried transfer is no failure here: the outcome tells.
    return outcome.succeeded() ? 0 : 1;
}
