#include "loggeddata/U_Erase_Mem.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

TF_Erase_Mem::TF_Erase_Mem(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("F_Erase_Mem"));
    setWindowTitle(QStringLiteral("Wait for Erase Memory"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    L_Wait = new QLabel(QStringLiteral("Wait for Erase Memory..."), this);
    L_Wait->setAlignment(Qt::AlignCenter);
    PB_Erase = new QProgressBar(this);
    PB_Erase->setRange(0, 10);
    PB_Erase->setTextVisible(false);
    layout->addWidget(L_Wait);
    layout->addWidget(PB_Erase);
    setMinimumWidth(280);
    Timer_Erase.setInterval(StepMs);
    connect(&Timer_Erase, &QTimer::timeout, this,
            [this] { PB_Erase->setValue(std::min(PB_Erase->maximum(), PB_Erase->value() + 1)); });
}

void TF_Erase_Mem::finish() {
    finishing_ = true;
    accept();
    finishing_ = false;
}

void TF_Erase_Mem::showEvent(QShowEvent* event) {
    PB_Erase->setValue(0);
    Timer_Erase.start();
    QDialog::showEvent(event);
}

void TF_Erase_Mem::hideEvent(QHideEvent* event) {
    Timer_Erase.stop();
    QDialog::hideEvent(event);
}

void TF_Erase_Mem::closeEvent(QCloseEvent* event) {
    if (!finishing_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
