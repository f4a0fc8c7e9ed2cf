#include "loggeddata/DebugView.h"

#include "devicelink/Comon.h"
#include "devicelink/RegisterMap.h"
#include "loggeddata/DataSectionLink.h"

#include <QFormLayout>
#include <QLabel>

DebugView::DebugView(DataSectionLink& link, QWidget* parent) : QWidget(parent), link_(link) {
    setObjectName(QStringLiteral("PBC_Debug"));
    auto* layout = new QFormLayout(this);
    for (int row = 0; row < DiagnosticsText::RowCount; ++row) {
        values[size_t(row)] = new QLabel(DiagnosticsText::Unknown, this);
        layout->addRow(DiagnosticsText::Captions[size_t(row)], values[size_t(row)]);
    }
    Timer_Debug.setInterval(IntervalMs);
    connect(&Timer_Debug, &QTimer::timeout, this,
            [this] { link_.comon().whenIdle([this] { tick(); }); });
}

void DebugView::enter() {
    shown_ = true;
    for (QLabel* value : values) {
        value->setText(DiagnosticsText::Unknown);
    }
    if (link_.statusPollRunning()) {
        ResumeStatusPoll = true;
    }
    link_.stopStatusPoll();
    Timer_Debug.start();
}

void DebugView::leave() {
    if (ResumeStatusPoll) {
        link_.startStatusPoll();
    }
    Timer_Debug.stop();
    shown_ = false;
}

void DebugView::tick() {
    Timer_Debug.stop();
    if (!shown_) {
        if (link_.connected()) {
            link_.startStatusPoll();
        }
        return;
    }
    if (link_.connected()) {
        std::array<uint16_t, RegisterMap::DiagnosticCount> registers{};
        if (link_.comon().ReadRegisters(RegisterMap::LoggerNode, RegisterMap::DiagnosticRegister,
                                        RegisterMap::DiagnosticCount, registers.data()) == 1) {
            const auto texts = DiagnosticsText::values(registers);
            for (size_t row = 0; row < values.size(); ++row) {
                values[row]->setText(texts[row]);
            }
        }
    }
    Timer_Debug.start();
}
