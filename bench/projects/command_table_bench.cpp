// The command editor's table: filling it from a list and saving it (check, cmdmb.xml written to
// disk, list rebuilt), for a full editor (1500 rows) and a full device read-back (2731 entries).
#include "ScriptedPrompts.h"
#include "projects/CommandTable.h"
#include "projects/CommandTableSave.h"

#include <benchmark/benchmark.h>
#include <QTemporaryDir>

namespace {

CommandList fullList(int count) {
    CommandList commands;
    for (int i = 0; i < count; ++i) {
        commands.push_back(Comandi{uint16_t(40001 + i), uint8_t(1 + i % 127),
                                   QStringLiteral("Sensor %1").arg(i), 1, uint8_t(i % 6),
                                   QStringLiteral("°C")});
    }
    return commands;
}

void FillTable(benchmark::State& state) {
    const CommandList commands = fullList(int(state.range(0)));
    CommandTable table;
    for (auto _ : state) {
        table.fill(commands);
        benchmark::DoNotOptimize(table.rows().data());
    }
}
BENCHMARK(FillTable)->Arg(1500)->Arg(2731)->Unit(benchmark::kMillisecond);

void SaveTable(benchmark::State& state) {
    QTemporaryDir dir;
    CommandTable table;
    table.fill(fullList(int(state.range(0))));
    ScriptedPrompts prompts;
    CommandList commands;
    for (auto _ : state) {
        if (!saveCommandTable(table.rows(), dir.path(), commands, prompts)) {
            state.SkipWithError("save failed");
        }
    }
}
BENCHMARK(SaveTable)->Arg(1500)->Arg(2731)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
