// The Edit Project section of the main window with a 1500-command project: from the section
// button to its first paint, and from "Command List" to the filled grid painted.
#include "ScriptedPrompts.h"
#include "base/IniFile.h"
#include "projects/ProjectFiles.h"
#include "projects/ProjectSection.h"
#include "shell/UTessitoreFirmWare.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

struct ProgramFolder {
    QTemporaryDir dir;
    ScriptedPrompts prompts;

    ProgramFolder() {
        const QString project = dir.filePath("PROJECTS/Plant");
        QDir().mkpath(project);
        CommandList commands;
        for (int i = 0; i < 1500; ++i) {
            commands.push_back(Comandi{uint16_t(40001 + i), uint8_t(1 + i % 127),
                                       QStringLiteral("Sensor %1").arg(i), 1, 1,
                                       QStringLiteral("°C")});
        }
        ProjectFiles::saveCommandList(project, commands);
        IniFile::write(dir.filePath("Quandor.ini"), "lastproj", "projectname", "Plant");
    }
};

void SectionShownAndPainted(benchmark::State& state) {
    ProgramFolder folder;
    TFTessitoreFirmWare window(folder.dir.path(), &folder.prompts);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        window.B_Edit_Project->click();
        window.repaint();
        state.PauseTiming();
        window.B_Connect->click();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(SectionShownAndPainted)->Unit(benchmark::kMillisecond);

void CommandListShownAndPainted(benchmark::State& state) {
    ProgramFolder folder;
    TFTessitoreFirmWare window(folder.dir.path(), &folder.prompts);
    window.show();
    window.B_Edit_Project->click();
    QApplication::processEvents();
    for (auto _ : state) {
        window.P_Project->B_Command_List->click();
        window.repaint();
    }
}
BENCHMARK(CommandListShownAndPainted)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
