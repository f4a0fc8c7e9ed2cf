#pragma once

#include "loggeddata/ChartData.h"
#include "projects/Comandi.h"

#include <QWidget>
#include <functional>

class Prompts;
class QCPTextElement;
class QCustomPlot;
class SampleTable;

// The diagram of one command: a line per register against the logger's time, the registers'
// addresses in the legend. Zoomed by buttons (110 % / 90 %), by the wheel and by dragging;
// its context menu saves it as PNG or PDF.
class DataChart : public QWidget {
    Q_OBJECT
public:
    DataChart(Prompts& prompts, std::function<QString()> startFolder, QWidget* parent = nullptr);

    // A position the list does not have leaves the diagram empty.
    void draw(const SampleTable& table, const CommandList& commands, int position);
    // No title, no series.
    void clear();
    // The position of the command drawn last, or ChartData::NoChart.
    int drawnCommand() const { return drawn_; }
    void zoom(double factor);  // 1.1 magnifies to 110 %, 0.9 reduces to 90 %
    void normalZoom();

    QCustomPlot* plot() const { return plot_; }
    QString title() const;

private:
    // Remembers what "Normal Zoom" goes back to and shows it.
    void showRanges(const std::vector<ChartData::Series>& all);
    void offerSaving(const QPoint& at);

    Prompts& prompts_;
    std::function<QString()> startFolder_;
    QCustomPlot* plot_;
    QCPTextElement* title_;
    int drawn_;
    ChartData::Range timeRange_;
    ChartData::Range valueRange_;
};
