#include "CommObjs.h"

#include <chrono>

THandleObject::~THandleObject() = default;

TEvent::TEvent(void* /*eventAttributes*/, bool manualReset, bool initialState,
               const std::string& name)
    : FManualReset(manualReset), FSignaled(initialState), FName(name) {}

TEventWaitResult TEvent::WaitFor(int64_t timeoutMs) {
    std::unique_lock lock(FMutex);
    if (timeoutMs < 0) {
        FChanged.wait(lock, [this] { return FSignaled; });
    } else if (!FChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [this] { return FSignaled; })) {
        return TEventWaitResult::wrTimeout;
    }
    if (!FManualReset) {
        FSignaled = false;
    }
    return TEventWaitResult::wrSignaled;
}

void TEvent::SetEvent() {
    {
        std::lock_guard lock(FMutex);
        FSignaled = true;
    }
    FChanged.notify_all();
}

void TEvent::ResetEvent() {
    std::lock_guard lock(FMutex);
    FSignaled = false;
}
