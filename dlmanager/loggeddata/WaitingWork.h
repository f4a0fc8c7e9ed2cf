#pragma once

#include <QString>

// What the work run inside the waiting window (a memory download, reading the command table
// back) sees of that window. The window implements it; tests and the command line have their
// own.
class WaitingWork {
public:
    virtual ~WaitingWork() = default;

    // The progress text under the headline: a percentage, or the number of commands read.
    virtual void showProgress(const QString& text) = 0;
    // A download's pages: read so far, and to read in all. Shown where the work has room.
    virtual void showPages(int pagesRead, int pagesToRead) {
        (void)pagesRead;
        (void)pagesToRead;
    }
    // Lets the user interface handle what is pending (the Abort button, timer ticks).
    virtual void processEvents() = 0;
    // Set by the Abort button; the work notices it at its own fixed points.
    virtual bool abortRequested() const = 0;
    // A pause the device needs between two transfers.
    virtual void pause(int milliseconds) = 0;
};
