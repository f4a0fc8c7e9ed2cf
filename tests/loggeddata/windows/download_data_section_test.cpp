#include "SectionFixture.h"
#include "base/WholeFile.h"
#include "loggeddata/CsvExport.h"
#include "loggeddata/DataChart.h"
#include "loggeddata/DataFiles.h"
#include "loggeddata/LoggedDataTexts.h"
#include "loggeddata/SampleTableModel.h"
#include "loggeddata/USelectCmd.h"
#include "widgets/DataGrid.h"

#include <qcustomplot.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTableWidget>

namespace {

using Action = DownloadDataSection::Action;
using Call = FakeModbusDevice::Call;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList column(const QTableView* view, int column) {
    QStringList texts;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        texts << view->model()->index(row, column).data().toString();
    }
    return texts;
}

// Answers the selection window: `edit` on its grid, then OK.
void whenSelecting(DownloadDataSection& section, std::function<void(TFSelectCmd&)> edit = {}) {
    whenOpen([&section, edit] {
        if (edit) {
            edit(*section.FSelectCmd);
        }
        section.FSelectCmd->B_OK->click();
    });
}

void setVisibleCell(TFSelectCmd& window, int row, const char* text) {
    QAbstractItemModel& cells = *window.SG_Cmd->model();
    cells.setData(cells.index(row, 1), QString::fromLatin1(text));
}

TEST_F(SectionTest, GetDataStopsTheLoggerThenShowsTheDownloadInTheTable) {
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    flash_.setMemoryInfo(0, 0, 0);
    // Page 0: a stop marker and a Level sample.
    flash_.word = [](int, int page, int w) -> uint16_t {
        const uint16_t words[] = {0x2CDE, 0xE7AD, 2000, 0x2CDE, 0xE7AD, 3, 5};
        return page == 0 && w < 7 ? words[w] : uint16_t(0xFFFF);
    };
    section_.dispatch(Action::GetData);

    const auto writes = link_.device.calls(Call::Write);
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front().start, RegisterMap::CommandRegister);
    EXPECT_EQ(writes.front().values, std::vector<uint16_t>{RegisterMap::StopCommand});
    EXPECT_TRUE(prompts_.shown.isEmpty()) << prompts_.shown.join(u'|').toStdString();
    EXPECT_EQ(section_.P_Views->currentWidget(), section_.P_Table);
    EXPECT_EQ(column(section_.SgA, 1), QStringList({"STOP FROM HARDWARE", "Level"}));
    EXPECT_EQ(column(section_.SgA, 2),
              QStringList({"3/15/2011 2:30:45 PM", "3/15/2011 2:30:45 PM"}));
    EXPECT_EQ(column(section_.SgA, 5), QStringList({"", "[5 V]"}));
    QLocale::setDefault(QLocale::c());
}

TEST_F(SectionTest, AFailedGetDataTellsWhyAndKeepsTheSamples) {
    addSample(3, {9});
    link_.device.failNext(Call::Write, 1, 0, RegisterMap::CommandRegister);
    section_.dispatch(Action::GetData);
    EXPECT_EQ(prompts_.shown, QStringList({LoggedDataTexts::NotInStop}));
    EXPECT_TRUE(link_.device.calls(Call::Read).empty());  // no window, no download

    prompts_.shown.clear();
    link_.device.failNext(Call::Read, 3, 0, RegisterMap::MemoryInfoRegister);
    section_.dispatch(Action::GetData);
    EXPECT_EQ(prompts_.shown, QStringList({LoggedDataTexts::DownloadFailed}));
    ASSERT_EQ(section_.data().samples.LastSampleIndex(), 0);
    EXPECT_EQ(section_.data().samples.datas(0)[0], 9);
}

TEST_F(SectionTest, AbortInTheFifthPageEndsTheDownloadWithoutDecoding) {
    addSample(3, {9});
    flash_.setMemoryInfo(9, 0, 0);
    link_.device.duringTransfer = [this](const FakeModbusDevice::Request& request) {
        if (request.call == Call::Write && request.start == 201 && request.values[0] == 4) {
            waiting_.B_Abort->click();
        }
    };
    section_.dispatch(Action::GetData);
    EXPECT_EQ(prompts_.shown, QStringList({LoggedDataTexts::DownloadFailed}));
    // The fifth page was still read in full, the sixth never asked for.
    EXPECT_EQ(link_.device.calls(Call::Read).size(), 1u + 2 * 5);
    ASSERT_EQ(section_.data().samples.LastSampleIndex(), 0);
    EXPECT_EQ(section_.data().samples.datas(0)[0], 9);
}

TEST_F(SectionTest, DownloadAllMemoryIsAskedForWhenTicked) {
    prompts_.answers = {false, true};
    section_.MemDown->setChecked(true);
    EXPECT_FALSE(section_.MemDown->isChecked());
    section_.MemDown->setChecked(true);
    EXPECT_TRUE(section_.MemDown->isChecked());
    section_.MemDown->setChecked(false);
    EXPECT_EQ(prompts_.shown, QStringList(2, LoggedDataTexts::AllMemoryQuestion));
}

TEST_F(SectionTest, TheTableShowsMarkersAndVisibleCommandsOnly) {
    section_.dispatch(Action::Grid);  // nothing yet: the titles and one empty row
    EXPECT_EQ(section_.Model->rowCount(), 1);
    EXPECT_EQ(section_.Model->headerData(1, Qt::Horizontal, Qt::DisplayRole), "Description");
    EXPECT_EQ(section_.Model->index(0, 1).data(Qt::BackgroundRole).value<QColor>(),
              QColor(251, 240, 162));

    for (int i = 0; i < 100; ++i) {
        addSample(i % 2 ? 2001 : 3, {5}, i % 60);
    }
    section_.dispatch(Action::Grid);
    EXPECT_EQ(section_.Model->rowCount(), 100);
    EXPECT_EQ(column(section_.SgA, 0).last(), "100");
    // The middle columns fit their texts, no cell wraps.
    EXPECT_FALSE(section_.SgA->wordWrap());
    for (int c = 1; c < 5; ++c) {
        for (const QString& text : column(section_.SgA, c)) {
            EXPECT_GT(section_.SgA->columnWidth(c),
                      section_.SgA->fontMetrics().horizontalAdvance(text))
                << text.toStdString();
        }
    }

    // Every command hidden: only the markers stay.
    // Return in the grid is the dialog's OK.
    whenOpen([this] {
        TFSelectCmd& window = *section_.FSelectCmd;
        window.B_AllHide->click();
        window.SG_Cmd->setFocus();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(window.SG_Cmd, &enter);
        const bool closedByReturn = !window.isVisible();
        if (!closedByReturn) {
            window.B_OK->click();
        }
        EXPECT_TRUE(closedByReturn);
    });
    section_.dispatch(Action::Parameter);
    EXPECT_EQ(section_.Model->rowCount(), 50);
    EXPECT_EQ(column(section_.SgA, 1), QStringList(50, "START FROM HARDWARE"));

    // 40 samples now: exactly 40 rows.
    section_.data().samples.clear();
    for (int i = 0; i < 40; ++i) {
        addSample(3, {5});
    }
    whenSelecting(section_, [](TFSelectCmd& window) {
        window.B_AllVisible->click();
        window.CB_TypeOfData->setCurrentIndex(2);
    });
    section_.dispatch(Action::Parameter);
    EXPECT_EQ(section_.Model->rowCount(), 40);
    EXPECT_EQ(section_.SgA->model()->index(0, 5).data().toString(), "[0000 0000 0000 0101 V]");
    EXPECT_EQ(section_.displayBase(), DisplayBase::Binary);
}

TEST_F(SectionTest, SamplesOfAnotherProjectLeaveTheTableAsItWas) {
    addSample(0, {215, 198});
    section_.dispatch(Action::Grid);
    section_.data().samples.clear();
    addSample(4, {1});  // a fifth command this project does not have
    section_.dispatch(Action::Grid);
    EXPECT_EQ(prompts_.shown, QStringList({LoggedDataTexts::NotCompatible}));
    EXPECT_EQ(section_.P_Views->currentWidget(), section_.P_Table);
    EXPECT_EQ(column(section_.SgA, 5), QStringList({"[21.5 C][19.8 C]"}));
}

TEST_F(SectionTest, TheIndexColumnShowsUntilHiddenByParameter) {
    EXPECT_FALSE(section_.SgA->isColumnHidden(0));
    EXPECT_EQ(section_.SgA->columnWidth(0), 64);
    whenSelecting(section_);
    section_.dispatch(Action::Parameter);  // "Visible Index" unchecked
    EXPECT_TRUE(section_.SgA->isColumnHidden(0));
    EXPECT_EQ(section_.FSelectCmd->windowTitle(), "Filter & Param");
    EXPECT_TRUE(section_.FSelectCmd->GB_TypeOfData->isVisibleTo(section_.FSelectCmd));

    whenSelecting(section_, [](TFSelectCmd& window) { window.CB_VisibleIndex->setChecked(true); });
    section_.dispatch(Action::Parameter);
    EXPECT_FALSE(section_.SgA->isColumnHidden(0));

    // Cancel changes nothing but what All Visible / All Hide did at once.
    whenOpen([this] {
        setVisibleCell(*section_.FSelectCmd, 0, "Hide");
        section_.FSelectCmd->CB_TypeOfData->setCurrentIndex(1);
        section_.FSelectCmd->B_Cancel->click();
    });
    section_.dispatch(Action::Parameter);
    EXPECT_EQ(commands_[0].Visible, 1);
    EXPECT_EQ(section_.displayBase(), DisplayBase::Decimal);
}

TEST_F(SectionTest, ChartsAreChosenAndWalkedThroughTheVisibleCommands) {
    // Only 1 and 3 visible; "Pressure" (1) has three registers from 200.
    whenSelecting(section_, [](TFSelectCmd& window) {
        EXPECT_EQ(window.windowTitle(), "Select Command for Chart");
        EXPECT_FALSE(window.GB_TypeOfData->isVisibleTo(&window));
        setVisibleCell(window, 0, "Hide");
        setVisibleCell(window, 2, "Hide");
    });
    section_.dispatch(Action::Chart);
    EXPECT_EQ(section_.P_Views->currentWidget(), section_.P_Chart);
    EXPECT_EQ(section_.chartCommand(), 1);
    QCustomPlot* plot = section_.Chart->plot();
    EXPECT_EQ(section_.Chart->title(), "Diagram of the command : Pressure");
    ASSERT_EQ(plot->graphCount(), 3);  // empty, with no samples
    EXPECT_EQ(plot->graph(0)->name(), "200");
    EXPECT_EQ(plot->graph(2)->name(), "202");
    EXPECT_EQ(plot->graph(0)->dataCount(), 0);

    link_.poll.clear();
    const std::vector<std::pair<Action, int>> walk = {
        {Action::Next, 3}, {Action::Next, 3}, {Action::Before, 1}, {Action::Before, 1}};
    for (const auto& [action, expected] : walk) {
        section_.dispatch(action);
        EXPECT_EQ(section_.chartCommand(), expected);
    }
    // Redrawn twice, each time with the status poll stopped and started again around it.
    EXPECT_EQ(link_.poll, QStringList({"stop", "start", "stop", "start"}));

    whenSelecting(section_, [](TFSelectCmd& window) { window.B_AllHide->click(); });
    section_.dispatch(Action::Chart);
    EXPECT_EQ(prompts_.shown, QStringList({LoggedDataTexts::NoVisibleCommand}));
    EXPECT_EQ(section_.chartCommand(), ChartData::NoChart);
    EXPECT_EQ(section_.Chart->title(), "Diagram of the command : Pressure");
    section_.dispatch(Action::Next);  // no diagram chosen: nothing
    EXPECT_EQ(section_.chartCommand(), ChartData::NoChart);
}

TEST_F(SectionTest, ShortSeriesAreDrawnWithMarkers) {
    const std::vector<std::pair<int, QCPScatterStyle::ScatterShape>> counts = {
        {1, QCPScatterStyle::ssDisc},
        {ChartData::MarkedSeriesLimit, QCPScatterStyle::ssDisc},
        {ChartData::MarkedSeriesLimit + 1, QCPScatterStyle::ssNone}};
    for (const auto& [count, shape] : counts) {
        SCOPED_TRACE(count);
        section_.data().samples.clear();
        for (int i = 0; i < count; ++i) {
            addSample(0, {215, 198}, i % 60);
        }
        whenSelecting(section_);
        section_.dispatch(Action::Chart);
        ASSERT_EQ(section_.Chart->plot()->graphCount(), 2);
        EXPECT_EQ(section_.Chart->plot()->graph(1)->scatterStyle().shape(), shape);
    }
}

TEST_F(SectionTest, TheChartDrawsScaledValuesAndZooms) {
    addSample(0, {215, 198}, 0);
    addSample(1, {1, 2, 3}, 1);
    addSample(0, {216, 199}, 2);
    whenSelecting(section_);
    section_.dispatch(Action::Chart);
    QCustomPlot* plot = section_.Chart->plot();
    EXPECT_EQ(plot->yAxis->label(), "C");
    ASSERT_EQ(plot->graphCount(), 2);
    ASSERT_EQ(plot->graph(1)->dataCount(), 2);
    EXPECT_DOUBLE_EQ(plot->graph(1)->data()->at(0)->value, 19.8);
    EXPECT_DOUBLE_EQ(plot->graph(1)->data()->at(1)->key - plot->graph(1)->data()->at(0)->key, 2);
    // Two seconds of stamps about 1.3e9: a few hundred nanoseconds of rounding.
    const double fullWidth = plot->xAxis->range().size();
    const std::vector<std::pair<Action, double>> zooms = {{Action::ZoomIn, fullWidth / 1.1},
                                                          {Action::NormalZoom, fullWidth},
                                                          {Action::ZoomOut, fullWidth / 0.9},
                                                          {Action::NormalZoom, fullWidth}};
    for (const auto& [action, width] : zooms) {
        section_.dispatch(action);
        EXPECT_NEAR(plot->xAxis->range().size(), width, 1e-5);
    }
}

TEST_F(SectionTest, SavingAndLoadingData) {
    const QString data = folder_.filePath(QStringLiteral("data.xml"));
    // Nothing to save; a project file is refused silently, in either chooser.
    prompts_.choices = {data, folder_.filePath(QStringLiteral("CMDMB.xml")),
                        QStringLiteral("/elsewhere/CmdMb.XML")};
    section_.dispatch(Action::SaveData);
    section_.dispatch(Action::SaveData);
    section_.dispatch(Action::LoadData);
    EXPECT_EQ(prompts_.shown, QStringList({DataFiles::SaveFilter, LoggedDataTexts::NothingToSave,
                                           DataFiles::SaveFilter, DataFiles::LoadFilter}));
    EXPECT_FALSE(QFile::exists(folder_.filePath(QStringLiteral("CMDMB.xml"))));

    // An empty data file loads as no samples and enables what a load enables.
    section_.disableDeviceButtons();
    QFile empty(folder_.filePath(QStringLiteral("empty.xml")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.write("<RECORDS/>");
    empty.close();
    prompts_.choices = {empty.fileName()};
    section_.dispatch(Action::LoadData);
    EXPECT_EQ(section_.data().samples.LastSampleIndex(), -1);
    EXPECT_TRUE(section_.B_Grid->isEnabled());

    addSample(0, {215, 198});
    addSample(2001, {});
    addSample(3, {5});
    prompts_.choices = {data};
    section_.dispatch(Action::SaveData);
    section_.dispatch(Action::Grid);

    // A damaged file: the message, the samples kept, nothing enabled.
    section_.disableDeviceButtons();
    QFile damaged(folder_.filePath(QStringLiteral("damaged.xml")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("<RECORDS><RECORD><DATE>x</DATE></RECORD></RECORDS>");
    damaged.close();
    prompts_.shown.clear();
    prompts_.choices = {damaged.fileName()};
    section_.dispatch(Action::LoadData);
    EXPECT_EQ(prompts_.shown.last(), LoggedDataTexts::FileError);
    EXPECT_EQ(section_.data().samples.size(), 3);
    EXPECT_FALSE(section_.B_Grid->isEnabled());

    section_.data().samples.clear();
    prompts_.choices = {data};
    section_.dispatch(Action::LoadData);
    EXPECT_EQ(section_.data().samples.size(), 3);
    EXPECT_TRUE(section_.B_Grid->isEnabled());
    EXPECT_TRUE(section_.B_Chart->isEnabled());
    EXPECT_TRUE(section_.B_SaveData->isEnabled());
    EXPECT_FALSE(section_.Btn_Get_Data->isEnabled());
    EXPECT_EQ(section_.Model->rowCount(), 3);  // a load does not redraw the table

    prompts_.choices = {folder_.filePath(QStringLiteral("out.Csv"))};
    section_.dispatch(Action::ExportCsv);
    EXPECT_EQ(prompts_.shown.last(), CsvExport::Filter);
    QFile csv(folder_.filePath(QStringLiteral("out.Csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count("\r\n"), 4);

    // Neither saved nor exported over a project file, silently.
    const QString project = folder_.filePath(QStringLiteral("cmdmb.xml"));
    ASSERT_TRUE(writeFileWhole(project, "<cmdmb/>"));
    prompts_.shown.clear();
    prompts_.choices = {project, folder_.filePath(QStringLiteral("DIPCMD.xml")), project};
    section_.dispatch(Action::ExportCsv);
    section_.dispatch(Action::SaveData);
    section_.dispatch(Action::LoadData);
    EXPECT_EQ(prompts_.shown,
              QStringList({CsvExport::Filter, DataFiles::SaveFilter, DataFiles::LoadFilter}));
    EXPECT_EQ(readAll(project), "<cmdmb/>");
    EXPECT_FALSE(QFile::exists(folder_.filePath(QStringLiteral("DIPCMD.xml"))));
}

TEST_F(SectionTest, FailuresAreShownAsErrorsHintsAsNotes) {
    using Kind = ScriptedPrompts::Kind;
    const QString damaged = folder_.filePath(QStringLiteral("damaged.xml"));
    ASSERT_TRUE(writeFileWhole(damaged, "<RECORDS><RECORD><DATE>x</DATE></RECORD></RECORDS>"));
    const struct {
        std::function<void()> act;
        QString text;
        Kind kind;
    } cases[] = {
        {[&] {
             link_.device.failNext(Call::Write, 1, 0, RegisterMap::CommandRegister);
             section_.dispatch(Action::GetData);
         },
         LoggedDataTexts::NotInStop, Kind::Error},
        {[&] {
             link_.device.failNext(Call::Read, 3, 0, RegisterMap::MemoryInfoRegister);
             section_.dispatch(Action::GetData);
         },
         LoggedDataTexts::DownloadFailed, Kind::Error},
        {[&] {
             prompts_.choices = {damaged};
             section_.dispatch(Action::LoadData);
         },
         LoggedDataTexts::FileError, Kind::Error},
        {[&] {
             prompts_.choices = {folder_.filePath(QStringLiteral("data.xml"))};
             section_.dispatch(Action::SaveData);
         },
         LoggedDataTexts::NothingToSave, Kind::Note},
        {[&] {
             whenSelecting(section_, [](TFSelectCmd& window) { window.B_AllHide->click(); });
             section_.dispatch(Action::Chart);
         },
         LoggedDataTexts::NoVisibleCommand, Kind::Note},
    };
    for (const auto& c : cases) {
        c.act();
        EXPECT_EQ(prompts_.kindOf(c.text), c.kind) << c.text.toStdString();
    }
}

TEST_F(SectionTest, DeviceButtonsFollowTheLinkWhenTheSectionIsShown) {
    link_.isConnected = false;
    section_.enterSection();
    for (QWidget* button : std::initializer_list<QWidget*>{
             section_.Btn_Get_Data, section_.B_Debug, section_.B_Grid, section_.B_Chart,
             section_.B_SaveData, section_.B_EraseMem, section_.MemDown}) {
        EXPECT_FALSE(button->isEnabled());
    }
    EXPECT_TRUE(section_.B_LoadData->isEnabled());
    link_.isConnected = true;  // connected meanwhile: nothing changes until shown again
    EXPECT_FALSE(section_.Btn_Get_Data->isEnabled());
    section_.enterSection();
    EXPECT_TRUE(section_.Btn_Get_Data->isEnabled());
    EXPECT_TRUE(section_.MemDown->isEnabled());
}

}  // namespace
