#pragma once

#include "loggeddata/WaitingWork.h"

#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

// A waiting window stand-in: records what the work shows and when it pauses or lets events
// run, in one sequence ("text 5 %", "pause 10", "events"); `onEvents` plays what the user
// or a timer does while events run.
class RecordingWork : public WaitingWork {
public:
    QStringList steps;
    QStringList progress;
    std::vector<std::pair<int, int>> pages;  // read, to read
    bool abort = false;
    std::function<void()> onEvents;

    void showProgress(const QString& text) override {
        progress << text;
        steps << QStringLiteral("text ") + text;
    }
    void showPages(int pagesRead, int pagesToRead) override {
        pages.emplace_back(pagesRead, pagesToRead);
    }
    void processEvents() override {
        steps << QStringLiteral("events");
        if (onEvents) {
            onEvents();
        }
    }
    bool abortRequested() const override { return abort; }
    void pause(int milliseconds) override {
        steps << QStringLiteral("pause ") + QString::number(milliseconds);
    }
};
