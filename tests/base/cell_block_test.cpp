#include "base/CellBlock.h"

#include <gtest/gtest.h>

namespace {

struct BlockCase {
    const char* what;
    QString text;
    CellBlock cells;
};

TEST(CellBlock, ReadsWhatSpreadsheetsAndEditorsCopy) {
    const std::vector<BlockCase> cases = {
        {"nothing", "", {}},
        {"only line ends", "\r\n\n", {}},
        {"one cell", "600", {{"600"}}},
        {"a spreadsheet row with its line end",
         "500\t3\t1\tC\tfirst\r\n",
         {{"500", "3", "1", "C", "first"}}},
        {"rows of tabs, empty cells kept", "1\t\t2\n\t4\t\n", {{"1", "", "2"}, {"", "4", ""}}},
        {"semicolons without a tab", "500;3;1\n12;3;2", {{"500", "3", "1"}, {"12", "3", "2"}}},
        {"with a tab, semicolons are text", "1\ta;b\n", {{"1", "a;b"}}},
        {"old Mac line ends", "1;2\r3;4\r", {{"1", "2"}, {"3", "4"}}},
        {"one column of lines", "7\n8\n9\n", {{"7"}, {"8"}, {"9"}}},
        {"an empty line inside is an empty row", "1\t2\n\n3\t4", {{"1", "2"}, {""}, {"3", "4"}}},
        {"quoted cells hold separators, breaks and quotes",
         "\"a\tb\"\t\"line\nbreak\"\t\"say \"\"hi\"\"\"\n",
         {{"a\tb", "line\nbreak", "say \"hi\""}}},
        {"a quote that does not close the cell is text",
         "\"big\" pump\t2",
         {{"\"big\" pump", "2"}}},
        {"blanks are kept as typed", " 5 \t  ", {{" 5 ", "  "}}},
    };
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(parseCellBlock(c.text), c.cells);
    }
}

TEST(CellBlock, CopiedTextReadsBackTheSame) {
    const CellBlock block = {{"500", "", "x\ty"}, {"\"q", "two\nlines", "a;b"}};
    EXPECT_EQ(cellBlockText({{"1", "2"}, {"3", ""}}), "1\t2\n3\t\n");
    EXPECT_EQ(parseCellBlock(cellBlockText(block)), block);
}

}  // namespace
