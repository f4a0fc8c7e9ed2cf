#include "SectionFixture.h"
#include "loggeddata/DebugView.h"
#include "loggeddata/LoggedDataTexts.h"
#include "loggeddata/U_Erase_Mem.h"

#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>

namespace {

using Action = DownloadDataSection::Action;
using Call = FakeModbusDevice::Call;

TEST_F(SectionTest, EraseCancelledWritesNothing) {
    section_.dispatch(Action::EraseMemory);
    EXPECT_EQ(prompts_.shown, QStringList({LoggedDataTexts::EraseQuestion}));
    EXPECT_TRUE(link_.device.calls(Call::Write).empty());
    EXPECT_FALSE(link_.erasePending);
}

TEST_F(SectionTest, EraseWaitsUntilTheStatusPollSeesRunOrStop) {
    addSample(3, {5});
    prompts_.answers = {true};
    int ticks = 0;
    whenOpen([&] {
        EXPECT_TRUE(section_.F_Erase_Mem->isVisible());
        EXPECT_EQ(section_.F_Erase_Mem->windowTitle(), "Wait for Erase Memory");
        // The device erases for a while (40 s): the bar fills and stays full.
        for (; ticks < 14; ++ticks) {
            QMetaObject::invokeMethod(&section_.F_Erase_Mem->Timer_Erase, "timeout");
        }
        EXPECT_EQ(section_.F_Erase_Mem->PB_Erase->value(), 10);
        section_.F_Erase_Mem->close();  // no way out of its own
        EXPECT_TRUE(section_.F_Erase_Mem->isVisible());
        section_.eraseFinished();
    });
    section_.dispatch(Action::EraseMemory);
    const auto writes = link_.device.calls(Call::Write);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].start, RegisterMap::CommandRegister);
    EXPECT_EQ(writes[0].values, std::vector<uint16_t>{RegisterMap::EraseMemoryCommand});
    EXPECT_TRUE(link_.erasePending);  // the status poll clears it as it closes the window
    EXPECT_FALSE(section_.F_Erase_Mem->isVisible());
    EXPECT_FALSE(section_.F_Erase_Mem->Timer_Erase.isActive());
    EXPECT_EQ(section_.data().samples.size(), 1);
}

TEST_F(SectionTest, EraseNotTakenOpensNoWindow) {
    prompts_.answers = {true};
    link_.device.failNext(Call::Write);
    section_.dispatch(Action::EraseMemory);
    EXPECT_FALSE(link_.erasePending);
    EXPECT_EQ(prompts_.shown, QStringList({LoggedDataTexts::EraseQuestion}));
}

TEST_F(SectionTest, ALinkLostDuringTheEraseClosesTheWindowAndSaysSo) {
    prompts_.answers = {true};
    whenOpen([&] { section_.linkGone(); });
    section_.dispatch(Action::EraseMemory);
    EXPECT_FALSE(section_.F_Erase_Mem->isVisible());
    EXPECT_FALSE(link_.erasePending);
    EXPECT_EQ(prompts_.shown.last(), LoggedDataTexts::EraseNotFollowed);
    section_.linkGone();  // no erase going on: nothing
    EXPECT_EQ(prompts_.shown.count(LoggedDataTexts::EraseNotFollowed), 1);
}

QStringList shownValues(const DebugView& view) {
    QStringList texts;
    for (const QLabel* label : view.values) {
        texts << label->text();
    }
    return texts;
}

TEST_F(SectionTest, TheDebugViewReadsTheDiagnosticsWithThePollSuspended) {
    for (uint16_t reg = 122; reg <= 131; ++reg) {
        link_.device.registers[reg] = reg;
    }
    link_.device.registers[125] = 43981;
    link_.device.registers[126] = 10;
    DebugView& view = *section_.PBC_Debug;
    section_.dispatch(Action::Debug);
    EXPECT_EQ(section_.P_Views->currentWidget(), &view);
    EXPECT_EQ(shownValues(view), QStringList(5, "---"));
    EXPECT_EQ(link_.poll, QStringList({"stop"}));
    EXPECT_TRUE(view.Timer_Debug.isActive());
    EXPECT_EQ(view.Timer_Debug.interval(), 1000);

    view.tick();
    EXPECT_EQ(shownValues(view), QStringList({"ABCD", "000A", "127", "128", "129"}));
    EXPECT_TRUE(view.Timer_Debug.isActive());
    const auto reads = link_.device.calls(Call::Read);
    EXPECT_EQ(reads.back().start, 122);
    EXPECT_EQ(reads.back().count, 10);

    // A device gone silent: the values stay, reading goes on, no message.
    link_.device.failNext(Call::Read, -1);
    view.tick();
    EXPECT_EQ(shownValues(view)[0], "ABCD");
    EXPECT_TRUE(view.Timer_Debug.isActive());
    EXPECT_TRUE(prompts_.shown.isEmpty());
    link_.device.failures.clear();

    // "Debug" again: the poll is started by leaving and stopped again, the values start over.
    section_.dispatch(Action::Debug);
    EXPECT_EQ(link_.poll, QStringList({"stop", "start", "stop"}));
    EXPECT_EQ(shownValues(view), QStringList(5, "---"));

    // Any other button leaves the view and resumes the poll.
    section_.dispatch(Action::ZoomIn);
    EXPECT_EQ(link_.poll.last(), "start");
    EXPECT_FALSE(view.Timer_Debug.isActive());
    EXPECT_NE(section_.P_Views->currentWidget(), &view);
}

TEST_F(SectionTest, ATickAfterTheViewWasLeftRestartsThePollOfAConnectedLink) {
    DebugView& view = *section_.PBC_Debug;
    link_.pollRunning = false;  // the poll was not running: leaving starts nothing
    section_.dispatch(Action::Debug);
    section_.leaveDebugView();
    EXPECT_EQ(link_.poll, QStringList({"stop"}));
    view.tick();
    EXPECT_EQ(link_.poll, QStringList({"stop", "start"}));
    EXPECT_FALSE(view.Timer_Debug.isActive());
}

}  // namespace
