#include "devicelink/UComPort.h"

#include "devicelink/PortDevices.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFComPort::TFComPort(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FComPort"));
    setWindowTitle(QStringLiteral("Select Communicatio Port"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    auto* group = new QGroupBox(QStringLiteral("Serial Parameter"), this);
    auto* row = new QHBoxLayout(group);
    auto* label = new QLabel(QStringLiteral("&Port"), group);
    CB_Port = new QComboBox(group);
    for (int i = 0; i < PortCount; ++i) {
        CB_Port->addItem(QStringLiteral("Com%1").arg(i + 1));
    }
    CB_Port->setMinimumWidth(120);
    label->setBuddy(CB_Port);
    row->addWidget(label);
    row->addWidget(CB_Port, 1);

    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setDefault(true);
    B_Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The closed list shows the chosen entry's device too.
    connect(CB_Port, &QComboBox::currentIndexChanged, this, [this](int index) {
        CB_Port->setToolTip(CB_Port->itemData(index, Qt::ToolTipRole).toString());
    });
    connect(B_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<int> TFComPort::choose(int current, std::optional<int> heldPort) {
    describePorts(heldPort);
    CB_Port->setCurrentIndex(current);
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return CB_Port->currentIndex();
}

void TFComPort::describePorts(std::optional<int> heldPort) {
    for (int i = 0; i < PortCount; ++i) {
        const QString tip = heldPort == i ? PortDevices::heldByThisProgramTooltip(i)
                                          : PortDevices::tooltip(PortDevices::probe(i));
        CB_Port->setItemData(i, tip, Qt::ToolTipRole);
    }
    CB_Port->setToolTip(CB_Port->currentData(Qt::ToolTipRole).toString());
}
