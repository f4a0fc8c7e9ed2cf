#include "projects/Upargen.h"

#include "firmware/FirmwareVariant.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

TFpargen::TFpargen(Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Tool), prompts_(prompts) {
    setObjectName(QStringLiteral("Fpargen"));
    setWindowTitle(CommTexts::Title);
    setModal(true);

    G_Serial = new QGroupBox(QStringLiteral(" Serial interface parameter [485] "), this);
    CB_Baudrate = new QComboBox(G_Serial);
    CB_Baudrate->addItems(CommTexts::BaudTexts);
    CB_Parity = new QComboBox(G_Serial);
    CB_Parity->addItems(CommTexts::ParityTexts);
    SE_DevID = new QSpinBox(G_Serial);
    SE_DevID->setRange(0, CommTexts::DeviceIdMax);
    auto* form = new QFormLayout(G_Serial);
    form->addRow(QStringLiteral("&Baudrate"), CB_Baudrate);
    form->addRow(QStringLiteral("&Parity"), CB_Parity);
    form->addRow(QStringLiteral("&DevID"), SE_DevID);
    showFields(CommFields{});

    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setDefault(true);
    B_Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(B_OK, &QPushButton::clicked, this, [this] {
        if (confirmInto(projectFolder_)) {
            accept();
        }
    });
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(G_Serial);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int TFpargen::execFor(const QString& projectFolder) {
    projectFolder_ = projectFolder;
    G_Serial->setVisible(FirmwareVariant == 3);
    CommFields shown = fields();
    loadCommFields(projectFolder, shown, prompts_);
    showFields(shown);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    B_OK->setFocus();
    return exec();
}

bool TFpargen::confirmInto(const QString& projectFolder) {
    return saveCommFields(projectFolder, fields(), prompts_);
}

CommFields TFpargen::fields() const {
    return {CB_Baudrate->currentIndex(), CB_Parity->currentIndex(), SE_DevID->value()};
}

void TFpargen::showFields(const CommFields& fields) {
    CB_Baudrate->setCurrentIndex(fields.baudIndex);
    CB_Parity->setCurrentIndex(fields.parityIndex);
    SE_DevID->setValue(fields.deviceId);
}
