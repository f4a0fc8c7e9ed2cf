#pragma once

#include "loggeddata/WaitingWork.h"

#include <QElapsedTimer>

// The waiting window of the command line for a download: its percentage and pages on stderr,
// one line updated in place on a terminal, a line every tenth of the pages otherwise; Ctrl-C
// or SIGTERM as the Abort button.
class CliWaitingWork : public WaitingWork {
public:
    CliWaitingWork();
    ~CliWaitingWork() override;

    void showProgress(const QString& text) override;
    void showPages(int pagesRead, int pagesToRead) override;
    void processEvents() override;
    bool abortRequested() const override;
    void pause(int milliseconds) override;

private:
    QString last_;
    bool terminal_;
    bool lineOpen_ = false;  // a line updated in place waits for its end
    int tenthShown_ = -1;
    QElapsedTimer working_;
};
