#include "CliWaitingWork.h"

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

CliWaitingWork::CliWaitingWork() {
    interrupted = false;
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
}

CliWaitingWork::~CliWaitingWork() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

void CliWaitingWork::showProgress(const QString& text) {
    if (text == last_) {
        return;
    }
    last_ = text;
    std::fprintf(stderr, "%s\n", qPrintable(text));
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
