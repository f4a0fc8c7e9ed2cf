#include "CliWaitingWork.h"

#include "loggeddata/DownloadPace.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <csignal>
#include <cstdio>

namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
    interrupted = true;
}

}  // namespace

CliWaitingWork::CliWaitingWork() : terminal_(isatty(STDERR_FILENO) == 1) {
    interrupted = false;
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
}

CliWaitingWork::~CliWaitingWork() {
    if (lineOpen_) {
        std::fputc('\n', stderr);
    }
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

// The percentage goes out with the pages that follow it.
void CliWaitingWork::showProgress(const QString& text) {
    last_ = text;
}

void CliWaitingWork::showPages(int pagesRead, int pagesToRead) {
    if (!working_.isValid()) {
        working_.start();
    }
    const QString line =
        last_ + QStringLiteral("  ") +
        downloadPaceText(pagesRead, pagesToRead, std::chrono::milliseconds(working_.elapsed()));
    if (terminal_) {
        std::fprintf(stderr, "\r\033[K%s", qPrintable(line));
        lineOpen_ = true;
    } else {
        const int tenth = pagesToRead > 0 ? 10 * pagesRead / pagesToRead : 10;
        if (tenth == tenthShown_) {
            return;
        }
        tenthShown_ = tenth;
        std::fprintf(stderr, "%s\n", qPrintable(line));
    }
    std::fflush(stderr);
}

void CliWaitingWork::processEvents() {
    QCoreApplication::processEvents();
}

bool CliWaitingWork::abortRequested() const {
    return interrupted;
}

void CliWaitingWork::pause(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}
