#pragma once

#include "devicelink/LinkState.h"

#include <QWidget>

class Lamp;
class LinkSupervisor;
class QLabel;
class QPushButton;

// The main window's status bar: the link lamp, the logger's date and time, its run state and
// the RUN and STOP buttons, bound to the link supervision.
class LinkStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit LinkStatusBar(LinkSupervisor& link, QWidget* parent = nullptr);

    Lamp* Stato_Com;
    QLabel* L_Data;
    Lamp* S_Stato_DL;
    QLabel* L_Stato;
    QPushButton* B_Run;
    QPushButton* B_Stop;

protected:
    // The link lamp's tooltip is made when it is asked for: the counts change with every transfer.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showLinkState(LinkState state);
    LinkSupervisor& link_;
};
