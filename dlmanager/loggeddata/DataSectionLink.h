#pragma once

#include <cstdint>

class Comon;

// What the Download Data section needs of the device link and its status poll.
class DataSectionLink {
public:
    virtual ~DataSectionLink() = default;

    virtual Comon& comon() = 0;
    // The link state is Connected.
    virtual bool connected() const = 0;
    // Writes a logger command; true when the device took it.
    virtual bool sendLoggerCommand(uint16_t command) = 0;

    virtual bool statusPollRunning() const = 0;
    virtual void startStatusPoll() = 0;
    virtual void stopStatusPoll() = 0;

    // An erase was sent: the status poll closes the wait window when the device reports run
    // or stop.
    virtual void setErasePending(bool pending) = 0;
};
