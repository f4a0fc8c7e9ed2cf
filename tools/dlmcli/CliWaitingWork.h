#pragma once

#include "loggeddata/WaitingWork.h"

// The waiting window of the command line: progress lines on stderr (only when the text
// changes), and Ctrl-C or SIGTERM as the Abort button.
class CliWaitingWork : public WaitingWork {
public:
    CliWaitingWork();
    ~CliWaitingWork() override;

    void showProgress(const QString& text) override;
    void processEvents() override;
    bool abortRequested() const override;
    void pause(int milliseconds) override;

private:
    QString last_;
};
