#include "../support/ScriptedPrompts.h"
#include "RecordingProgress.h"
#include "StartedPrograms.h"
#include "UpdateProgramFolder.h"
#include "base/PictureFiles.h"
#include "firmware/FirmwareUpdate.h"

#include <gtest/gtest.h>
#include <QFileInfo>
#include <functional>

namespace {

const QString Programmer = QStringLiteral("Burnix.exe");

TEST(UpdateWizardPages, ButtonsFollowThePageAndStopAtBothEnds) {
    struct Step {
        const char* press;  // "", "next" or "previous"
        int page;
        bool previous, next, execute;
    };
    const Step walk[] = {
        {"", 0, false, true, false},         {"previous", 0, false, true, false},
        {"next", 1, true, true, false},      {"next", 2, true, true, false},
        {"next", 3, true, false, true},      {"next", 3, true, false, true},
        {"previous", 2, true, true, false},  {"previous", 1, true, true, false},
        {"previous", 0, false, true, false},
    };
    UpdateWizardPages pages;
    for (const Step& step : walk) {
        if (step.press == std::string("next")) {
            pages.next();
        } else if (step.press == std::string("previous")) {
            pages.previous();
        }
        SCOPED_TRACE(step.press);
        EXPECT_EQ(pages.page(), step.page);
        EXPECT_EQ(pages.previousEnabled(), step.previous);
        EXPECT_EQ(pages.nextEnabled(), step.next);
        EXPECT_EQ(pages.executeEnabled(), step.execute);
    }
    pages.next();
    pages.reset();
    EXPECT_EQ(pages.page(), 0);
}

TEST(UpdateWizardPages, TextsAndPicturesOfEachPage) {
    const QString texts[] = {
        "Step 1 - Turn off the DataLogger device;\n\rStep 2 - Insert the Boot Jumper (see "
        "picture);",
        "Step 3 - Insert the cross calbe;",
        "Step 4 - Turn on the DataLogger device;\n\rStep 5 - Check that the LED blink quickly;",
        "Step 6 - Remove the Boot Jumper;\n\rStep 7 - Click on then \"Execute update firmware\" "
        "Button;",
    };
    const QString pictures[] = {PictureFiles::BootJumperIn, PictureFiles::CrossCable,
                                PictureFiles::BootLed, PictureFiles::BootJumperOut};
    for (int page = 0; page < UpdateWizardPages::PageCount; ++page) {
        EXPECT_EQ(UpdateWizardPages::instructions(page), texts[page]);
        EXPECT_EQ(UpdateWizardPages::pictureName(page), pictures[page]);
    }
}

TEST(FirmwareUpdateState, TakenFromTheCurrentSettings) {
    UpdateProgramFolder folder;
    folder.settings.ComPortNumber = 2;
    FirmwareUpdate update = firmwareUpdateFor(folder.settings);
    EXPECT_EQ(update.merge.baseFirmware, folder.path() + "/MASTER/Flash_Application.sx");
    EXPECT_EQ(update.outputFolder, folder.path() + "/PROJECTS/Plant/");
    EXPECT_EQ(update.outputName, "New_Flash_Application.sx");
    EXPECT_EQ(update.merge.folders.bankFolder, folder.bin());
    EXPECT_EQ(update.merge.switches, (BankSwitches{true, true, false, false, false}));
    EXPECT_EQ(update.executableFolder, folder.path());
    EXPECT_EQ(update.portIndex, 2);
    EXPECT_EQ(firmwareUpdateFor(folder.settings, 1).merge.switches,
              (BankSwitches{true, true, true, true, true}));

    // Installed, Burnix.exe stays beside the executable while the firmware is the user's.
    folder.settings.ExecutableFolder = "/usr/lib/dlmanager";
    update = firmwareUpdateFor(folder.settings);
    EXPECT_EQ(update.executableFolder, "/usr/lib/dlmanager");
    EXPECT_EQ(update.merge.baseFirmware, folder.path() + "/MASTER/Flash_Application.sx");

    // Without MASTER the base firmware is looked for beside the program.
    QDir(folder.settings.MasterFolder).removeRecursively();
    update = firmwareUpdateFor(folder.settings);
    EXPECT_EQ(update.merge.baseFirmware, folder.path() + "/Flash_Application.sx");
}

TEST(ProgrammerArgument, QuotedPathThenTheByteB6AndThePortDigit) {
    EXPECT_EQ(portBoxText(0), "COM1");
    EXPECT_EQ(portBoxText(2), "COM3");
    EXPECT_EQ(portBoxText(7), "COM8");
    EXPECT_EQ(programmerArgument("/opt/dl/PROJECTS/Plant/New_Flash_Application.sx", 0),
              QByteArray("\"/opt/dl/PROJECTS/Plant/New_Flash_Application.sx\"\xB6"
                         "0"));
    EXPECT_EQ(programmerArgument("/p/New_Flash_Application.sx", 2),
              QByteArray("\"/p/New_Flash_Application.sx\"\xB6"
                         "2"));
    // A name outside ASCII keeps the bytes the file system knows it by.
    EXPECT_EQ(programmerArgument(QString::fromUtf8("/p/Caf\xC3\xA9/N.sx"), 7),
              QByteArray("\"/p/Caf\xC3\xA9/N.sx\"\xB6"
                         "7"));
}

class ExecuteUpdate : public ::testing::Test {
protected:
    UpdateOutcome execute() {
        return executeUpdate(firmwareUpdateFor(folder.settings), prompts, progress);
    }

    UpdateProgramFolder folder;
    ScriptedPrompts prompts;
    RecordingProgress progress;
};

TEST_F(ExecuteUpdate, StartsTheProgrammerWithExactlyOneArgumentAndLeavesNoChild) {
    ASSERT_TRUE(installArgvRecorder(folder.path(), Programmer));
    folder.settings.ComPortNumber = 2;
    EXPECT_EQ(execute(), UpdateOutcome::ProgrammerStarted);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join('|').toStdString();
    EXPECT_TRUE(childProcesses().isEmpty());

    const auto arguments = recordedArguments(folder.path(), Programmer);
    ASSERT_TRUE(arguments);
    EXPECT_EQ(*arguments, QList<QByteArray>{"\"" + QFile::encodeName(folder.output()) +
                                            "\"\xB6"
                                            "2"});
    EXPECT_TRUE(QFileInfo(folder.output()).isFile());
    EXPECT_FALSE(progress.maxima.empty());
    EXPECT_EQ(progress.positions.back(), progress.maxima.back());
}

TEST_F(ExecuteUpdate, WithoutTheProgrammerTheMergeStillWritesItsOutput) {
    EXPECT_EQ(execute(), UpdateOutcome::ProgrammerMissing);
    EXPECT_EQ(prompts.shown, QStringList{"Burnix.exe Not Found, Procedure Aborted"});
    EXPECT_TRUE(QFileInfo(folder.output()).isFile());
}

// An older merged firmware lies in the project each time: a stopped merge must not send it.
TEST(ExecuteUpdateAfterAStoppedMerge, StartsNothing) {
    struct Case {
        const char* name;
        std::function<void(UpdateProgramFolder&)> spoil;
        QString message;  // MASTER stands for the folder of the base firmware
    };
    const Case cases[] = {
        {"no bin folder", [](auto& f) { QDir(f.bin()).removeRecursively(); },
         "Directory Bin Not Found,Abort Procedure"},
        {"bank2.bin missing", [](auto& f) { QFile::remove(f.bin() + "/bank2.bin"); },
         "File bank2.bin Not Found,Abort Procedure"},
        {"no base firmware",
         [](auto& f) { QFile::remove(f.settings.MasterFolder + "/Flash_Application.sx"); },
         "File *.Sx Not Found,Abort Procedure"},
        {"base without S9",
         [](auto& f) {
             FirmwareLayout layout;
             layout.withTerminator = false;
             f.writeBase(layout);
         },
         "The firmware \"MASTER/Flash_Application.sx\" has no end record (S9): no new firmware "
         "was made and the device is not programmed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateProgramFolder folder;
        ASSERT_TRUE(installArgvRecorder(folder.path(), Programmer));
        folder.writeOlderOutput();
        c.spoil(folder);
        ScriptedPrompts prompts;
        NoMergeProgress progress;
        EXPECT_EQ(executeUpdate(firmwareUpdateFor(folder.settings), prompts, progress),
                  UpdateOutcome::MergeStopped);
        EXPECT_EQ(prompts.shown,
                  QStringList{QString(c.message).replace("MASTER", folder.settings.MasterFolder)});
        EXPECT_FALSE(argvRecorded(folder.path(), Programmer));
    }
}

}  // namespace
