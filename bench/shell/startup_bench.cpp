// Time from the start of the program's windows to the main window painted on screen, with the
// pictures of its tiles and a remembered project whose command list is loaded at start; and the
// switch from one section to another.
#include "base/IniFile.h"
#include "base/PictureFiles.h"
#include "projects/ProjectFiles.h"
#include "shell/ProgramWindows.h"
#include "widgets/WidgetStyle.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QPushButton>
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
    QDir().mkpath(folder + "/Pictures");
    for (const QString& name : QDir(DLM_PICTURES_DIR).entryList({"*.jpg"})) {
        QFile::copy(QString(DLM_PICTURES_DIR) + '/' + name, PictureFiles::path(folder, name));
    }
}

// Every window made, as start-up makes them, and the main window shown and painted.
void StartUpToShownMainWindow(benchmark::State& state) {
    QTemporaryDir dir;
    prepareProgramFolder(dir.path(), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        ProgramWindows windows(dir.path());
        windows.FTessitoreFirmWare.show();
        windows.FTessitoreFirmWare.repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(windows.FTessitoreFirmWare.commandList().size());
        state.PauseTiming();
        windows.FTessitoreFirmWare.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(StartUpToShownMainWindow)->Arg(20)->Arg(1500)->Unit(benchmark::kMillisecond);

// A click on a section button until the window has painted the section.
void SectionSwitch(benchmark::State& state) {
    QTemporaryDir dir;
    prepareProgramFolder(dir.path(), 20);
    ProgramWindows windows(dir.path());
    TFTessitoreFirmWare& main = windows.FTessitoreFirmWare;
    main.show();
    QApplication::processEvents();
    QPushButton* const buttons[] = {main.B_Connect, main.B_Edit_Project, main.B_Download_Data};
    size_t next = 0;
    for (auto _ : state) {
        buttons[next++ % 3]->click();
        main.repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(SectionSwitch)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    WidgetStyle::apply(application);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
