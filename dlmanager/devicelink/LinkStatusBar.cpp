#include "devicelink/LinkStatusBar.h"

#include "devicelink/Comon.h"

#include "devicelink/LinkSupervisor.h"
#include "widgets/Lamp.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

LinkStatusBar::LinkStatusBar(LinkSupervisor& link, QWidget* parent) : QWidget(parent), link_(link) {
    setObjectName(QStringLiteral("StatusBar"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral(
        "QWidget#StatusBar { background: #EEECD5; border-top: 1px solid #C8C4A0; }"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 5, 10, 5);
    layout->setSpacing(8);

    Stato_Com = new Lamp(this, Lamp::Shape::Circle);
    Stato_Com->setColour(link.linkLamp());
    Stato_Com->installEventFilter(this);
    Stato_Com->setAccessibleName(QStringLiteral("Link"));
    showLinkState(link.linkState());
    L_Data = new QLabel(this);
    L_Data->setAccessibleName(QStringLiteral("Datalogger date and time"));
    // Room for the longest texts, so that the lamp beside does not move as they change, and no
    // more: on a small or highly scaled screen the bar must still fit.
    L_Data->setMinimumWidth(
        L_Data->fontMetrics().horizontalAdvance(QStringLiteral("28 Sep 2088 28:58:58 PM")) + 8);
    S_Stato_DL = new Lamp(this, Lamp::Shape::RoundedSquare);
    S_Stato_DL->setAccessibleName(QStringLiteral("Datalogger"));
    L_Stato = new QLabel(this);
    L_Stato->setMinimumWidth(
        L_Stato->fontMetrics().horizontalAdvance(QStringLiteral("Erase Memory")) + 8);
    B_Run = new QPushButton(QStringLiteral("R&UN"), this);
    B_Run->setToolTip(QStringLiteral("Datalogger start to save data"));
    B_Stop = new QPushButton(QStringLiteral("S&TOP"), this);
    B_Stop->setToolTip(QStringLiteral("Datalogger stop to save data"));
    for (QPushButton* button : {B_Run, B_Stop}) {
        button->setMinimumWidth(70);
        button->setEnabled(link.runStopEnabled());
    }

    layout->addWidget(Stato_Com);
    layout->addWidget(L_Data);
    layout->addSpacing(12);
    layout->addWidget(S_Stato_DL);
    layout->addWidget(L_Stato);
    layout->addStretch(1);
    layout->addWidget(B_Run);
    layout->addWidget(B_Stop);

    connect(&link, &LinkSupervisor::linkLampChanged, Stato_Com, &Lamp::setColour);
    connect(&link, &LinkSupervisor::linkStateChanged, this, &LinkStatusBar::showLinkState);
    connect(&link, &LinkSupervisor::deviceClockShown, L_Data, &QLabel::setText);
    connect(&link, &LinkSupervisor::runStateShown, this,
            [this](LampColour lamp, const QString& hint, const QString& text) {
                S_Stato_DL->setColour(lamp);
                S_Stato_DL->setToolTip(hint);
                S_Stato_DL->setAccessibleDescription(
                    QStringLiteral("Datalogger: %1")
                        .arg(text.isEmpty() ? QStringLiteral("unknown") : text));
                L_Stato->setText(text);
            });
    connect(&link, &LinkSupervisor::runStopEnabledChanged, B_Run, &QWidget::setEnabled);
    connect(&link, &LinkSupervisor::runStopEnabledChanged, B_Stop, &QWidget::setEnabled);
    connect(B_Run, &QPushButton::clicked, &link,
            whenLinkIdle(link.comon(), [&link] { link.run(); }));
    connect(B_Stop, &QPushButton::clicked, &link,
            whenLinkIdle(link.comon(), [&link] { link.stop(); }));
}

void LinkStatusBar::showLinkState(LinkState state) {
    // The lamp's colour in words, for screen readers.
    static const char* const words[] = {"Closed", "Lost", "Connected", "Connecting"};
    Stato_Com->setAccessibleDescription(QStringLiteral("Link: %1").arg(words[int(state)]));
}

bool LinkStatusBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Stato_Com && event->type() == QEvent::ToolTip) {
        Stato_Com->setToolTip(link_.linkLampHint());
    }
    return QWidget::eventFilter(watched, event);
}
