#pragma once

#include "loggeddata/SampleRendering.h"
#include "projects/Comandi.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class DataGrid;
class QPushButton;
class QStandardItemModel;
class QWidget;

// The command selection window: which commands are shown ("Visible" / "Hide"), and in its
// first mode how values are written and whether the table's index column shows.
class TFSelectCmd : public QDialog {
    Q_OBJECT
public:
    enum Mode { Filter = 1, ChartChoice = 2 };

    explicit TFSelectCmd(QWidget* parent = nullptr);

    // Shows the window modally over the commands, whose Visible flags it changes: in the
    // filter mode on OK, in the chart mode at each edit; "All Visible" / "All Hide" at once.
    int run(Mode mode, CommandList& commands);

    DisplayBase displayBase() const;
    bool visibleIndex() const;

    DataGrid* SG_Cmd;  // over `items_`; Enter, Tab and Ctrl+C as in every grid
    QPushButton* B_AllVisible;
    QPushButton* B_AllHide;
    QPushButton* B_OK;
    QPushButton* B_Cancel;
    QWidget* P_Bottom;
    QGroupBox* GB_TypeOfData;
    QComboBox* CB_TypeOfData;
    QGroupBox* GB_VisibleIndex;
    QCheckBox* CB_VisibleIndex;

private:
    void fill();
    void setAll(bool visible);
    void takeFlags();
    bool rowVisible(int row) const;

    QStandardItemModel* items_;
    Mode mode_ = Filter;
    CommandList* commands_ = nullptr;
    bool filling_ = false;
};
