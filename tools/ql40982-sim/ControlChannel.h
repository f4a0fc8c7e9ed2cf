#pragma once

#include <functional>
#include <string>

// A Unix stream socket that takes one text command per connection, such as
// "program FILE", and answers with one line starting "OK" or "ERROR".
class ControlChannel {
public:
    using Handler = std::function<std::string(const std::string& command)>;

    ControlChannel(std::string path, Handler handler)
        : path_(std::move(path)), handler_(std::move(handler)) {}
    ~ControlChannel();
    ControlChannel(const ControlChannel&) = delete;
    ControlChannel& operator=(const ControlChannel&) = delete;

    bool listen(std::string& error);
    int fd() const { return fd_; }
    // Serves one waiting connection.
    void serve();

private:
    std::string path_;
    Handler handler_;
    int fd_ = -1;
};
