// Times the merge chain on a generated 4 MiB base firmware and, in the same run, srec_cat
// merging the same two banks into the same base file.
#include "../../tests/support/ScriptedPrompts.h"
#include "FirmwareGenerator.h"
#include "firmware/SRecordMerge.h"

#include <benchmark/benchmark.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

namespace {

constexpr size_t FirmwareDataBytes = 4 * 1024 * 1024;

// A program folder with the base firmware and a project whose bin folder holds five banks.
struct Workspace {
    QTemporaryDir root;
    QString base;
    QString project;
    QString bin;
    qint64 baseBytes = 0;

    Workspace() {
        QDir(root.path()).mkpath("MASTER");
        QDir(root.path()).mkpath("Plant/bin");
        base = root.filePath("MASTER/Flash_Application.sx");
        project = root.filePath("Plant");
        bin = root.filePath("Plant/bin");

        FirmwareLayout layout;
        layout.codeBytes = FirmwareDataBytes;
        layout.windowRecordBytes = {16, 32, 0, 0, 0};
        write(base, QByteArray::fromStdString(generateFirmware(layout)));
        baseBytes = QFile(base).size();

        std::mt19937 random(40982);
        for (int number = 1; number <= 5; ++number) {
            QByteArray image(16384, '\0');
            if (number == 1) {
                for (char& byte : image) {
                    byte = static_cast<char>(random());
                }
            }
            write(QStringLiteral("%1/bank%2.bin").arg(bin).arg(number), image);
        }
    }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::abort();
        }
    }
};

// Mean wall time per run of each side, for the ratio printed at the end.
double chainSeconds = 0;
double srecCatSeconds = 0;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

Workspace& workspace() {
    static Workspace instance;
    return instance;
}

void MergeChain(benchmark::State& state) {
    Workspace& w = workspace();
    ScriptedPrompts prompts;
    NoMergeProgress progress;
    const MergeRun run{{w.project, w.bin}, w.base, bankSwitchesFor(3)};
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const MergeSummary summary = MergeAllBanks(run, prompts, progress);
        if (summary.aborted || !prompts.shown.isEmpty()) {
            state.SkipWithError("the merge chain did not complete");
            break;
        }
    }
    chainSeconds = secondsSince(start) / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * w.baseBytes);
}
BENCHMARK(MergeChain)->Unit(benchmark::kMillisecond)->UseRealTime();

#ifdef DLM_SREC_CAT
void SrecCat(benchmark::State& state) {
    Workspace& w = workspace();
    const QString command =
        QStringLiteral(
            "'%1' '%2' -exclude 0x388000 0x38C000 -exclude 0x398000 0x39C000"
            " '%3/bank1.bin' -binary -offset 0x388000 '%3/bank2.bin' -binary -offset 0x398000"
            " -o '%4/srec_cat.sx' -obs=32 -line-termination=crlf")
            .arg(DLM_SREC_CAT, w.base, w.bin, w.project);
    const QByteArray commandBytes = command.toLocal8Bit();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (std::system(commandBytes.constData()) != 0) {
            state.SkipWithError("srec_cat failed");
            break;
        }
    }
    srecCatSeconds = secondsSince(start) / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * w.baseBytes);
}
BENCHMARK(SrecCat)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    if (chainSeconds > 0 && srecCatSeconds > 0) {
        std::printf(
            "base firmware %lld bytes: merge chain %.1f ms, srec_cat %.1f ms, "
            "srec_cat / merge chain = %.2f\n",
            static_cast<long long>(workspace().baseBytes), chainSeconds * 1e3, srecCatSeconds * 1e3,
            srecCatSeconds / chainSeconds);
    }
    benchmark::Shutdown();
    return 0;
}
