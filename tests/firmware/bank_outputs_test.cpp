#include "../support/ScriptedPrompts.h"
#include "ProjectFolder.h"
#include "TestFiles.h"
#include "firmware/BankOutputs.h"

#include <gtest/gtest.h>

namespace {

// The lines of a text whose every line ends with CR LF; fails on any other line end.
QList<QByteArray> crLfLines(const QByteArray& text) {
    EXPECT_TRUE(text.endsWith("\r\n"));
    QList<QByteArray> lines = text.split('\n');
    lines.removeLast();
    for (QByteArray& line : lines) {
        EXPECT_TRUE(line.endsWith('\r'));
        line.chop(1);
        EXPECT_FALSE(line.contains('\r'));
    }
    return lines;
}

TEST(BankSource, LayoutOfTheWholeText) {
    BankImage bank{};
    for (int i = 0; i < BankSize; ++i) {
        bank[i] = static_cast<uint8_t>(i);
    }
    bank[16189] = 0x3F;
    bank[BankSize - 1] = 0xAB;
    const QByteArray text = bankSourceText(bank);

    EXPECT_EQ(text.size(), 117824);
    const QList<QByteArray> lines = crLfLines(text);
    ASSERT_EQ(lines.size(), 1027);
    EXPECT_EQ(lines[0], "#pragma CONST_SEG SEGMENT0");
    EXPECT_EQ(lines[1],
              "const char Bank1 [] = { 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08,"
              " 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F,");
    EXPECT_EQ(lines[2],
              "                  0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19,"
              " 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F,");
    // Line 1013 holds bytes 16176..16191: serial parameters, count and options are its items
    // 9 to 15.
    EXPECT_EQ(lines[1012],
              "                  0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39,"
              " 0x3A, 0x3B, 0x3C, 0x3F, 0x3E, 0x3F,");
    EXPECT_EQ(lines[1024],
              "                  0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9,"
              " 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xAB};");
    EXPECT_EQ(lines[1025], "");
    EXPECT_EQ(lines[1026], "#pragma CONST_SEG DEFAULT");
    for (int i = 2; i < 1025; ++i) {
        ASSERT_TRUE(lines[i].startsWith(QByteArray(17, ' ') + " 0x")) << i;
        ASSERT_EQ(lines[i].size(), i == 1024 ? 114 : 113) << i;
    }
}

TEST(BankSource, ZeroBankShowsOnlyZeroItems) {
    const QByteArray text = bankSourceText(BankImage{});
    EXPECT_EQ(text.count(" 0x00"), BankSize);
    EXPECT_EQ(text.count(" 0x"), BankSize);
}

TEST(BankFiles, FiveRawImagesInTheBinFolder) {
    ProjectFolder project;
    project.write("bin/BANK3.BIN", "old");
    BankImages banks;
    banks.bank(1).fill(0x11);
    banks.bank(1)[BankSize - 1] = 0x22;

    EXPECT_EQ(writeBankFiles(project.bin(), banks), 5);
    QByteArray expected(BankSize, '\x11');
    expected[BankSize - 1] = '\x22';
    EXPECT_EQ(fileBytes(project.bin() + "/bank1.bin"), expected);
    for (const char* name : {"bank2.bin", "BANK3.BIN", "bank4.bin", "bank5.bin"}) {
        EXPECT_EQ(fileBytes(project.bin() + "/" + name), QByteArray(BankSize, '\0')) << name;
    }
    EXPECT_FALSE(QFile::exists(project.bin() + "/bank3.bin"));
}

TEST(BankFiles, MissingBinFolderWritesNothingAndOnlyTheSourceTextComplains) {
    ProjectFolder project;
    QDir(project.bin()).removeRecursively();
    ScriptedPrompts prompts;
    EXPECT_EQ(writeBankFiles(project.bin(), BankImages{}), 0);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(writeBankSource(project.bin(), BankImage{}, prompts));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].contains("bankg.c"));
}

TEST(BankPreparation, BuildsAndWritesEverythingOrNothing) {
    ProjectFolder project;
    project.commands({R"(dataaddress="100" npoint="2")"});
    project.serial({"3", "0", "1"});
    BankImages banks;
    ScriptedPrompts prompts;

    ASSERT_TRUE(prepareBanksForUpdate(project.path(), banks, prompts));
    EXPECT_TRUE(prompts.shown.isEmpty());
    const QByteArray bank1 = fileBytes(project.bin() + "/bank1.bin");
    ASSERT_EQ(bank1.size(), BankSize);
    EXPECT_EQ(bank1.left(3), QByteArray::fromHex("006402"));
    EXPECT_EQ(bank1.mid(16184, 5), QByteArray::fromHex("0300010001"));
    EXPECT_EQ(fileBytes(project.bin() + "/bankg.c"), bankSourceText(banks.ConfigBank()));

    // An abandoned build leaves the earlier outputs as they were.
    project.options({"on", "0"});
    project.commands({R"(dataaddress="7" npoint="7")"});
    EXPECT_FALSE(prepareBanksForUpdate(project.path(), banks, prompts));
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(fileBytes(project.bin() + "/bank1.bin"), bank1);
}

TEST(BankPreparation, MissingSerialFileStillWritesTheOutputs) {
    ProjectFolder project;
    project.commands({});
    BankImages banks;
    ScriptedPrompts prompts;
    EXPECT_TRUE(prepareBanksForUpdate(project.path(), banks, prompts));
    EXPECT_EQ(prompts.shown, QStringList{"File pargen.xml not found"});
    EXPECT_EQ(fileBytes(project.bin() + "/bank1.bin"), QByteArray(BankSize, '\0'));
    EXPECT_EQ(fileBytes(project.bin() + "/bankg.c").count(" 0x00"), BankSize);
}

}  // namespace
