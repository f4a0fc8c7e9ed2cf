#include "../support/ScriptedPrompts.h"
#include "FirmwareGenerator.h"
#include "RecordingProgress.h"
#include "SRecordImage.h"
#include "TestFiles.h"
#include "firmware/SRecordMerge.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

QByteArray bankPattern(int number) {
    QByteArray image(16384, '\0');
    for (int i = 0; i < image.size(); ++i) {
        image[i] = static_cast<char>((i * (number * 2 + 1) + number) & 0xFF);
    }
    return image;
}

// A program folder with MASTER/Flash_Application.sx and a project folder with its bin folder.
class MergeTest : public ::testing::Test {
public:
    QTemporaryDir root;
    QString project;
    QString bin;
    QString base;
    ScriptedPrompts prompts;
    RecordingProgress progress;

    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        QDir(root.path()).mkpath(QStringLiteral("MASTER"));
        QDir(root.path()).mkpath(QStringLiteral("PROJECTS/Plant/bin"));
        project = root.filePath(QStringLiteral("PROJECTS/Plant"));
        bin = project + QStringLiteral("/bin");
        base = root.filePath(QStringLiteral("MASTER/Flash_Application.sx"));
        for (int number = 1; number <= 5; ++number) {
            writeFile(bin + QStringLiteral("/bank%1.bin").arg(number), bankPattern(number));
        }
    }

    void writeBase(const FirmwareLayout& layout) {
        writeFile(base, QByteArray::fromStdString(generateFirmware(layout)));
    }

    MergeRun run(const BankSwitches& switches = bankSwitchesFor(3)) const {
        return MergeRun{{project, bin}, base, switches};
    }

    QString finalOutput() const { return project + QStringLiteral("/New_Flash_Application.sx"); }

    QStringList projectEntries() const {
        QStringList entries =
            QDir(project).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        entries.sort();
        return entries;
    }
};

// The image the merged file must have: the base everywhere, except each inserted window holds
// exactly its bank.
void expectImage(const SRecordFile& merged, const SRecordFile& baseFile,
                 const std::vector<int>& insertedSlots) {
    std::map<uint32_t, uint8_t> expected;
    for (const auto& [address, value] : baseFile.image) {
        bool inWindow = false;
        for (int slot : insertedSlots) {
            inWindow = inWindow || bankSlot(slot).contains(address);
        }
        if (!inWindow) {
            expected[address] = value;
        }
    }
    for (int slot : insertedSlots) {
        const QByteArray bank = bankPattern(slot);
        for (int i = 0; i < bank.size(); ++i) {
            expected[bankSlot(slot).windowStart + i] = static_cast<uint8_t>(bank[i]);
        }
    }
    EXPECT_TRUE(merged.image == expected);
}

TEST_F(MergeTest, ChainPutsBanksOneAndTwoIntoACopyOfTheBase) {
    FirmwareLayout layout;
    layout.windowRecordBytes = {16, 32, 32, 0, 0};
    layout.withRecordCount = true;
    writeBase(layout);
    const QByteArray baseBytes = fileBytes(base);
    writeFile(finalOutput(), "older output");

    const MergeSummary summary = MergeAllBanks(run(), prompts, progress);

    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join('|').toStdString();
    EXPECT_FALSE(summary.aborted);
    EXPECT_EQ(summary.outcomes[0], BankOutcome::Inserted);
    EXPECT_EQ(summary.outcomes[1], BankOutcome::Inserted);
    EXPECT_FALSE(summary.outcomes[2] || summary.outcomes[3] || summary.outcomes[4]);
    EXPECT_EQ(summary.finalOutput, finalOutput());

    const SRecordFile merged = readSRecords(fileBytes(finalOutput()));
    const SRecordFile baseFile = readSRecords(baseBytes);
    EXPECT_TRUE(merged.checksumsValid);
    EXPECT_TRUE(merged.everyLineEndsWithCrLf);
    // Slot 3 is switched off: its window keeps the base's records.
    expectImage(merged, baseFile, {1, 2});

    // The bank records stand where the first record of the window was; header and terminator
    // are copied unchanged, the count states the data records written.
    qsizetype firstInWindow = -1;
    for (qsizetype i = 0; i < baseFile.lines.size() && firstInWindow < 0; ++i) {
        if (baseFile.lines[i].startsWith("S2") && baseFile.lines[i].mid(4, 6) == "388000") {
            firstInWindow = i;
        }
    }
    ASSERT_GT(firstInWindow, 0);
    EXPECT_EQ(merged.lines.mid(0, firstInWindow), baseFile.lines.mid(0, firstInWindow));
    EXPECT_EQ(merged.lines[firstInWindow].left(10), "S224388000");
    EXPECT_EQ(merged.lines.first(), baseFile.lines.first());
    EXPECT_EQ(merged.lines.last(), baseFile.lines.last());
    const QByteArray count = merged.lines[merged.lines.size() - 2];
    ASSERT_TRUE(count.startsWith("S503"));
    const auto dataRecords = std::count_if(
        merged.lines.begin(), merged.lines.end(),
        [](const QByteArray& line) { return line.startsWith("S1") || line.startsWith("S2"); });
    EXPECT_EQ(count.mid(4, 4).toInt(nullptr, 16), dataRecords);

    EXPECT_EQ(fileBytes(base), baseBytes);
    EXPECT_EQ(projectEntries(), QStringList({"New_Flash_Application.sx", "bin"}));
    EXPECT_FALSE(QFile::exists(bin + "/Bin.sx"));
}

TEST_F(MergeTest, AllSlotsOnGoOnPastAWindowWithoutRecords) {
    FirmwareLayout layout;
    layout.windowRecordBytes = {32, 16, 0, 32, 16};
    writeBase(layout);

    const MergeSummary summary = MergeAllBanks(run(bankSwitchesFor(1)), prompts, progress);

    // Merged all the same, but the user learns that this bank does not reach the device.
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].startsWith(
        "The base firmware holds no configuration window for bank 3 (0x3A8000 to 0x3ABFFF)"));
    EXPECT_FALSE(summary.aborted);
    EXPECT_EQ(summary.outcomes[2], BankOutcome::NotInserted);
    EXPECT_EQ(summary.outcomes[4], BankOutcome::Inserted);
    const SRecordFile merged = readSRecords(fileBytes(finalOutput()));
    EXPECT_TRUE(merged.checksumsValid);
    expectImage(merged, readSRecords(fileBytes(base)), {1, 2, 4, 5});
    EXPECT_EQ(projectEntries(), QStringList({"New_Flash_Application.sx", "bin"}));
}

TEST_F(MergeTest, MissingSecondBankStopsTheChainAndCleansUp) {
    writeBase(FirmwareLayout{});
    QFile::remove(bin + "/bank2.bin");
    writeFile(finalOutput(), "older output");

    const MergeSummary summary = MergeAllBanks(run(), prompts, progress);

    EXPECT_EQ(prompts.shown, QStringList{"File bank2.bin Not Found,Abort Procedure"});
    EXPECT_TRUE(summary.aborted);
    EXPECT_FALSE(summary.fileError);
    EXPECT_EQ(summary.outcomes[0], BankOutcome::Inserted);
    EXPECT_EQ(summary.outcomes[1], BankOutcome::Aborted);
    // An older final output stays; every stage file is gone.
    EXPECT_EQ(fileBytes(finalOutput()), "older output");
    EXPECT_EQ(projectEntries(), QStringList({"New_Flash_Application.sx", "bin"}));
}

TEST_F(MergeTest, BaseWithoutS9AbortsTheFirstSlotSilently) {
    FirmwareLayout layout;
    layout.withTerminator = false;
    writeBase(layout);

    const MergeSummary summary = MergeAllBanks(run(), prompts, progress);

    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(summary.aborted);
    EXPECT_EQ(summary.outcomes[0], BankOutcome::Aborted);
    EXPECT_FALSE(summary.outcomes[1]);
    EXPECT_EQ(projectEntries(), QStringList({"bin"}));
}

TEST_F(MergeTest, BlankLineAfterS9IsReportedButTheChainGoesOn) {
    writeBase(FirmwareLayout{});
    QFile file(base);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\r\n");
    file.close();

    const MergeSummary summary = MergeAllBanks(run(), prompts, progress);

    EXPECT_EQ(prompts.shown, QStringList{"File New Sx Not Create,Abort Procedure"});
    EXPECT_FALSE(summary.aborted);
    const SRecordFile merged = readSRecords(fileBytes(finalOutput()));
    EXPECT_TRUE(merged.lines.last().startsWith("S9"));
    expectImage(merged, readSRecords(fileBytes(base)), {1, 2});
}

TEST_F(MergeTest, ChecksBeforeMergingAbortWithTheirMessage) {
    struct Case {
        const char* name;
        std::function<void(MergeTest&)> arrange;
        QString message;
    };
    const std::vector<Case> cases = {
        {"no source", [](MergeTest& t) { QFile::remove(t.base); },
         "File *.Sx Not Found,Abort Procedure"},
        {"no bank folder", [](MergeTest& t) { QDir(t.bin).removeRecursively(); },
         "Directory Bin Not Found,Abort Procedure"},
        {"no image", [](MergeTest& t) { QFile::remove(t.bin + "/bank1.bin"); },
         "File bank1.bin Not Found,Abort Procedure"},
        {"short image",
         [](MergeTest& t) { writeFile(t.bin + "/bank1.bin", QByteArray(16383, '\1')); },
         "File bank1.bin Not Found,Abort Procedure"},
        {"image that cannot be opened",
         [](MergeTest& t) {
             QFile::remove(t.bin + "/bank1.bin");
             QDir(t.bin).mkdir("bank1.bin");
         },
         "File bank1.bin Not Found,Abort Procedure"},
    };
    for (const Case& c : cases) {
        SetUp();
        writeBase(FirmwareLayout{});
        c.arrange(*this);
        prompts.shown.clear();
        const BankOutcome outcome = MergeBank({project, bin}, 1, base, "out.sx", prompts, progress);
        EXPECT_EQ(outcome, BankOutcome::Aborted) << c.name;
        EXPECT_EQ(prompts.shown, QStringList{c.message}) << c.name;
        EXPECT_FALSE(QFile::exists(project + "/out.sx")) << c.name;
        EXPECT_EQ(progress.positions.back(), 0) << c.name;
    }
}

TEST_F(MergeTest, FilesThatCannotBeWrittenAreNamedAndAbort) {
    writeBase(FirmwareLayout{});
    QDir(bin).mkdir("Bin.sx");
    BankOutcome outcome = MergeBank({project, bin}, 1, base, "out.sx", prompts, progress);
    EXPECT_EQ(outcome, BankOutcome::Aborted);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].startsWith("Cannot write file"));
    EXPECT_TRUE(prompts.shown[0].contains("Bin.sx"));
    EXPECT_FALSE(QFile::exists(project + "/out.sx"));

    QDir(bin).rmdir("Bin.sx");
    QDir(project).mkdir("out.sx");
    prompts.shown.clear();
    bool fileError = false;
    outcome = MergeBank({project, bin}, 1, base, "out.sx", prompts, progress, &fileError);
    EXPECT_EQ(outcome, BankOutcome::Aborted);
    EXPECT_TRUE(fileError);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].contains("out.sx"));
    EXPECT_FALSE(QFile::exists(bin + "/Bin.sx"));
}

TEST_F(MergeTest, FileErrorInTheChainTellsTheCallerNotToStartTheProgrammer) {
    writeBase(FirmwareLayout{});
    writeFile(finalOutput(), "older output");
    // The second stage's output cannot replace a folder of that name.
    QDir(project).mkdir(bankSlot(2).stageOutputName);

    const MergeSummary summary = MergeAllBanks(run(), prompts, progress);

    EXPECT_TRUE(summary.aborted);
    EXPECT_TRUE(summary.fileError);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].contains(bankSlot(2).stageOutputName));
    EXPECT_EQ(fileBytes(finalOutput()), "older output");
    EXPECT_FALSE(QFile::exists(project + "/" + bankSlot(1).stageOutputName));
}

TEST_F(MergeTest, AFinalNameThatCannotBeReplacedIsAFileError) {
    writeBase(FirmwareLayout{});
    QDir(project).mkdir("New_Flash_Application.sx");

    const MergeSummary summary = MergeAllBanks(run(), prompts, progress);

    EXPECT_TRUE(summary.aborted);
    EXPECT_TRUE(summary.fileError);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].startsWith("Cannot write file \"" + finalOutput() + "\": "))
        << prompts.shown[0].toStdString();
}

TEST_F(MergeTest, ProgressRunsFromZeroToBankRecordsPlusSourceLines) {
    writeBase(FirmwareLayout{});
    const qsizetype lines = readSRecords(fileBytes(base)).lines.size();
    ASSERT_EQ(MergeBank({project, bin}, 1, base, "out.sx", prompts, progress),
              BankOutcome::Inserted);
    ASSERT_EQ(progress.maxima, std::vector<int>{static_cast<int>(512 + lines)});
    EXPECT_EQ(progress.positions.front(), 0);
    EXPECT_EQ(progress.positions.back(), 512 + lines);
}

TEST_F(MergeTest, SwitchedOffFirstSlotCopiesTheBaseInsteadOfMovingIt) {
    writeBase(FirmwareLayout{});
    const QByteArray baseBytes = fileBytes(base);
    const MergeSummary summary =
        MergeAllBanks(run({false, false, false, false, false}), prompts, progress);
    EXPECT_FALSE(summary.aborted);
    EXPECT_EQ(fileBytes(base), baseBytes);
    EXPECT_EQ(fileBytes(finalOutput()), baseBytes);
    EXPECT_EQ(projectEntries(), QStringList({"New_Flash_Application.sx", "bin"}));
}

TEST_F(MergeTest, BankFolderAndImagesAreFoundWhateverTheirCase) {
    writeBase(FirmwareLayout{});
    ASSERT_TRUE(QDir(project).rename("bin", "BIN"));
    ASSERT_TRUE(QFile::rename(project + "/BIN/bank1.bin", project + "/BIN/Bank1.BIN"));
    const QString bankFolder = bankFolderOf(project);
    EXPECT_EQ(bankFolder, project + "/BIN");
    EXPECT_EQ(MergeBank({project, bankFolder}, 1, base, "out.sx", prompts, progress),
              BankOutcome::Inserted);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(BaseFirmware, FoundInMasterOrElseBesideTheProgram) {
    QTemporaryDir root;
    const QString master = root.filePath("MASTER");
    EXPECT_EQ(baseFirmwarePath(master, root.path()), root.filePath("Flash_Application.sx"));
    QDir(root.path()).mkdir("MASTER");
    EXPECT_EQ(baseFirmwarePath(master, root.path()), master + "/Flash_Application.sx");

    QDir(root.path()).mkpath("PROJECTS/Plant/Bin");
    const QString plant = root.filePath("PROJECTS/Plant");
    const MergeRun run = mergeRunFor(master, root.path(), plant, 3);
    EXPECT_EQ(run.baseFirmware, master + "/Flash_Application.sx");
    EXPECT_EQ(run.folders.projectFolder, plant);
    EXPECT_EQ(run.folders.bankFolder, plant + "/Bin");
    EXPECT_EQ(run.switches, bankSwitchesFor(3));
}

}  // namespace
