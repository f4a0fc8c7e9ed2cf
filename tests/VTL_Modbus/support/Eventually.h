#pragma once

#include <chrono>
#include <thread>

// Polls a condition for a generous while; the machine may be busy.
template <typename Condition>
bool Eventually(Condition condition, int timeoutMs = 30000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
