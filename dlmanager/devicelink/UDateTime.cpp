#include "devicelink/UDateTime.h"

#include "base/Prompts.h"
#include "devicelink/ClockEntry.h"
#include "devicelink/Comon.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* addField(QFormLayout* form, const QString& caption, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setMaximumWidth(70);
    form->addRow(caption, field);
    return field;
}

}  // namespace

TFDateTime::TFDateTime(Comon& comon, Prompts& prompts, QWidget* parent)
    : QDialog(parent), comon_(comon), prompts_(prompts) {
    setObjectName(QStringLiteral("FDateTime"));
    setWindowTitle(QStringLiteral("Read/Write date time"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    auto* outer = new QGroupBox(QStringLiteral("Write Date Time"), this);
    auto* dateGroup = new QGroupBox(QStringLiteral("Date"), outer);
    auto* dateForm = new QFormLayout(dateGroup);
    EDay = addField(dateForm, QStringLiteral("&Day"), dateGroup);
    EMonth = addField(dateForm, QStringLiteral("M&onth"), dateGroup);
    EYear = addField(dateForm, QStringLiteral("&Year"), dateGroup);
    auto* timeGroup = new QGroupBox(QStringLiteral("Time"), outer);
    auto* timeForm = new QFormLayout(timeGroup);
    EHour = addField(timeForm, QStringLiteral("&Hour"), timeGroup);
    EMinute = addField(timeForm, QStringLiteral("M&inute"), timeGroup);
    ESecond = addField(timeForm, QStringLiteral("&Second"), timeGroup);
    auto* groups = new QHBoxLayout(outer);
    groups->addWidget(dateGroup);
    groups->addWidget(timeGroup);

    BWrite = new QPushButton(QStringLiteral("&Write Date"), this);
    // Enter in ESecond means nothing: no button takes it.
    BWrite->setAutoDefault(false);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(BWrite);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(outer);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const auto all = fields();
    for (size_t i = 0; i + 1 < all.size(); ++i) {
        all[i]->installEventFilter(this);
        setTabOrder(all[i], all[i + 1]);
    }
    connect(BWrite, &QPushButton::clicked, this, whenLinkIdle(comon_, [this] { writeDate(); }));
}

std::array<QLineEdit*, 6> TFDateTime::fields() const {
    return {EDay, EMonth, EYear, EHour, EMinute, ESecond};
}

void TFDateTime::showEvent(QShowEvent* event) {
    const ClockEntry::Fields proposed = ClockEntry::proposedFields(now());
    const auto all = fields();
    for (size_t i = 0; i < all.size(); ++i) {
        all[i]->setText(proposed[i]);
    }
    EDay->setFocus();
    QDialog::showEvent(event);
}

bool TFDateTime::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const auto all = fields();
        for (size_t i = 0; i + 1 < all.size(); ++i) {
            if (watched == all[i] && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
                all[i + 1]->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFDateTime::writeDate() {
    // A second click held behind the first finds the dialog closed.
    if (!isVisible()) {
        return;
    }
    ClockEntry::Fields texts;
    const auto all = fields();
    for (size_t i = 0; i < all.size(); ++i) {
        texts[i] = all[i]->text();
    }
    const ClockEntry::Checked checked = ClockEntry::check(texts);
    if (!checked.error.isEmpty()) {
        prompts_.inform(checked.error);
        return;
    }
    ClockEntry::write(comon_, checked.values);
    accept();
}
