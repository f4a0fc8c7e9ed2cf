#include "loggeddata/USelectCmd.h"

#include "widgets/DataGrid.h"
#include "widgets/ScreenFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

const QString VisibleText = QStringLiteral("Visible");
const QString HideText = QStringLiteral("Hide");
enum Column { Number, VisibleColumn, Description, Address, Points };

// The "Visible" cell is chosen from its two words, nothing else.
class VisibleDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* editor = new QComboBox(parent);
        editor->addItems({VisibleText, HideText});
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QComboBox*>(editor)->setCurrentText(index.data().toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText());
    }
};

QStandardItem* fixedItem(const QString& text) {
    auto* item = new QStandardItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

}  // namespace

TFSelectCmd::TFSelectCmd(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FSelectCmd"));
    auto* layout = new QVBoxLayout(this);
    items_ = new QStandardItemModel(0, 5, this);
    items_->setHorizontalHeaderLabels({QStringLiteral("N"), VisibleText,
                                       QStringLiteral("Description"), QStringLiteral("Address"),
                                       QStringLiteral("N° Point")});
    SG_Cmd = new DataGrid(this);
    SG_Cmd->setModel(items_);
    SG_Cmd->verticalHeader()->hide();
    SG_Cmd->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Every column fits its texts; the description takes the room that is left.
    SG_Cmd->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    SG_Cmd->horizontalHeader()->setSectionResizeMode(Description, QHeaderView::Stretch);
    SG_Cmd->setWordWrap(false);
    SG_Cmd->setItemDelegateForColumn(VisibleColumn, new VisibleDelegate(SG_Cmd));
    SG_Cmd->setEditTriggers(QAbstractItemView::AllEditTriggers);
    layout->addWidget(SG_Cmd, 1);

    auto* buttons = new QHBoxLayout();
    B_AllVisible = new QPushButton(QStringLiteral("All &Visible"), this);
    B_AllHide = new QPushButton(QStringLiteral("All &Hide"), this);
    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    B_OK->setDefault(true);
    for (QPushButton* button : {B_AllVisible, B_AllHide, B_OK, B_Cancel}) {
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);

    P_Bottom = new QWidget(this);
    auto* bottom = new QHBoxLayout(P_Bottom);
    bottom->setContentsMargins(0, 0, 0, 0);
    GB_TypeOfData = new QGroupBox(QStringLiteral("Type of Data"), P_Bottom);
    CB_TypeOfData = new QComboBox(GB_TypeOfData);
    CB_TypeOfData->addItems(
        {QStringLiteral("Decimal"), QStringLiteral("Hexadecimal"), QStringLiteral("Binary")});
    (new QHBoxLayout(GB_TypeOfData))->addWidget(CB_TypeOfData);
    GB_VisibleIndex = new QGroupBox(QStringLiteral("Visible Index"), P_Bottom);
    CB_VisibleIndex = new QCheckBox(QStringLiteral("Visible &Index"), GB_VisibleIndex);
    (new QHBoxLayout(GB_VisibleIndex))->addWidget(CB_VisibleIndex);
    bottom->addWidget(GB_TypeOfData);
    bottom->addWidget(GB_VisibleIndex);
    layout->addWidget(P_Bottom);
    resize(openingGeometryOnScreen(*this, QSize(560, 420)).size());

    connect(B_AllVisible, &QPushButton::clicked, this, [this] { setAll(true); });
    connect(B_AllHide, &QPushButton::clicked, this, [this] { setAll(false); });
    connect(B_OK, &QPushButton::clicked, this, [this] {
        takeFlags();
        accept();
    });
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(items_, &QStandardItemModel::itemChanged, this, [this](QStandardItem* item) {
        if (!filling_ && mode_ == ChartChoice && item->column() == VisibleColumn && commands_) {
            (*commands_)[size_t(item->row())].Visible = rowVisible(item->row()) ? 1 : 0;
        }
    });
}

int TFSelectCmd::run(Mode mode, CommandList& commands) {
    mode_ = mode;
    commands_ = &commands;
    setWindowTitle(mode == Filter ? QStringLiteral("Filter & Param")
                                  : QStringLiteral("Select Command for Chart"));
    GB_TypeOfData->setVisible(mode == Filter);
    GB_VisibleIndex->setVisible(mode == Filter);
    P_Bottom->setFixedHeight(mode == Filter ? 76 : 25);
    fill();
    const int result = exec();
    commands_ = nullptr;
    return result;
}

DisplayBase TFSelectCmd::displayBase() const {
    return DisplayBase(CB_TypeOfData->currentIndex());
}

bool TFSelectCmd::visibleIndex() const {
    return CB_VisibleIndex->isChecked();
}

void TFSelectCmd::fill() {
    filling_ = true;
    items_->setRowCount(int(commands_->size()));
    for (int row = 0; row < int(commands_->size()); ++row) {
        const Comandi& command = (*commands_)[size_t(row)];
        items_->setItem(row, Number, fixedItem(QString::number(row)));
        auto* visible = new QStandardItem(command.Visible ? VisibleText : HideText);
        visible->setTextAlignment(Qt::AlignCenter);
        items_->setItem(row, VisibleColumn, visible);
        items_->setItem(row, Description, fixedItem(command.Description));
        items_->setItem(row, Address, fixedItem(QString::number(command.DataAddress)));
        items_->setItem(row, Points, fixedItem(QString::number(command.PointCount)));
    }
    filling_ = false;
}

void TFSelectCmd::setAll(bool visible) {
    for (Comandi& command : *commands_) {
        command.Visible = visible ? 1 : 0;
    }
    fill();
}

void TFSelectCmd::takeFlags() {
    for (int row = 0; row < int(commands_->size()); ++row) {
        (*commands_)[size_t(row)].Visible = rowVisible(row) ? 1 : 0;
    }
}

bool TFSelectCmd::rowVisible(int row) const {
    const QStandardItem* item = items_->item(row, VisibleColumn);
    return item && item->text() == VisibleText;
}
