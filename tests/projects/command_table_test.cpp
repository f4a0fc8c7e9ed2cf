#include "QtPrinters.h"
#include "ScriptedPrompts.h"
#include "projects/CommandTable.h"
#include "projects/CommandTableSave.h"
#include "projects/ProjectFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct TypedRow {
    int row;
    CommandRowTexts texts;
};

class CommandTableSaveTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = dir.filePath("Plant");
    CommandTable table;
    ScriptedPrompts prompts;
    CommandList commands{Comandi{9, 9, "old", 1, 0, ""}};

    CommandTableSaveTest() { QDir().mkpath(folder); }

    void type(const std::vector<TypedRow>& rows) {
        for (const TypedRow& typed : rows) {
            for (int field = 0; field < CommandFieldCount; ++field) {
                table.setText(typed.row, CommandField(field), typed.texts[field]);
            }
        }
    }
    bool save() { return saveCommandTable(table.rows(), folder, commands, prompts); }
    QByteArray file() const {
        QFile f(QDir(folder).filePath("cmdmb.xml"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST(CommandTable, FillShowsNumbersAndTextsAndGrowsForLongLists) {
    CommandTable table;
    ASSERT_EQ(table.rowCount(), 1500);
    ASSERT_EQ(table.columnCount(), 6);
    EXPECT_EQ(table.headerData(1, Qt::Horizontal).toString(), "Address Word");
    EXPECT_EQ(table.headerData(0, Qt::Horizontal).toString(), "N°");
    EXPECT_EQ(table.data(table.index(1499, 0)).toInt(), 1499);
    EXPECT_FALSE(table.flags(table.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(table.flags(table.index(0, 5)) & Qt::ItemIsEditable);

    EXPECT_TRUE(table.setData(table.index(7, 4), "typed"));
    EXPECT_FALSE(table.setData(table.index(7, 0), "3"));
    table.fill({Comandi{300, 4, "Boiler", 1, 2, "°C"}});
    EXPECT_EQ(table.rows()[0], (CommandRowTexts{"300", "4", "2", "°C", "Boiler"}));
    EXPECT_EQ(table.text(7, UnitField), "") << "a fill clears what was typed";

    // A read-back longer than the table: every entry gets a row, and a shorter fill shrinks it.
    table.fill(CommandList(2731, Comandi{1, 1, "", 1, 0, ""}));
    EXPECT_EQ(table.rowCount(), 2731);
    EXPECT_EQ(table.data(table.index(2730, 1)).toString(), "1");
    table.fill({});
    EXPECT_EQ(table.rowCount(), 1500);
}

struct ProblemCase {
    const char* name;
    std::vector<TypedRow> rows;
    QStringList expected;  // every failing row, as dlmcli check lists them
};

class CommandRowProblems : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(CommandRowProblems, NameTheFirstFailingCellOfEachRow) {
    const ProblemCase& c = GetParam();
    CommandRows rows(1500);
    for (const TypedRow& typed : c.rows) {
        rows[typed.row] = typed.texts;
    }
    EXPECT_EQ(commandRowProblems(rows), c.expected);
    const QStringList first = commandRowProblems(rows, true);
    EXPECT_EQ(first, c.expected.mid(0, 1));
}

const QString Address = "Value of range [0..65535] column Data Address ";
const QString Points = "Value of range [1..127] column n° point ";
const QString Scale = "Value of range [0..5] column scale ";

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandRowProblems,
    ::testing::Values(
        ProblemCase{"EmptyTable", {}, {}},
        ProblemCase{"PointsZero", {{0, {"100", "0", "0", "", ""}}}, {Points + "1"}},
        ProblemCase{"Points128", {{0, {"100", "128", "0", "", ""}}}, {Points + "1"}},
        ProblemCase{"AddressNotANumber", {{0, {"abc", "0", "9", "", ""}}}, {Address + "1"}},
        ProblemCase{"AddressOutOfRange", {{0, {"65536", "1", "0", "", ""}}}, {Address + "1"}},
        ProblemCase{"DecimalsEmpty",
                    {{0, {"1", "1", "0", "", ""}}, {1, {"2", "1", "", "", ""}}},
                    {Scale + "2"}},
        ProblemCase{
            "Limits", {{0, {"0", "1", "0", "", ""}}, {1, {"65535", "127", "5", "", ""}}}, {}},
        ProblemCase{"OnlyRowsWithAnAddress", {{3, {"", "abc", "abc", "", ""}}}, {}},
        ProblemCase{"BlanksAreNoAddress", {{3, {" \t ", "abc", "", "", ""}}}, {}},
        // Rows after a gap are saved, so they are checked too.
        ProblemCase{"AfterAGap",
                    {{0, {"1", "1", "0", "", ""}},
                     {2, {"x1", "1", "0", "", ""}},
                     {5, {"7", "1", "6", "", ""}}},
                    {Address + "3", Scale + "6"}},
        ProblemCase{"LastRow", {{1499, {"1", "200", "0", "", ""}}}, {Points + "1500"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandTableSaveTest, EmptyTableSavesAnEmptyListAndFile) {
    ASSERT_TRUE(save());
    EXPECT_TRUE(commands.empty());
    EXPECT_TRUE(file().contains("<cmdmb />") || file().contains("<cmdmb/>")) << file().data();
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(CommandTableSaveTest, GapsCloseUpAndTextsAreSavedAsTypedButBlankCellsAsEmpty) {
    type({{0, {"0100", "2", "1", "°C", "Boiler"}},
          {1, {"  ", "", "", "", "only blanks above"}},
          {2, {"200", "+3", "0", " ", "Pump <1>"}},
          {3, {"300", "1", "0", "bar", "\t "}}});
    ASSERT_TRUE(save());
    // A cell of blanks is an empty one.
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0], (Comandi{100, 2, "Boiler", 1, 1, "°C"}));
    EXPECT_EQ(commands[1], (Comandi{200, 3, "Pump <1>", 1, 0, ""}));
    EXPECT_EQ(commands[2], (Comandi{300, 1, "", 1, 0, "bar"}));
    EXPECT_TRUE(file().contains("dataaddress=\"0100\"")) << file().data();
    EXPECT_TRUE(file().contains("npoint=\"+3\"")) << file().data();
    EXPECT_EQ(ProjectFiles::loadCommandList(folder), commands);
    // The table keeps the rows where they were typed.
    EXPECT_EQ(table.text(1, AddressField), "  ");
    EXPECT_EQ(table.text(2, AddressField), "200");
}

TEST_F(CommandTableSaveTest, AnyFailingRowChangesNothing) {
    ASSERT_TRUE(ProjectFiles::saveCommandList(folder, commands) == ProjectFiles::SaveResult::Saved);
    const QByteArray before = file();
    type({{0, {"1", "1", "0", "", ""}}, {4, {"2", "1", "zero", "", ""}}});
    EXPECT_FALSE(save());
    EXPECT_EQ(prompts.shown, QStringList{Scale + "5"});
    EXPECT_EQ(commands, (CommandList{Comandi{9, 9, "old", 1, 0, ""}}));
    EXPECT_EQ(file(), before);
}

TEST_F(CommandTableSaveTest, AReadBackLongerThanTheTableIsSavedWhole) {
    CommandList read;
    for (int i = 0; i < 2731; ++i) {
        read.push_back(Comandi{uint16_t(i + 1), 1, "", 1, 0, ""});
    }
    table.fill(read);
    ASSERT_TRUE(save());
    EXPECT_EQ(commands, read);
    EXPECT_EQ(ProjectFiles::loadCommandList(folder).size(), 2731u);
}

TEST_F(CommandTableSaveTest, AFileThatCannotBeWrittenIsReportedAndNothingChanges) {
    type({{0, {"1", "1", "0", "", ""}}});
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_FALSE(save());
    EXPECT_EQ(prompts.shown, QStringList{"Cannot write file \"" + folder +
                                         "/cmdmb.xml\": No such file or directory"});
    EXPECT_EQ(commands.size(), 1u);
    EXPECT_EQ(table.text(0, AddressField), "1");
}

}  // namespace
