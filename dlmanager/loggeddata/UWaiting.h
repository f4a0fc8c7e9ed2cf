#pragma once

#include "loggeddata/WaitingWork.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// The modal waiting window: the work of its mode (1 the memory download, 2 reading the command
// table back) starts a second after it shows, keeps it alive through WaitingWork, and ends it
// with 1 (done) or 2 (failed, aborted, or the link given up).
class TFWaiting : public QDialog, public WaitingWork {
    Q_OBJECT
public:
    enum Mode { Download = 1, ReadCommand = 2 };
    using Work = std::function<bool(WaitingWork&)>;

    // `commAborted` tells whether an earlier reopen of the port failed; then no work is begun.
    // `whenLinkIdle` runs the work once no transfer waits on the link (see Comon::whenIdle);
    // without it the work starts at once.
    using WhenLinkIdle = std::function<void(std::function<void()>)>;
    explicit TFWaiting(std::function<bool()> commAborted, QWidget* parent = nullptr,
                       WhenLinkIdle whenLinkIdle = {});

    // Shows the window modally running `work`; the modal result.
    int run(Mode mode, Work work);

    // WaitingWork
    void showProgress(const QString& text) override;
    void showPages(int pagesRead, int pagesToRead) override;
    void processEvents() override;
    bool abortRequested() const override { return abort_; }
    void pause(int milliseconds) override;

    QLabel* L_Head;
    QLabel* L_Mode;
    QLabel* L_Progress;
    QLabel* L_Pages;  // a download's pages and the time left
    QProgressBar* P_Progress;
    QPushButton* B_Abort;
    QTimer Timer_Start;  // one-shot, 1000 ms

public slots:
    void reject() override {}  // no way out but the work's end

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void startWork();

    std::function<bool()> commAborted_;
    WhenLinkIdle whenLinkIdle_;
    Mode mode_ = Download;
    Work work_;
    bool abort_ = false;
    bool finishing_ = false;
    QElapsedTimer working_;
};
