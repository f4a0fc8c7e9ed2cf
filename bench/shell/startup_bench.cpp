// Time from the main window's creation step to the window painted on screen, with a remembered
// project whose command list is loaded at start.
#include "projects/ProjectFiles.h"
#include "shell/IniFile.h"
#include "shell/UTessitoreFirmWare.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

namespace {

void prepareProgramFolder(const QString& folder, int commandCount) {
    const QString project = folder + "/PROJECTS/Plant";
    QDir().mkpath(project);
    CommandList commands;
    for (int i = 0; i < commandCount; ++i) {
        commands.push_back(Comandi{uint16_t(100 + i), 4, "Command", 1, 1, QStringLiteral("°C")});
    }
    ProjectFiles::saveCommandList(project, commands);
    IniFile::write(folder + "/Quandor.ini", "lastproj", "projectname", "Plant");
}

void MainWindowShown(benchmark::State& state) {
    QTemporaryDir dir;
    prepareProgramFolder(dir.path(), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TFTessitoreFirmWare window(dir.path());
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.commandList().size());
        state.PauseTiming();
        window.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(MainWindowShown)->Arg(20)->Arg(1500)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
