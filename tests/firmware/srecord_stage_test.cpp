#include "RecordingProgress.h"
#include "SRecordImage.h"
#include "firmware/BankRecords.h"
#include "firmware/SRecordStage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const QByteArray Bank = bankRecordText(QByteArray(16384, '\x5A'), 0x388000);

StageResult merge(const QByteArray& source, RecordingProgress* progress = nullptr) {
    RecordingProgress unused;
    return mergeBankIntoRecords(source, Bank, bankSlot(1), progress ? *progress : unused);
}

QByteArray crlf(const QByteArray& lfText) {
    QByteArray text = lfText;
    return text.replace("\n", "\r\n");
}

TEST(SRecordStage, SixteenByteRecordsGiveWayToBankRecordsAtThePlaceOfTheFirst) {
    const QByteArray source =
        "S00600004844521B\n"
        "S21438400000112233445566778899AABBCCDDEEFF4F\n"
        "S214388000000102030405060708090A0B0C0D0E0F67\n"
        "S214388010101112131415161718191A1B1C1D1E1FD7\n"
        "S21438C000000102030405060708090A0B0C0D0E0FE3\n"
        "S2143BFFF0000102030405060708090A0B0C0D0E0F68\n"
        "S9030000FC\n";
    const StageResult result = merge(source);
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.outcome, BankOutcome::Inserted);
    const QByteArray expected = crlf(
                                    "S00600004844521B\n"
                                    "S21438400000112233445566778899AABBCCDDEEFF4F\n") +
                                Bank +
                                crlf(
                                    "S21438C000000102030405060708090A0B0C0D0E0FE3\n"
                                    "S2143BFFF0000102030405060708090A0B0C0D0E0F68\n"
                                    "S9030000FC\n");
    EXPECT_EQ(result.output, expected);
}

TEST(SRecordStage, RecordCountStatesTheDataRecordsWritten) {
    // Two records in the window give way to 512; two outside stay: 514 = 0x0202.
    const QByteArray source =
        "S21438400000112233445566778899AABBCCDDEEFF4F\n"
        "S214388000000102030405060708090A0B0C0D0E0F67\n"
        "S214388010101112131415161718191A1B1C1D1E1FD7\n"
        "S1130000285F245F2212226A000424290008237C2A\n"
        "S5030004F8\n"
        "S9030000FC\n";
    EXPECT_TRUE(merge(source).output.endsWith("\r\nS5030202F8\r\nS9030000FC\r\n"));
}

TEST(SRecordStage, WindowEndsAreInclusiveAndOnlyTheStartAddressCounts) {
    // Starts at the window's last byte: inside. Starts one below the window: kept, although
    // its data runs into the window.
    const QByteArray source =
        "S2143880FF000102030405060708090A0B0C0D0E0F00\n"
        "S21438BFFF000102030405060708090A0B0C0D0E0F00\n"
        "S2143B7FF0000102030405060708090A0B0C0D0E0F00\n"
        "S9030000FC\n";
    const StageResult result = merge(source);
    const QByteArray expected =
        Bank + crlf("S2143B7FF0000102030405060708090A0B0C0D0E0F00\nS9030000FC\n");
    EXPECT_EQ(result.output, expected);
    EXPECT_EQ(result.outcome, BankOutcome::Inserted);
}

TEST(SRecordStage, AddressDigitsOfEitherCaseAreRead) {
    const StageResult result = merge("S2143a8000aa\nS2143880a0bb\nS9030000FC\n");
    EXPECT_EQ(result.output, crlf("S2143a8000aa\n") + Bank + crlf("S9030000FC\n"));
}

TEST(SRecordStage, NoRecordInTheWindowGivesALineForLineCopyWithCrLf) {
    const QByteArray source =
        "S00600004844521B\n"
        "S1130000285F245F2212226A000424290008237C2A\r\n"
        "S21438400000112233445566778899AABBCCDDEEFF4F\n"
        "S5030002FA\n"
        "S9030000FC";
    const StageResult result = merge(source);
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.outcome, BankOutcome::NotInserted);
    EXPECT_EQ(result.output, crlf(QByteArray(source).replace("\r\n", "\n")) + "\r\n");
}

TEST(SRecordStage, OtherRecordTypesAndLowerCaseTypesAreCopiedUnchanged) {
    // "s2" is not "S2": the type comparison is case-sensitive, so the line is copied.
    const QByteArray source =
        "S30900388000AABBCCDD00\n"
        "s2143880000102\n"
        "S5030001FB\n"
        "S804388000FF\n"
        "junk\n"
        "S9030000FC\n";
    const StageResult result = merge(source);
    EXPECT_EQ(result.output, crlf(source));
    EXPECT_EQ(result.outcome, BankOutcome::NotInserted);
}

TEST(SRecordStage, WithoutS9TheStageIsAborted) {
    const StageResult result = merge("S2143880000102\nS804000000FB\n");
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.outcome, BankOutcome::Aborted);
    EXPECT_EQ(result.output, Bank + crlf("S804000000FB\n"));
}

TEST(SRecordStage, FaultyLinesStopTheCopyAndKeepTheOutcomeSoFar) {
    struct Case {
        const char* name;
        QByteArray source;
        BankOutcome outcome;
        QByteArray written;
    };
    const Case cases[] = {
        {"blank line after S9", "S2143880000102\nS9030000FC\n\n", BankOutcome::Inserted,
         Bank + crlf("S9030000FC\n")},
        {"blank line inside", "S00600004844521B\n\r\nS9030000FC\n", BankOutcome::Aborted,
         crlf("S00600004844521B\n")},
        {"address not hexadecimal", "S214384G00AA\nS9030000FC\n", BankOutcome::Aborted, ""},
        {"S2 address cut short", "S0030000FC\nS214388\nS9030000FC\n", BankOutcome::Aborted,
         crlf("S0030000FC\n")},
        {"S1 address cut short", "S113C0\nS9030000FC\n", BankOutcome::Aborted, ""},
        {"type only", "S2\nS9030000FC\n", BankOutcome::Aborted, ""},
    };
    for (const Case& c : cases) {
        const StageResult result = merge(c.source);
        EXPECT_TRUE(result.failed) << c.name;
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(result.output, c.written) << c.name;
    }
}

TEST(SRecordStage, SOneRecordsAreNeverInsideAWindow) {
    // 0x8000 is the low 16 bits of the window start; an S1 address must not be taken for it.
    const QByteArray source = "S1138000285F245F2212226A000424290008237CAA\nS9030000FC\n";
    const StageResult result = merge(source);
    EXPECT_EQ(result.output, crlf(source));
    EXPECT_EQ(result.outcome, BankOutcome::NotInserted);
}

TEST(SRecordStage, ProgressStepsOncePerLineAndPerBankRecord) {
    RecordingProgress progress;
    const StageResult result =
        merge("S0030000FC\nS2143880000102\nS2143880100102\nS9030000FC\n", &progress);
    ASSERT_EQ(result.outcome, BankOutcome::Inserted);
    ASSERT_EQ(progress.positions.size(), 4u + 512u);
    for (size_t i = 0; i < progress.positions.size(); ++i) {
        ASSERT_EQ(progress.positions[i], static_cast<int>(i) + 1);
    }
}

TEST(SRecordStage, LineEndsAreLfCrLfOrCrAlone) {
    const struct {
        QByteArray text;
        qsizetype lines;
    } cases[] = {
        {"", 0},       {"S9", 1},       {"S9\r\n", 1},   {"S0\nS9\r\n\r\n", 3},
        {"S0\nS9", 2}, {"S0\rS9\r", 2}, {"S0\r\rS9", 3}, {"S0\r\nS5\rS9\n", 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(countSRecordLines(c.text), c.lines) << c.text.toStdString();
    }
    // A firmware saved with CR alone merges as any other.
    const StageResult result = merge("S00600004844521B\rS2143880000102\rS9030000FC\r");
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.outcome, BankOutcome::Inserted);
    EXPECT_EQ(result.output, crlf("S00600004844521B\n") + Bank + crlf("S9030000FC\n"));
}

}  // namespace
