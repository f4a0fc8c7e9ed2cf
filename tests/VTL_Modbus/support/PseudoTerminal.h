#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A pseudo-terminal whose slave side stands in for a serial device and whose master side is the
// far end of the line, driven by the test. The slave is held open so the line never hangs up
// while the code under test closes and reopens it.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    int MasterFd() const { return master_; }
    int HolderFd() const { return holder_; }

    void Send(const std::vector<uint8_t>& bytes);
    // Collects bytes until count have arrived or timeoutMs has passed.
    std::vector<uint8_t> Receive(size_t count, int timeoutMs = 10000);
    // Collects what arrives until nothing more comes for quietMs.
    std::vector<uint8_t> ReceiveUntilQuiet(int quietMs);

private:
    int master_ = -1;
    int holder_ = -1;
    std::string slavePath_;
};

// Appends the Modbus CRC, low byte first.
std::vector<uint8_t> WithCrc(std::vector<uint8_t> frame);
