#pragma once

#include "loggeddata/ChartData.h"
#include "loggeddata/LoggedData.h"
#include "loggeddata/SampleRendering.h"
#include "projects/Comandi.h"

#include <QWidget>
#include <functional>
#include <memory>

class DataChart;
class DataSectionLink;
class DebugView;
class Prompts;
class QCheckBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTableView;
class SampleTableModel;
class TFSelectCmd;
class TFWaiting;
class TF_Erase_Mem;

// What the section works with, all owned elsewhere and living as long as it does.
struct DataSectionContext {
    DataSectionLink& link;
    CommandList& commands;
    Prompts& prompts;
    std::function<QString()> projectFolder;
};

// The Download Data section PBC_ManDati: getting, showing, saving, loading and exporting the
// logged samples, erasing the memory and the debug view. Every button goes through one
// dispatcher whose first step leaves the debug view.
class DownloadDataSection : public QWidget {
    Q_OBJECT
public:
    enum class Action {
        GetData,
        Debug,
        EraseMemory,
        Grid,
        Chart,
        SaveData,
        LoadData,
        Parameter,
        ExportCsv,
        Before,
        Next,
        ZoomIn,
        ZoomOut,
        NormalZoom
    };

    explicit DownloadDataSection(DataSectionContext context, QWidget* parent = nullptr);
    ~DownloadDataSection() override;

    // The modal windows the section opens; created once by the program and reused.
    void attachWindows(TFWaiting* waiting, TFSelectCmd* selectCmd, TF_Erase_Mem* eraseWindow);

    void dispatch(Action action);
    // The first step of every button here and of the main window's section buttons.
    void leaveDebugView();
    // Shown by its section button: the device buttons follow the link as it is now.
    void enterSection();
    // The link was closed or lost: the device buttons go off until the section is shown again.
    void disableDeviceButtons();

    // From the link supervision: the erase finished (run or stop seen) ...
    void eraseFinished();
    // ... or the link went away under it (closed or lost).
    void linkGone();

    // After the command list was replaced: a diagram of a command it no longer has is gone.
    void forgetChartBeyondTheList();

    LoggedData& data() { return *data_; }
    DisplayBase displayBase() const { return DisplayBase_; }
    int chartCommand() const { return ChartCommand; }

    QLabel* L_Title;
    QPushButton* Btn_Get_Data;
    QPushButton* B_Debug;
    QPushButton* B_EraseMem;
    QCheckBox* MemDown;
    QPushButton* B_Grid;
    QPushButton* B_Chart;
    QPushButton* B_SaveData;
    QPushButton* B_LoadData;
    QStackedWidget* P_Views;
    QWidget* P_Table;
    QTableView* SgA;
    QPushButton* B_Parameter;
    QPushButton* B_Export;
    QWidget* P_Chart;
    DataChart* Chart;
    QPushButton* B_Chart_Ind;
    QPushButton* B_Chart_Ava;
    QPushButton* B_Zoom_In;
    QPushButton* B_Zoom_Out;
    QPushButton* B_Nor_Zoom;
    DebugView* PBC_Debug;
    TFWaiting* FWaiting = nullptr;
    TFSelectCmd* FSelectCmd = nullptr;
    TF_Erase_Mem* F_Erase_Mem = nullptr;
    SampleTableModel* Model;

private:
    QWidget* buildButtonRows();
    QWidget* buildTablePanel();
    QWidget* buildChartPanel();
    QPushButton* button(const QString& text, const QString& hint, Action action, QWidget* parent);
    void askDownloadAllMemory(bool checked);

    void getData();
    void showDebugView();
    void eraseMemory();
    void showGrid();
    void rebuildTable();
    void showChart();
    void saveData();
    void loadData();
    void chooseParameters();
    void exportCsv();
    void moveChart(ChartData::Direction direction);

    DataSectionContext context_;
    std::unique_ptr<LoggedData> data_;
    DisplayBase DisplayBase_ = DisplayBase::Decimal;
    int ChartCommand = 0;
    QWidget* noView_;
};
