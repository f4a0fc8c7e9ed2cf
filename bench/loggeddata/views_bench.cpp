// The views with a full table of samples: rebuilding the data table (model and first paint of
// the view), and the chart's first paint and one zoom step with 150,000 points.
#include "../../tests/support/ScriptedPrompts.h"
#include "loggeddata/DataChart.h"
#include "loggeddata/SampleTable.h"
#include "loggeddata/SampleTableModel.h"

#include <benchmark/benchmark.h>
#include <qcustomplot.h>
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <memory>

namespace {

CommandList commands() {
    return {{100, 1, QStringLiteral("Level"), 1, 1, QStringLiteral("V")}};
}

// 150,001 samples of one command, ten seconds apart, a wave and a ramp.
const SampleTable& fullTable() {
    static const auto table = [] {
        auto filled = std::make_unique<SampleTable>();
        const LoggerTime start = LoggerTimeStamp::fromDateAndTime(QDate(2011, 3, 15), QTime(0, 0));
        for (int i = 0; i < SampleTable::Capacity; ++i) {
            const uint16_t value = uint16_t(2000 + 1000 * std::sin(i / 500.0) + i % 97);
            filled->append(start + 10LL * i, 0, std::span(&value, 1));
        }
        return filled;
    }();
    return *table;
}

void TableRebuild(benchmark::State& state) {
    SampleTableModel model;
    QTableView view;
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.setModel(&model);
    view.resize(900, 500);
    view.show();
    for (auto _ : state) {
        model.rebuild(fullTable(), commands(), DisplayBase::Decimal);
        benchmark::DoNotOptimize(view.grab());
    }
    state.counters["rows"] = model.rowCount();
}

struct Chart {
    ScriptedPrompts prompts;
    DataChart chart{prompts, [] { return QString(); }};
    Chart() {
        chart.resize(900, 500);
        chart.show();
    }
};

void ChartFirstPaint(benchmark::State& state) {
    Chart chart;
    for (auto _ : state) {
        chart.chart.draw(fullTable(), commands(), 0);
        benchmark::DoNotOptimize(chart.chart.grab());
    }
    state.counters["points"] = chart.chart.plot()->graph(0)->dataCount();
}

void ChartZoomStep(benchmark::State& state) {
    Chart chart;
    chart.chart.draw(fullTable(), commands(), 0);
    chart.chart.grab();
    bool in = true;
    for (auto _ : state) {
        chart.chart.zoom(in ? 1.1 : 0.9);
        benchmark::DoNotOptimize(chart.chart.grab());
        in = !in;
    }
}

}  // namespace

BENCHMARK(TableRebuild)->Unit(benchmark::kMillisecond);
BENCHMARK(ChartFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(ChartZoomStep)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
