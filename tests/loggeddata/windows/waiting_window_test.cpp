#include "SectionFixture.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

class WaitingWindow : public ::testing::Test {
protected:
    WaitingWindow() { waiting_.Timer_Start.setInterval(0); }

    bool aborted_ = false;
    TFWaiting waiting_{[this] { return aborted_; }};
};

TEST_F(WaitingWindow, RunsTheWorkOfItsModeAndEndsWithItsResult) {
    QStringList seen;
    EXPECT_EQ(waiting_.run(TFWaiting::Download,
                           [&](WaitingWork& work) {
                               seen << waiting_.L_Head->text() << waiting_.L_Mode->text()
                                    << waiting_.L_Progress->text();
                               work.showProgress(QStringLiteral("37 %"));
                               seen << QString::number(waiting_.P_Progress->value());
                               work.showProgress(QStringLiteral("111 %"));
                               seen << QString::number(waiting_.P_Progress->value());
                               work.showPages(10, 10);
                               seen << waiting_.L_Pages->text();
                               return true;
                           }),
              1);
    EXPECT_EQ(seen, QStringList(
                        {"Waiting for data...", "Loading...", "", "37", "100", "10 of 10 pages"}));
    EXPECT_FALSE(waiting_.isVisible());

    // Shown again: texts cleared, the other mode, a failure.
    EXPECT_EQ(waiting_.run(TFWaiting::ReadCommand,
                           [&](WaitingWork& work) {
                               seen = {waiting_.L_Mode->text(), waiting_.L_Progress->text(),
                                       waiting_.L_Pages->text()};
                               work.showProgress(QStringLiteral("12"));
                               return false;
                           }),
              2);
    EXPECT_EQ(seen, QStringList({"Read Command", "", ""}));
    EXPECT_EQ(waiting_.L_Progress->text(), "12");
}

TEST_F(WaitingWindow, AbortIsSeenByTheWorkAndAFailedReopenStartsNothing) {
    bool sawAbort = false;
    EXPECT_EQ(waiting_.run(TFWaiting::Download,
                           [&](WaitingWork& work) {
                               EXPECT_FALSE(work.abortRequested());
                               waiting_.B_Abort->click();
                               work.processEvents();
                               sawAbort = work.abortRequested();
                               return !sawAbort;
                           }),
              2);
    EXPECT_TRUE(sawAbort);

    aborted_ = true;
    bool ran = false;
    EXPECT_EQ(waiting_.run(TFWaiting::Download, [&](WaitingWork&) { return ran = true; }), 2);
    EXPECT_FALSE(ran);
    EXPECT_EQ(waiting_.L_Mode->text(), "");
}

TEST_F(WaitingWindow, OnlyTheWorkEndsIt) {
    EXPECT_EQ(waiting_.run(TFWaiting::Download,
                           [&](WaitingWork& work) {
                               waiting_.reject();
                               waiting_.close();
                               work.processEvents();
                               return waiting_.isVisible();
                           }),
              1);
}

}  // namespace
