#include "loggeddata/DownloadDataSection.h"

#include "base/Prompts.h"
#include "base/WholeFile.h"
#include "devicelink/Comon.h"
#include "devicelink/RegisterMap.h"
#include "loggeddata/CsvExport.h"
#include "loggeddata/DataChart.h"
#include "loggeddata/DataFiles.h"
#include "loggeddata/DataSectionLink.h"
#include "loggeddata/DebugView.h"
#include "loggeddata/GetData.h"
#include "loggeddata/LoggedDataTexts.h"
#include "loggeddata/SampleTableModel.h"
#include "loggeddata/SampleTimeTexts.h"
#include "loggeddata/USelectCmd.h"
#include "loggeddata/UWaiting.h"
#include "loggeddata/U_Erase_Mem.h"
#include "widgets/SectionLayout.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int IndexColumnWidth = 64;

}  // namespace

DownloadDataSection::DownloadDataSection(DataSectionContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context)), data_(std::make_unique<LoggedData>()) {
    setObjectName(QStringLiteral("PBC_ManDati"));
    QVBoxLayout* layout = SectionLayout::columnOf(this);
    L_Title = SectionLayout::title(QStringLiteral("Download Data "), this);
    layout->addWidget(L_Title);
    layout->addWidget(buildButtonRows());

    P_Views = new QStackedWidget(this);
    noView_ = new QWidget(P_Views);
    P_Views->addWidget(noView_);
    P_Views->addWidget(buildTablePanel());
    P_Views->addWidget(buildChartPanel());
    PBC_Debug = new DebugView(context_.link, P_Views);
    P_Views->addWidget(PBC_Debug);
    layout->addWidget(P_Views, 1);
}

DownloadDataSection::~DownloadDataSection() = default;

void DownloadDataSection::attachWindows(TFWaiting* waiting, TFSelectCmd* selectCmd,
                                        TF_Erase_Mem* eraseWindow) {
    FWaiting = waiting;
    FSelectCmd = selectCmd;
    F_Erase_Mem = eraseWindow;
}

QPushButton* DownloadDataSection::button(const QString& text, const QString& hint, Action action,
                                         QWidget* parent) {
    auto* created = new QPushButton(text, parent);
    created->setToolTip(hint);
    const bool usesLink =
        action == Action::GetData || action == Action::Debug || action == Action::EraseMemory;
    if (usesLink) {
        connect(created, &QPushButton::clicked, this, [this, action] {
            context_.link.comon().whenIdle([this, action] { dispatch(action); });
        });
    } else {
        connect(created, &QPushButton::clicked, this, [this, action] { dispatch(action); });
    }
    return created;
}

QWidget* DownloadDataSection::buildButtonRows() {
    auto* rows = new QWidget(this);
    auto* layout = new QVBoxLayout(rows);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* first = new QHBoxLayout();
    Btn_Get_Data = button(QStringLiteral("&Get Data"), QStringLiteral("Get data from datalogger"),
                          Action::GetData, rows);
    B_Debug = button(QStringLiteral("De&bug"), QStringLiteral("Show debug variable"), Action::Debug,
                     rows);
    B_EraseMem =
        button(QStringLiteral("Erase &Memory"), QStringLiteral("Cancel the memory in datalogger"),
               Action::EraseMemory, rows);
    MemDown = new QCheckBox(QStringLiteral("Download a&ll memory"), rows);
    connect(MemDown, &QCheckBox::toggled, this, &DownloadDataSection::askDownloadAllMemory);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{Btn_Get_Data, B_Debug, B_EraseMem, MemDown}) {
        first->addWidget(widget);
    }
    first->addStretch(1);
    auto* second = new QHBoxLayout();
    B_Grid = button(QStringLiteral("G&rid"), QStringLiteral("Show the data in a table"),
                    Action::Grid, rows);
    B_Chart = button(QStringLiteral("C&hart"), QStringLiteral("Show the data in a chart"),
                     Action::Chart, rows);
    B_SaveData = button(QStringLiteral("&Save Data"), QStringLiteral("Save the data in a file"),
                        Action::SaveData, rows);
    B_LoadData = button(QStringLiteral("L&oad Data"), QStringLiteral("Load the data from a file"),
                        Action::LoadData, rows);
    for (QPushButton* widget : {B_Grid, B_Chart, B_SaveData, B_LoadData}) {
        second->addWidget(widget);
    }
    second->addStretch(1);
    layout->addLayout(first);
    layout->addLayout(second);
    return rows;
}

QWidget* DownloadDataSection::buildTablePanel() {
    P_Table = new QWidget(this);
    auto* layout = new QVBoxLayout(P_Table);
    layout->setContentsMargins(0, 0, 0, 0);
    Model = new SampleTableModel(this);
    SgA = new QTableView(P_Table);
    SgA->setObjectName(QStringLiteral("SgA"));
    SgA->setModel(Model);
    SgA->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SgA->verticalHeader()->hide();
    // Every row has the same height: the view need not measure 150,000 of them.
    SgA->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SgA->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    SgA->horizontalHeader()->setStretchLastSection(true);
    // Columns fit their texts (measured on the first rows only), the values take the rest.
    SgA->horizontalHeader()->setResizeContentsPrecision(200);
    SgA->setWordWrap(false);
    SgA->setColumnWidth(0, IndexColumnWidth);
    layout->addWidget(SgA, 1);
    auto* buttons = new QHBoxLayout();
    B_Parameter = button(QStringLiteral("&Parameter"), QString(), Action::Parameter, P_Table);
    B_Export = button(QStringLiteral("E&xport Cvs"), QString(), Action::ExportCsv, P_Table);
    buttons->addWidget(B_Parameter);
    buttons->addWidget(B_Export);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return P_Table;
}

QWidget* DownloadDataSection::buildChartPanel() {
    P_Chart = new QWidget(this);
    auto* layout = new QVBoxLayout(P_Chart);
    layout->setContentsMargins(0, 0, 0, 0);
    Chart = new DataChart(context_.prompts, context_.projectFolder, P_Chart);
    layout->addWidget(Chart, 1);
    auto* buttons = new QHBoxLayout();
    B_Chart_Ind =
        button(QStringLiteral("Be&fore"), QStringLiteral("Show the chart of precedent command"),
               Action::Before, P_Chart);
    B_Chart_Ava = button(QStringLiteral("&Next"), QStringLiteral("Show the chart of next command"),
                         Action::Next, P_Chart);
    B_Zoom_In = button(QStringLiteral("+"), QStringLiteral("Zoom in"), Action::ZoomIn, P_Chart);
    B_Zoom_Out = button(QStringLiteral("-"), QStringLiteral("Zoom out"), Action::ZoomOut, P_Chart);
    B_Nor_Zoom = button(QStringLiteral("Normal &Zoom"), QStringLiteral("Zoom normal"),
                        Action::NormalZoom, P_Chart);
    for (QPushButton* widget : {B_Chart_Ind, B_Chart_Ava, B_Zoom_In, B_Zoom_Out, B_Nor_Zoom}) {
        buttons->addWidget(widget);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return P_Chart;
}

void DownloadDataSection::leaveDebugView() {
    PBC_Debug->leave();
    if (P_Views->currentWidget() == PBC_Debug) {
        P_Views->setCurrentWidget(noView_);
    }
}

void DownloadDataSection::enterSection() {
    const bool connected = context_.link.connected();
    for (QWidget* widget : std::initializer_list<QWidget*>{Btn_Get_Data, B_Debug, B_Grid, B_Chart,
                                                           B_SaveData, B_EraseMem, MemDown}) {
        widget->setEnabled(connected);
    }
}

void DownloadDataSection::disableDeviceButtons() {
    for (QWidget* widget : std::initializer_list<QWidget*>{Btn_Get_Data, B_Debug, B_Grid, B_Chart,
                                                           B_SaveData, B_EraseMem, MemDown}) {
        widget->setEnabled(false);
    }
}

void DownloadDataSection::dispatch(Action action) {
    leaveDebugView();
    switch (action) {
        case Action::GetData:
            getData();
            break;
        case Action::Debug:
            showDebugView();
            break;
        case Action::EraseMemory:
            eraseMemory();
            break;
        case Action::Grid:
            showGrid();
            break;
        case Action::Chart:
            showChart();
            break;
        case Action::SaveData:
            saveData();
            break;
        case Action::LoadData:
            loadData();
            break;
        case Action::Parameter:
            chooseParameters();
            break;
        case Action::ExportCsv:
            exportCsv();
            break;
        case Action::Before:
            moveChart(ChartData::Direction::Previous);
            break;
        case Action::Next:
            moveChart(ChartData::Direction::Next);
            break;
        case Action::ZoomIn:
            Chart->zoom(1.1);
            break;
        case Action::ZoomOut:
            Chart->zoom(0.9);
            break;
        case Action::NormalZoom:
            Chart->normalZoom();
            break;
    }
}

void DownloadDataSection::askDownloadAllMemory(bool checked) {
    if (checked && !context_.prompts.askYesNo(LoggedDataTexts::AllMemoryQuestion)) {
        const QSignalBlocker quiet(MemDown);
        MemDown->setChecked(false);
    }
}

void DownloadDataSection::getData() {
    GetDataSteps steps;
    steps.sendLoggerCommand = [this](uint16_t command) {
        return context_.link.sendLoggerCommand(command);
    };
    steps.runInWaitingWindow = [this](const std::function<bool(WaitingWork&)>& work) {
        return FWaiting->run(TFWaiting::Download, work) == 1;
    };
    if (::getData(context_.link.comon(), *data_, context_.commands, MemDown->isChecked(), steps,
                  context_.prompts)) {
        showGrid();
    }
}

void DownloadDataSection::showDebugView() {
    P_Views->setCurrentWidget(PBC_Debug);
    PBC_Debug->enter();
}

void DownloadDataSection::eraseMemory() {
    if (!context_.prompts.askOkCancel(LoggedDataTexts::EraseQuestion)) {
        return;
    }
    if (!context_.link.sendLoggerCommand(RegisterMap::EraseMemoryCommand)) {
        return;
    }
    context_.link.setErasePending(true);
    F_Erase_Mem->exec();
}

void DownloadDataSection::eraseFinished() {
    if (F_Erase_Mem) {
        F_Erase_Mem->finish();
    }
}

void DownloadDataSection::linkGone() {
    if (!F_Erase_Mem || !F_Erase_Mem->isVisible()) {
        return;
    }
    context_.link.setErasePending(false);
    F_Erase_Mem->finish();
    context_.prompts.warn(LoggedDataTexts::EraseNotFollowed);
}

void DownloadDataSection::rebuildTable() {
    if (!Model->rebuild(data_->samples, context_.commands, DisplayBase_)) {
        context_.prompts.warn(LoggedDataTexts::NotCompatible);
    }
    for (int column = 1; column + 1 < Model->columnCount(); ++column) {
        SgA->resizeColumnToContents(column);
    }
}

void DownloadDataSection::showGrid() {
    rebuildTable();
    P_Views->setCurrentWidget(P_Table);
}

void DownloadDataSection::showChart() {
    P_Views->setCurrentWidget(P_Chart);
    FSelectCmd->run(TFSelectCmd::ChartChoice, context_.commands);
    ChartCommand = ChartData::NoChart;
    ChartCommand = ChartData::firstVisible(context_.commands);
    if (ChartCommand == ChartData::NoChart) {
        context_.prompts.inform(LoggedDataTexts::NoVisibleCommand);
        return;
    }
    Chart->draw(data_->samples, context_.commands, ChartCommand);
}

void DownloadDataSection::forgetChartBeyondTheList() {
    if (!ChartData::isCommand(context_.commands, ChartCommand)) {
        ChartCommand = ChartData::NoChart;
    }
    if (!ChartData::isCommand(context_.commands, Chart->drawnCommand())) {
        Chart->clear();
    }
}

void DownloadDataSection::moveChart(ChartData::Direction direction) {
    forgetChartBeyondTheList();
    const auto next = ChartData::neighbour(context_.commands, ChartCommand, direction);
    if (!next) {
        return;
    }
    context_.link.stopStatusPoll();
    ChartCommand = *next;
    Chart->draw(data_->samples, context_.commands, ChartCommand);
    context_.link.startStatusPoll();
}

void DownloadDataSection::chooseParameters() {
    if (FSelectCmd->run(TFSelectCmd::Filter, context_.commands) != QDialog::Accepted) {
        return;
    }
    DisplayBase_ = FSelectCmd->displayBase();
    SgA->setColumnHidden(0, !FSelectCmd->visibleIndex());
    if (FSelectCmd->visibleIndex()) {
        SgA->setColumnWidth(0, IndexColumnWidth);
    }
    rebuildTable();
}

void DownloadDataSection::saveData() {
    const auto path = context_.prompts.chooseSaveFile(context_.projectFolder(),
                                                      DataFiles::SaveFilter, QStringLiteral("xml"));
    if (!path || DataFiles::isProjectFileName(*path)) {
        return;
    }
    if (data_->samples.LastSampleIndex() < 0) {
        context_.prompts.inform(LoggedDataTexts::NothingToSave);
        return;
    }
    SampleTimeTexts texts;
    QString failure;
    if (DataFiles::save(*path, data_->samples, texts, &failure) != DataFiles::SaveResult::Saved) {
        context_.prompts.warn(failure.isEmpty() ? LoggedDataTexts::WriteFailed + *path : failure);
    }
}

void DownloadDataSection::loadData() {
    const auto path =
        context_.prompts.chooseOpenFile(context_.projectFolder(), DataFiles::LoadFilter);
    if (!path || DataFiles::isProjectFileName(*path)) {
        return;
    }
    SampleTimeTexts texts;
    QString readFailure;
    if (!data_->loadDataFile(*path, texts, &readFailure)) {
        if (readFailure.isEmpty()) {
            context_.prompts.warn(LoggedDataTexts::FileError);
        } else {
            context_.prompts.warnWithDetail(LoggedDataTexts::FileError,
                                            readFailureText(*path, readFailure));
        }
        return;
    }
    for (QPushButton* widget : {B_Grid, B_Chart, B_SaveData}) {
        widget->setEnabled(true);
    }
}

void DownloadDataSection::exportCsv() {
    const auto path = context_.prompts.chooseSaveFile(context_.projectFolder(), CsvExport::Filter,
                                                      CsvExport::DefaultExtension);
    if (!path || DataFiles::isProjectFileName(*path)) {
        return;
    }
    SampleTimeTexts texts;
    QString failure;
    if (!CsvExport::write(*path, data_->samples, context_.commands, DisplayBase_, texts,
                          &failure)) {
        context_.prompts.warn(failure);
    }
}
