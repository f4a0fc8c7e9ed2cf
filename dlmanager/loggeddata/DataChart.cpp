#include "loggeddata/DataChart.h"

#include "base/Prompts.h"
#include "loggeddata/ChartData.h"
#include "loggeddata/SampleTimeTexts.h"

#include <qcustomplot.h>
#include <QMenu>
#include <QVBoxLayout>

namespace {

// Steps as a date-time axis has them, labels as the table writes the instants.
class SampleTimeTicker : public QCPAxisTickerDateTime {
protected:
    QString getTickLabel(double tick, const QLocale&, QChar, int) override {
        return ChartData::timeTickLabel(texts_, tick);
    }

private:
    SampleTimeTexts texts_;
};

}  // namespace

DataChart::DataChart(Prompts& prompts, std::function<QString()> startFolder, QWidget* parent)
    : QWidget(parent),
      prompts_(prompts),
      startFolder_(std::move(startFolder)),
      drawn_(ChartData::NoChart) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    plot_ = new QCustomPlot(this);
    layout->addWidget(plot_);
    plot_->plotLayout()->insertRow(0);
    title_ = new QCPTextElement(plot_, QString(), QFont(font().family(), 10, QFont::Bold));
    plot_->plotLayout()->addElement(0, 0, title_);
    plot_->legend->setVisible(true);
    plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot_->setNoAntialiasingOnDrag(true);
    plot_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(plot_, &QCustomPlot::customContextMenuRequested, this, &DataChart::offerSaving);

    // The logger's clock has no zone: its stamps are shown as they are, in the locale's words.
    auto ticker = QSharedPointer<SampleTimeTicker>::create();
    ticker->setDateTimeSpec(Qt::UTC);
    plot_->xAxis->setTicker(ticker);
    plot_->setLocale(QLocale());
    clear();
}

QString DataChart::title() const {
    return title_->text();
}

void DataChart::clear() {
    plot_->clearGraphs();
    title_->setText(QString());
    plot_->yAxis->setLabel(QString());
    drawn_ = ChartData::NoChart;
    // The axes as before any diagram: no scale of a command gone stays behind.
    showRanges({});
}

void DataChart::draw(const SampleTable& table, const CommandList& commands, int position) {
    if (!ChartData::isCommand(commands, position)) {
        clear();
        return;
    }
    plot_->clearGraphs();
    const Comandi& command = commands[size_t(position)];
    title_->setText(ChartData::title(command));
    plot_->yAxis->setLabel(ChartData::valueAxisLabel(command));
    drawn_ = position;
    const std::vector<ChartData::Series> all = ChartData::series(table, commands, position);
    for (size_t k = 0; k < all.size(); ++k) {
        QCPGraph* graph = plot_->addGraph();
        graph->setName(all[k].title);
        graph->setPen(QPen(QColor::fromHsv(int(k * 360 / all.size() + 200) % 360, 200, 200)));
        if (ChartData::showsMarkers(all[k])) {
            graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 6));
        }
        // Samples come in time order after decoding; a loaded file may not be, so no promise.
        graph->setData(all[k].x, all[k].y);
    }
    showRanges(all);
}

void DataChart::showRanges(const std::vector<ChartData::Series>& all) {
    timeRange_ = ChartData::timeRange(all, QDate::currentDate());
    valueRange_ = ChartData::valueRange(all);
    normalZoom();
}

void DataChart::zoom(double factor) {
    plot_->xAxis->scaleRange(1.0 / factor);
    plot_->yAxis->scaleRange(1.0 / factor);
    plot_->replot();
}

void DataChart::normalZoom() {
    plot_->xAxis->setRange(timeRange_.lower, timeRange_.upper);
    plot_->yAxis->setRange(valueRange_.lower, valueRange_.upper);
    plot_->replot();
}

void DataChart::offerSaving(const QPoint& at) {
    QMenu menu(this);
    QAction* png = menu.addAction(QStringLiteral("Save as PNG..."));
    menu.addAction(QStringLiteral("Save as PDF..."));
    const QAction* chosen = menu.exec(plot_->mapToGlobal(at));
    if (!chosen) {
        return;
    }
    const bool asPng = chosen == png;
    const auto path = prompts_.chooseSaveFile(
        startFolder_(),
        asPng ? QStringLiteral("PNG image|*.png") : QStringLiteral("PDF file|*.pdf"),
        asPng ? QStringLiteral("png") : QStringLiteral("pdf"));
    if (!path) {
        return;
    }
    const bool saved = asPng ? plot_->savePng(*path) : plot_->savePdf(*path);
    if (!saved) {
        prompts_.warn(QStringLiteral("The chart could not be saved: ") + *path);
    }
}
