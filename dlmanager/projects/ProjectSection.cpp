#include "projects/ProjectSection.h"

#include "base/ProgramSettings.h"
#include "base/Prompts.h"
#include "devicelink/Comon.h"
#include "devicelink/LinkSupervisor.h"
#include "firmware/BankOutputs.h"
#include "firmware/FirmwareVariant.h"
#include "loggeddata/WaitingWork.h"
#include "projects/CommandTableSave.h"
#include "projects/ProjectFiles.h"
#include "projects/ProjectWorkspace.h"
#include "projects/Upargen.h"
#include "projects/Usaveproj.h"
#include "widgets/SectionLayout.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QThread>
#include <QTime>
#include <QVBoxLayout>

namespace {

const QString UnsavedEditsQuestion =
    QStringLiteral("The command list has changes that are not saved. Save them?");

// The typed columns on their pale yellow; "N°" stays as the grid draws it.
class TypedCellsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() != CommandTable::NumberColumn) {
            option->backgroundBrush = QColor(251, 240, 162);
        }
    }
};

// The read without a window to wait in: events still run between entries.
class InPlaceWork : public WaitingWork {
public:
    void showProgress(const QString&) override {}
    void processEvents() override { QCoreApplication::processEvents(); }
    bool abortRequested() const override { return false; }
    void pause(int milliseconds) override { QThread::msleep(milliseconds); }
};

QPushButton* sectionButton(const QString& text, const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setToolTip(hint);
    button->setMinimumHeight(30);
    return button;
}

}  // namespace

ProjectSection::ProjectSection(ProgramSettings& settings, CommandList& commands, Prompts& prompts,
                               LinkSupervisor& link, QWidget* parent)
    : QWidget(parent), settings_(settings), commands_(commands), prompts_(prompts), link_(link) {
    setObjectName(QStringLiteral("P_Project"));
    QVBoxLayout* layout = SectionLayout::columnOf(this);
    layout->addWidget(SectionLayout::title(QStringLiteral("Edit Project"), this));
    layout->addWidget(buildButtonRows());
    layout->addWidget(buildEditor(), 1);
    layout->addStretch(0);
    hideEditor();
}

void ProjectSection::attachDialogs(TFsaveproj* saveproj, TFpargen* pargen) {
    Fsaveproj_ = saveproj;
    Fpargen_ = pargen;
}

QWidget* ProjectSection::buildButtonRows() {
    auto* rows = new QWidget(this);
    B_New_Project =
        sectionButton(QStringLiteral("&New project"), QStringLiteral("Create a new project"), rows);
    B_Open_Project = sectionButton(QStringLiteral("&Open project"),
                                   QStringLiteral("Open an existing project"), rows);
    B_Save_As = sectionButton(QStringLiteral("Save &As..."),
                              QStringLiteral("Save project with another name"), rows);
    B_Download_Project = sectionButton(QStringLiteral("Download &Project"),
                                       QStringLiteral("Donwload project from datalogger"), rows);
    B_Update_Device = sectionButton(QStringLiteral("Update De&vice"),
                                    QStringLiteral("Program the Datalogger"), rows);
    B_Set_Com = sectionButton(QStringLiteral("Set Co&m."),
                              QStringLiteral("Set the parameter for modbus comunication"), rows);
    B_Command_List = sectionButton(QStringLiteral("Command &List"),
                                   QStringLiteral("Set the command list "), rows);
    B_Download_Project->setEnabled(false);

    auto* first = new QHBoxLayout();
    for (QPushButton* button :
         {B_New_Project, B_Open_Project, B_Save_As, B_Download_Project, B_Update_Device}) {
        first->addWidget(button);
    }
    first->addStretch(1);
    auto* second = new QHBoxLayout();
    second->addWidget(B_Set_Com);
    second->addWidget(B_Command_List);
    second->addStretch(1);
    auto* layout = new QVBoxLayout(rows);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(first);
    layout->addLayout(second);

    connect(B_New_Project, &QPushButton::clicked, this, &ProjectSection::newProject);
    connect(B_Open_Project, &QPushButton::clicked, this, &ProjectSection::openProject);
    connect(B_Save_As, &QPushButton::clicked, this, &ProjectSection::saveAs);
    connect(B_Set_Com, &QPushButton::clicked, this, &ProjectSection::setCom);
    connect(B_Command_List, &QPushButton::clicked, this, &ProjectSection::commandList);
    connect(B_Update_Device, &QPushButton::clicked, this,
            whenLinkIdle(link_.comon(), [this] { updateDevice(); }));
    connect(B_Download_Project, &QPushButton::clicked, this,
            whenLinkIdle(link_.comon(), [this] { downloadProject(); }));
    return rows;
}

QWidget* ProjectSection::buildEditor() {
    auto* editor = new QWidget(this);
    SgA1 = new DataGrid(editor);
    SgA1->setObjectName(QStringLiteral("SgA1"));
    SgA1->setModel(&table_);
    SgA1->setFixedColumns({CommandTable::NumberColumn});
    SgA1->setEdits(DataGrid::PasteAndClear | DataGrid::RowEditing);
    SgA1->setItemDelegate(new TypedCellsDelegate(SgA1));
    SgA1->verticalHeader()->hide();
    SgA1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SgA1->verticalHeader()->setDefaultSectionSize(SgA1->fontMetrics().height() + 6);
    SgA1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    SgA1->horizontalHeader()->setStretchLastSection(true);
    const int widths[CommandTable::ColumnCount] = {50, 110, 80, 110, 80, 200};
    for (int column = 0; column < CommandTable::ColumnCount; ++column) {
        SgA1->setColumnWidth(column, widths[column]);
    }

    P_Save = new QWidget(editor);
    B_Save = sectionButton(QStringLiteral("&Save"), QStringLiteral("Save the dato of the table"),
                           P_Save);
    L_Saved = new QLabel(P_Save);
    L_Saved->setObjectName(QStringLiteral("L_Saved"));
    auto* saveRow = new QHBoxLayout(P_Save);
    saveRow->setContentsMargins(0, 0, 0, 0);
    saveRow->addWidget(B_Save);
    saveRow->addWidget(L_Saved);
    saveRow->addStretch(1);
    connect(B_Save, &QPushButton::clicked, this, &ProjectSection::save);

    // A fill (opening the editor, a read-back) resets the table; anything else is an edit.
    connect(&table_, &QAbstractItemModel::dataChanged, this, &ProjectSection::tableEdited);
    connect(&table_, &QAbstractItemModel::rowsInserted, this, &ProjectSection::tableEdited);
    connect(&table_, &QAbstractItemModel::rowsRemoved, this, &ProjectSection::tableEdited);
    connect(&table_, &QAbstractItemModel::modelReset, this, &ProjectSection::tableRefilled);

    auto* layout = new QVBoxLayout(editor);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SgA1, 1);
    layout->addWidget(P_Save);
    return editor;
}

void ProjectSection::enableDeviceButtons(bool connected) {
    B_Download_Project->setEnabled(connected);
}

void ProjectSection::hideEditor() {
    SgA1->hide();
    P_Save->hide();
}

void ProjectSection::showEditor() {
    SgA1->show();
    P_Save->show();
}

void ProjectSection::tableEdited() {
    edited_ = true;
    L_Saved->clear();
}

void ProjectSection::tableRefilled() {
    edited_ = false;
    L_Saved->clear();
}

bool ProjectSection::mayLeave() {
    if (!edited_ || mode_ != EditorMode::CommandList) {
        return true;
    }
    switch (prompts_.askYesNoCancel(UnsavedEditsQuestion)) {
        case Prompts::Answer::Yes:
            save();
            return !edited_;
        case Prompts::Answer::No:
            table_.fill(commands_);
            return true;
        case Prompts::Answer::Cancel:
            break;
    }
    return false;
}

bool ProjectSection::leaveEditor() {
    if (!mayLeave()) {
        return false;
    }
    hideEditor();
    return true;
}

bool ProjectSection::projectSelected() {
    if (settings_.ProjectName.isEmpty()) {
        prompts_.inform(CommandEditorTexts::SelectProject);
        return false;
    }
    return true;
}

void ProjectSection::newProject() {
    if (!leaveEditor()) {
        return;
    }
    const bool confirmed = Fsaveproj_->execFor(settings_.ProjectsFolder) == QDialog::Accepted;
    emit projectOperationDone();  // cancelled too: the title then names the unchanged project
    if (confirmed) {
        startNewProject(settings_, commands_, prompts_);
        emit commandListChanged();
    }
}

void ProjectSection::openProject() {
    if (!leaveEditor()) {
        return;
    }
    if (::openProject(settings_, commands_, prompts_)) {
        emit projectOperationDone();
        emit commandListChanged();
    }
}

void ProjectSection::saveAs() {
    if (!leaveEditor()) {
        return;
    }
    const QString copied = settings_.ProjectFolder;
    if (Fsaveproj_->execFor(settings_.ProjectsFolder) == QDialog::Accepted) {
        CopyFolderFiles(copied, settings_.ProjectFolder);
        emit projectOperationDone();
    }
}

void ProjectSection::setCom() {
    if (!leaveEditor()) {
        return;
    }
    if (projectSelected()) {
        Fpargen_->execFor(settings_.ProjectFolder);
    }
}

void ProjectSection::commandList() {
    if (!leaveEditor()) {
        return;
    }
    if (!projectSelected()) {
        return;
    }
    mode_ = EditorMode::CommandList;
    table_.fill(commands_);
    showEditor();
    // Typing starts at once, in the first row's address.
    SgA1->startAtFirstCell();
}

void ProjectSection::save() {
    showEditor();
    if (mode_ == EditorMode::CommandList &&
        saveCommandTable(table_.rows(), settings_.ProjectFolder, commands_, prompts_)) {
        edited_ = false;
        L_Saved->setText(QStringLiteral("Saved %1 at %2")
                             .arg(ProjectFiles::CommandsFile,
                                  QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))));
        emit commandListChanged();
    }
}

void ProjectSection::updateDevice() {
    if (!leaveEditor()) {
        return;
    }
    if (!projectSelected()) {
        return;
    }
    link_.closeLink();
    if (buildsConfigBank(FirmwareVariant)) {
        QCoreApplication::processEvents();
        if (!prepareBanksForUpdate(settings_.ProjectFolder, banks_, prompts_)) {
            return;
        }
    }
    emit firmwareWizardRequested();
}

void ProjectSection::downloadProject() {
    // Events run while the logger answers: a second click must not start a read inside this one.
    if (readingBack_) {
        return;
    }
    const QScopedValueRollback reading(readingBack_, true);
    if (!leaveEditor()) {
        return;
    }
    if (!ReadBack::linkAllows(link_.linkState(), prompts_)) {
        return;
    }
    // From here on Temp_prj stays the current project, whatever happens.
    ReadBack::makeTempProjectCurrent(settings_);
    emit projectOperationDone();
    ReadBack::readInto(settings_.ProjectFolder, commands_, table_, link_.comon(), prompts_, *this);
    emit commandListChanged();  // read in part, even when the read failed
}

bool ProjectSection::readCommandTableWaiting() {
    const WaitingRead read = [this](WaitingWork& work) {
        return ReadBack::readCommandTable(link_.comon(), work, commands_);
    };
    if (runInWaitingWindow) {
        return runInWaitingWindow(read);
    }
    InPlaceWork work;
    return read(work);
}

void ProjectSection::showCommandEditor() {
    mode_ = EditorMode::CommandList;
    showEditor();
}
