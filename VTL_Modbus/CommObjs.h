#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

// Small event and lock objects in the shape the port and engine were designed around.

class THandleObject {
public:
    THandleObject() = default;
    virtual ~THandleObject();
    THandleObject(const THandleObject&) = delete;
    THandleObject& operator=(const THandleObject&) = delete;

    int Handle() const { return FHandle; }
    int LastError() const { return FLastError; }

protected:
    int FHandle = -1;  // no operating-system object backs the std-based events
    int FLastError = 0;
};

enum class TEventWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

class TEvent : public THandleObject {
public:
    // Security attributes have no counterpart here; the name only labels the event.
    TEvent(void* eventAttributes, bool manualReset, bool initialState, const std::string& name);

    // Waits up to timeoutMs milliseconds; a negative time-out waits without limit.
    TEventWaitResult WaitFor(int64_t timeoutMs);
    void SetEvent();
    void ResetEvent();
    const std::string& Name() const { return FName; }

private:
    std::mutex FMutex;
    std::condition_variable FChanged;
    bool FManualReset;
    bool FSignaled;
    std::string FName;
};

class TSimpleEvent : public TEvent {
public:
    TSimpleEvent() : TEvent(nullptr, true, false, std::string()) {}
};

class TCriticalSection {
public:
    void Acquire() { FMutex.lock(); }
    void Release() { FMutex.unlock(); }
    void Enter() { Acquire(); }
    void Leave() { Release(); }
    // For std::lock_guard.
    void lock() { Acquire(); }
    void unlock() { Release(); }

private:
    std::recursive_mutex FMutex;
};
