#include "devicelink/ConnectSection.h"

#include "devicelink/Comon.h"
#include "devicelink/LinkSupervisor.h"
#include "devicelink/UComPort.h"
#include "devicelink/UDateTime.h"
#include "widgets/SectionLayout.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QPushButton* actionButton(const QString& text, const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setToolTip(hint);
    button->setMinimumSize(210, 32);
    return button;
}

}  // namespace

ConnectSection::ConnectSection(LinkSupervisor& link, QWidget* parent)
    : QWidget(parent), link_(link) {
    setObjectName(QStringLiteral("P_Connect"));

    L_Title = SectionLayout::title(QStringLiteral("Connection of the RS232 port"), this);

    B_SetComPort = actionButton(QStringLiteral("Set Communication &Port"),
                                QStringLiteral("Connect software with datalogger"), this);
    B_ReadDateTime = actionButton(QStringLiteral("&Read Date Time"),
                                  QStringLiteral("Read the date in datalogger"), this);
    L_Con_Data = new QLabel(this);
    L_Con_Data->setMinimumWidth(200);
    B_SetDateTime = actionButton(QStringLiteral("Set Date T&ime"),
                                 QStringLiteral("Write the correct date in datalogger"), this);
    B_ClosePort = actionButton(QStringLiteral("C&lose Communication Port"),
                               QStringLiteral("Disconnect the software from datalogger"), this);
    CB_Start_Stop = new QCheckBox(QStringLiteral("Start and stop with Dip-S&witch"), this);
    CB_Cyclical_Mem = new QCheckBox(QStringLiteral("C&yclical Memory"), this);

    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(12);
    grid->addWidget(B_SetComPort, 0, 0);
    grid->addWidget(B_ReadDateTime, 1, 0);
    grid->addWidget(L_Con_Data, 1, 1);
    grid->addWidget(B_SetDateTime, 2, 0);
    grid->addWidget(B_ClosePort, 3, 0);
    grid->setColumnStretch(2, 1);

    QVBoxLayout* layout = SectionLayout::columnOf(this);
    layout->addWidget(L_Title);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addWidget(CB_Start_Stop);
    layout->addWidget(CB_Cyclical_Mem);
    layout->addStretch(1);

    Comon& comon = link.comon();
    connect(B_SetComPort, &QPushButton::clicked, this,
            whenLinkIdle(comon, [this] { setCommunicationPort(); }));
    connect(B_ReadDateTime, &QPushButton::clicked, &link,
            whenLinkIdle(comon, [&link] { link.readDateTime(); }));
    connect(&link, &LinkSupervisor::clockReadShown, L_Con_Data, &QLabel::setText);
    connect(B_SetDateTime, &QPushButton::clicked, this,
            whenLinkIdle(comon, [this] { setDateTime(); }));
    connect(B_ClosePort, &QPushButton::clicked, &link,
            whenLinkIdle(comon, [&link] { link.closeLink(); }));
    connect(&link, &LinkSupervisor::startStopOptionsChanged, this,
            [this](const ProjectFiles::StartStopOptions& options) {
                const QSignalBlocker quietStartStop(CB_Start_Stop);
                const QSignalBlocker quietCyclical(CB_Cyclical_Mem);
                CB_Start_Stop->setChecked(options.startStopWithDipSwitch);
                CB_Cyclical_Mem->setChecked(options.cyclicalMemory);
            });
    // Every change the user makes saves, by mouse, key or an assistive tool; showing the
    // loaded options does not.
    connect(CB_Start_Stop, &QCheckBox::toggled, this, &ConnectSection::saveOptions);
    connect(CB_Cyclical_Mem, &QCheckBox::toggled, this, &ConnectSection::saveOptions);
}

void ConnectSection::attachDialogs(TFComPort* portDialog, TFDateTime* clockDialog) {
    FComPort_ = portDialog;
    FDateTime_ = clockDialog;
}

void ConnectSection::setCommunicationPort() {
    if (FComPort_ == nullptr) {
        return;
    }
    link_.setCommunicationPort(
        [this](int current) { return FComPort_->choose(current, link_.comon().openPortNumber()); });
}

void ConnectSection::setDateTime() {
    link_.setDateTime([this] {
        if (FDateTime_ != nullptr) {
            FDateTime_->exec();
        }
    });
}

void ConnectSection::saveOptions() {
    link_.setStartStopOptions({CB_Start_Stop->isChecked(), CB_Cyclical_Mem->isChecked()});
}
