#include "../support/ScriptedPrompts.h"
#include "StartedPrograms.h"
#include "UpdateProgramFolder.h"
#include "base/PictureFiles.h"
#include "firmware/ModifyFileSx.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

const QString Programmer = QStringLiteral("Burnix.exe");

class WizardWindow : public ::testing::Test {
protected:
    void installPictures() {
        QDir().mkpath(folder.path() + "/Pictures");
        for (const QString& name : QDir(DLM_PICTURES_DIR).entryList({"*.jpg"})) {
            QFile::copy(QString(DLM_PICTURES_DIR) + '/' + name,
                        folder.path() + "/Pictures/" + name);
        }
    }
    struct Buttons {
        bool previous, next, execute;
        bool operator==(const Buttons&) const = default;
    };
    Buttons buttons() const {
        return {wizard.B_Previous->isEnabled(), wizard.B_Next->isEnabled(),
                wizard.B_Execute->isEnabled()};
    }

    UpdateProgramFolder folder;
    ScriptedPrompts prompts;
    TFModifyFileSx wizard{nullptr, &prompts};
};

TEST_F(WizardWindow, OpensOnTheFirstPageAndWalksThePagesWithItsButtons) {
    installPictures();
    folder.settings.ComPortNumber = 2;
    wizard.prepare(folder.settings);
    wizard.show();
    EXPECT_EQ(wizard.windowTitle(), "'");
    EXPECT_EQ(wizard.L_Com->text(), "COM3");
    EXPECT_EQ(wizard.E_NameFirmware->text(), "New_Flash_Application.sx");
    EXPECT_TRUE(wizard.E_NameFirmware->isReadOnly());
    EXPECT_EQ(wizard.ProgressBar1->value(), 0);

    struct Step {
        QPushButton* press;
        int page;
        Buttons enabled;
    };
    const Step walk[] = {
        {nullptr, 0, {false, true, false}},           {wizard.B_Next, 1, {true, true, false}},
        {wizard.B_Next, 2, {true, true, false}},      {wizard.B_Next, 3, {true, false, true}},
        {wizard.B_Previous, 2, {true, true, false}},  {wizard.B_Previous, 1, {true, true, false}},
        {wizard.B_Previous, 0, {false, true, false}},
    };
    for (const Step& step : walk) {
        if (step.press) {
            step.press->click();
        }
        SCOPED_TRACE(step.page);
        EXPECT_EQ(wizard.pages().page(), step.page);
        EXPECT_EQ(buttons(), step.enabled);
        // One step a line; the carriage return after each line feed is not shown as a blank.
        EXPECT_EQ(wizard.L_Step->text(),
                  UpdateWizardPages::instructions(step.page).replace("\n\r", "\n"));
        EXPECT_EQ(wizard.Image_Step->pixmap().deviceIndependentSize().toSize(), QSize(480, 300));
    }
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(WizardWindow, ReturnGoesOnThroughThePagesAndEscapeCloses) {
    ASSERT_TRUE(installArgvRecorder(folder.path(), Programmer));
    wizard.prepare(folder.settings);
    wizard.show();
    QApplication::setActiveWindow(&wizard);
    // The onward button of each page has the focus and takes Return; the last page's is the
    // update, which Return starts.
    QPushButton* const onward[] = {wizard.B_Next, wizard.B_Next, wizard.B_Next, wizard.B_Execute};
    for (int page = 0; page < 4; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(wizard.pages().page(), page);
        EXPECT_EQ(QApplication::focusWidget(), onward[page]);
        EXPECT_TRUE(onward[page]->isDefault());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    EXPECT_EQ(wizard.pages().page(), 3);
    EXPECT_TRUE(recordedArguments(folder.path(), Programmer));
    EXPECT_NE(QApplication::focusWidget(), wizard.E_NameFirmware);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(wizard.isVisible());
}

TEST_F(WizardWindow, MissingOrBrokenPicturesLeaveTheAreaEmpty) {
    installPictures();
    QFile::resize(PictureFiles::path(folder.path(), PictureFiles::CrossCable), 500);
    QFile::remove(PictureFiles::path(folder.path(), PictureFiles::BootLed));
    wizard.prepare(folder.settings);
    const bool shown[] = {true, false, false, true};
    for (int page = 0; page < 4; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(wizard.Image_Step->pixmap().isNull(), !shown[page]);
        wizard.B_Next->click();
    }
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(WizardWindow, ExecuteStartsTheProgrammerAndStaysOpen) {
    ASSERT_TRUE(installArgvRecorder(folder.path(), Programmer));
    wizard.prepare(folder.settings);
    wizard.show();
    for (int i = 0; i < 3; ++i) {
        wizard.B_Next->click();
    }
    wizard.B_Execute->click();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join('|').toStdString();
    const auto arguments = recordedArguments(folder.path(), Programmer);
    ASSERT_TRUE(arguments);
    EXPECT_EQ(*arguments, QList<QByteArray>{"\"" + QFile::encodeName(folder.output()) +
                                            "\"\xB6"
                                            "0"});
    EXPECT_TRUE(childProcesses().isEmpty());
    EXPECT_GT(wizard.ProgressBar1->maximum(), 512);
    EXPECT_EQ(wizard.ProgressBar1->value(), wizard.ProgressBar1->maximum());
    EXPECT_TRUE(wizard.isVisible());

    // A new opening forgets the last one.
    folder.settings.ComPortNumber = 5;
    wizard.prepare(folder.settings);
    EXPECT_EQ(wizard.pages().page(), 0);
    EXPECT_EQ(buttons(), (Buttons{false, true, false}));
    EXPECT_EQ(wizard.ProgressBar1->value(), 0);
    EXPECT_EQ(wizard.L_Com->text(), "COM6");
}

TEST_F(WizardWindow, ExecuteReportsWhatStopsTheUpdate) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        QStringList shown;
        bool outputWritten;
    };
    const Case cases[] = {
        {"no Burnix.exe", [] {}, {"Burnix.exe Not Found, Procedure Aborted"}, true},
        {"no bin folder, older output and Burnix.exe present",
         [&] {
             installArgvRecorder(folder.path(), Programmer);
             folder.writeOlderOutput();
             QDir(folder.bin()).removeRecursively();
         },
         {"Directory Bin Not Found,Abort Procedure"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.shown.clear();
        c.arrange();
        wizard.prepare(folder.settings);
        for (int i = 0; i < 3; ++i) {
            wizard.B_Next->click();
        }
        wizard.B_Execute->click();
        EXPECT_EQ(prompts.shown, c.shown);
        EXPECT_EQ(QFile(folder.output()).size() > 1000, c.outputWritten);
        EXPECT_FALSE(argvRecorded(folder.path(), Programmer));
    }
}

TEST_F(WizardWindow, ShownModallyUntilTheUserClosesIt) {
    folder.settings.ComPortNumber = 1;
    bool wasModal = false;
    QString port;
    QTimer::singleShot(0, &wizard, [&] {
        wasModal = wizard.isVisible() && wizard.isModal();
        port = wizard.L_Com->text();
        wizard.close();
    });
    wizard.showModal(folder.settings);
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(port, "COM2");
    EXPECT_FALSE(wizard.isVisible());
}

}  // namespace
