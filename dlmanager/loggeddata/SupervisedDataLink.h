#pragma once

#include "devicelink/LinkSupervisor.h"
#include "loggeddata/DataSectionLink.h"

// The Download Data section's view of the program's link supervision.
class SupervisedDataLink : public DataSectionLink {
public:
    explicit SupervisedDataLink(LinkSupervisor& link) : link_(link) {}

    Comon& comon() override { return link_.comon(); }
    bool connected() const override { return link_.isConnected(); }
    bool sendLoggerCommand(uint16_t command) override { return link_.SendLoggerCommand(command); }
    bool statusPollRunning() const override { return link_.Timer_Com.isActive(); }
    void startStatusPoll() override { link_.Timer_Com.start(); }
    void stopStatusPoll() override { link_.Timer_Com.stop(); }
    void setErasePending(bool pending) override { link_.ErasePending = pending; }

private:
    LinkSupervisor& link_;
};
