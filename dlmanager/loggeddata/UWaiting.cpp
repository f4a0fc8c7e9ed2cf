#include "loggeddata/UWaiting.h"

#include "loggeddata/DownloadPace.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace {

constexpr int StartDelayMs = 1000;

}  // namespace

TFWaiting::TFWaiting(std::function<bool()> commAborted, QWidget* parent, WhenLinkIdle whenLinkIdle)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      commAborted_(std::move(commAborted)),
      whenLinkIdle_(std::move(whenLinkIdle)) {
    setObjectName(QStringLiteral("FWaiting"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    L_Head = new QLabel(QStringLiteral("Waiting for data..."), this);
    QFont headFont = L_Head->font();
    headFont.setBold(true);
    L_Head->setFont(headFont);
    L_Mode = new QLabel(this);
    L_Progress = new QLabel(this);
    L_Pages = new QLabel(this);
    P_Progress = new QProgressBar(this);
    P_Progress->setTextVisible(false);
    B_Abort = new QPushButton(QStringLiteral("&Abort"), this);
    for (QLabel* label : {L_Head, L_Mode, L_Progress}) {
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    layout->addWidget(P_Progress);
    L_Pages->setAlignment(Qt::AlignCenter);
    layout->addWidget(L_Pages);
    layout->addWidget(B_Abort, 0, Qt::AlignCenter);
    setMinimumWidth(280);
    connect(B_Abort, &QPushButton::clicked, this, [this] { abort_ = true; });
    Timer_Start.setSingleShot(true);
    Timer_Start.setInterval(StartDelayMs);
    // The start may fall inside a status poll's transfer, where the work's own would be refused.
    connect(&Timer_Start, &QTimer::timeout, this, [this] {
        Timer_Start.stop();
        if (whenLinkIdle_) {
            whenLinkIdle_([this] { startWork(); });
        } else {
            startWork();
        }
    });
}

int TFWaiting::run(Mode mode, Work work) {
    mode_ = mode;
    work_ = std::move(work);
    finishing_ = false;
    const int result = exec();
    work_ = nullptr;
    return result;
}

void TFWaiting::showEvent(QShowEvent* event) {
    L_Mode->clear();
    L_Progress->clear();
    L_Pages->clear();
    P_Progress->setRange(0, 100);
    P_Progress->setValue(0);
    abort_ = false;
    Timer_Start.start();
    QDialog::showEvent(event);
}

void TFWaiting::closeEvent(QCloseEvent* event) {
    if (!finishing_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFWaiting::startWork() {
    Timer_Start.stop();
    bool succeeded = false;
    if (!commAborted_()) {
        L_Mode->setText(mode_ == Download ? QStringLiteral("Loading...")
                                          : QStringLiteral("Read Command"));
        // Reading the command table counts entries, with no end known beforehand.
        if (mode_ == ReadCommand) {
            P_Progress->setRange(0, 0);
        }
        working_.start();
        succeeded = work_ && work_(*this);
    }
    finishing_ = true;
    done(succeeded ? 1 : 2);
}

void TFWaiting::showProgress(const QString& text) {
    L_Progress->setText(text);
    if (mode_ == Download) {
        // "111 %" can happen at the end of a download; the bar stops at full.
        P_Progress->setValue(std::min(100, text.section(u' ', 0, 0).toInt()));
    }
}

void TFWaiting::showPages(int pagesRead, int pagesToRead) {
    L_Pages->setText(
        downloadPaceText(pagesRead, pagesToRead, std::chrono::milliseconds(working_.elapsed())));
}

void TFWaiting::processEvents() {
    QApplication::processEvents();
}

void TFWaiting::pause(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}
