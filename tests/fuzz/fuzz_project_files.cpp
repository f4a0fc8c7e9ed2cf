// A project folder copied from another machine: each of the three project files holds the
// input, and every loader of the program reads it. Command rows that load save and load again
// unchanged.
#include "FuzzFiles.h"
#include "projects/ProjectFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    writeFuzzFile(ProjectFiles::CommandsFile, bytes);
    writeFuzzFile(ProjectFiles::SerialFile, bytes);
    writeFuzzFile(ProjectFiles::OptionsFile, bytes);

    const CommandList commands = ProjectFiles::loadCommandList(fuzzFolder());
    const std::optional<CommandRows> rows = ProjectFiles::loadCommandRows(fuzzFolder());
    FUZZ_CHECK(!rows || rows->size() >= commands.size());
    (void)ProjectFiles::loadSerialParameters(fuzzFolder());
    (void)ProjectFiles::loadStartStopOptions(fuzzFolder());

    if (rows) {
        const QString copy = QDir(fuzzFolder()).filePath(QStringLiteral("copy"));
        QDir().mkpath(copy);
        FUZZ_CHECK(ProjectFiles::saveCommandRows(copy, *rows) == ProjectFiles::SaveResult::Saved);
        FUZZ_CHECK(ProjectFiles::loadCommandRows(copy) == rows);
    }
    return 0;
}
