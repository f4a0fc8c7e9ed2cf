#pragma once

#include "loggeddata/DiagnosticsText.h"

#include <QTimer>
#include <QWidget>
#include <array>

class DataSectionLink;
class QLabel;

// The debug view PBC_Debug: five diagnostic registers read once a second while it is shown,
// with the status poll suspended meanwhile and resumed when it is left.
class DebugView : public QWidget {
    Q_OBJECT
public:
    static constexpr int IntervalMs = 1000;

    explicit DebugView(DataSectionLink& link, QWidget* parent = nullptr);

    // Shows "---" in every row, suspends the status poll (remembering to resume it) and starts
    // reading.
    void enter();
    // Resumes the status poll when it was suspended by the view once, stops reading.
    void leave();
    bool shown() const { return shown_; }

    // One tick of Timer_Debug.
    void tick();

    std::array<QLabel*, DiagnosticsText::RowCount> values;
    QTimer Timer_Debug;
    // Once set, every later leaving restarts the status poll.
    bool ResumeStatusPoll = false;

private:
    DataSectionLink& link_;
    bool shown_ = false;
};
