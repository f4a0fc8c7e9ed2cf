// The Edit Project section with a 1500-command project: from showing the section to its first
// paint, and from "Command List" to the filled grid painted.
#include "ScriptedPrompts.h"
#include "projects/ProjectSection.h"
#include "shell/ProgramSettings.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

struct Project {
    QTemporaryDir dir;
    ProgramSettings settings;
    CommandList commands;
    ScriptedPrompts prompts;

    Project() {
        settings.ProjectsFolder = dir.path();
        settings.ProjectName = QStringLiteral("Plant");
        settings.ProjectFolder = dir.path();
        for (int i = 0; i < 1500; ++i) {
            commands.push_back(Comandi{uint16_t(40001 + i), uint8_t(1 + i % 127),
                                       QStringLiteral("Sensor %1").arg(i), 1, 1,
                                       QStringLiteral("°C")});
        }
    }
};

void SectionShownAndPainted(benchmark::State& state) {
    Project project;
    for (auto _ : state) {
        ProjectSection section(project.settings, project.commands, project.prompts);
        section.resize(800, 600);
        section.show();
        section.repaint();
        state.PauseTiming();
        section.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(SectionShownAndPainted)->Unit(benchmark::kMillisecond);

void CommandListShownAndPainted(benchmark::State& state) {
    Project project;
    ProjectSection section(project.settings, project.commands, project.prompts);
    section.resize(800, 600);
    section.show();
    QApplication::processEvents();
    for (auto _ : state) {
        section.B_Command_List->click();
        section.repaint();
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
