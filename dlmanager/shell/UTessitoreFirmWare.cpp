#include "shell/UTessitoreFirmWare.h"

#include "shell/ProductTexts.h"
#include "shell/UAbout.h"
#include "widgets/ClickableLabel.h"
#include "widgets/Lamp.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <cstdio>

namespace {

QPushButton* sectionButton(const QString& text, const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setToolTip(hint);
    button->setMinimumHeight(34);
    button->setStyleSheet(
        QStringLiteral("QPushButton { background: #FFFF9F; border: 1px solid "
                       "#B8B48A; padding: 4px; }"
                       "QPushButton:hover { background: #FFF36B; }"));
    return button;
}

}  // namespace

TFTessitoreFirmWare::TFTessitoreFirmWare(const QString& programFolder, Prompts* prompts)
    : state_(startUp(programFolder)),
      toolkitPrompts_(this),
      prompts_(prompts ? prompts : &toolkitPrompts_) {
    setObjectName(QStringLiteral("FTessitoreFirmWare"));
    setStyleSheet(
        QStringLiteral("QMainWindow, QWidget#Content { background: #F8F7ED; }"
                       "QWidget { color: #333333; }"));
    QFont font(QStringLiteral("Verdana"), 8);
    setFont(font);

    // Left column and content area above, the status bar along the bottom.
    auto* outer = new QWidget(this);
    auto* rows = new QVBoxLayout(outer);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    auto* columns = new QHBoxLayout();
    columns->setSpacing(0);
    columns->addWidget(buildLeftColumn());
    P_Content = new QStackedWidget(outer);
    P_Content->setObjectName(QStringLiteral("Content"));
    columns->addWidget(P_Content, 1);
    rows->addLayout(columns, 1);
    rows->addWidget(buildStatusBar());
    setCentralWidget(outer);

    resize(1000, 700);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    // Until a project operation names a project, the caption stands alone.
    setWindowTitle(
        Settings::windowTitle(ProductTexts::ProductCaption,
                              state_.projectReopened ? &state_.settings.ProjectName : nullptr));
    Stato_Com->setColor(Lamp::Red);
    Timer_Com.setInterval(StatusPollInterval);
}

void TFTessitoreFirmWare::applyTitleRule() {
    setWindowTitle(
        Settings::windowTitle(ProductTexts::ProductCaption, &state_.settings.ProjectName));
}

void TFTessitoreFirmWare::closeOnSignal() {
    closingOnSignal_ = true;
    close();
}

QWidget* TFTessitoreFirmWare::buildLeftColumn() {
    auto* column = new QWidget(this);
    column->setObjectName(QStringLiteral("LeftColumn"));
    column->setStyleSheet(QStringLiteral("QWidget#LeftColumn { background: #EEECD5; }"));
    column->setFixedWidth(190);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(14);

    L_VTL = new ClickableLabel(ProductTexts::Maker, column);
    QFont makerFont = L_VTL->font();
    makerFont.setBold(true);
    makerFont.setPointSize(16);
    L_VTL->setFont(makerFont);
    L_VTL->setAlignment(Qt::AlignCenter);
    L_VTL->setCursor(Qt::PointingHandCursor);
    L_VTL->setToolTip(QStringLiteral("About"));
    connect(L_VTL, &ClickableLabel::clicked, this, [this] {
        if (FAbout_) {
            FAbout_->exec();
        }
    });
    layout->addWidget(L_VTL);

    B_Connect = sectionButton(QStringLiteral("Connect"),
                              QStringLiteral("Connect, sconnect and set date"), column);
    B_Edit_Project = sectionButton(QStringLiteral("Edit Project"), QString(), column);
    B_Download_Data = sectionButton(QStringLiteral("Download Data"), QString(), column);
    layout->addWidget(B_Connect);
    layout->addWidget(B_Edit_Project);
    layout->addWidget(B_Download_Data);
    layout->addStretch(1);
    return column;
}

QWidget* TFTessitoreFirmWare::buildStatusBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setStyleSheet(QStringLiteral(
        "QWidget#StatusBar { background: #EEECD5; border-top: 1px solid #C8C4A0; }"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(8, 4, 8, 4);

    Stato_Com = new Lamp(bar);
    Stato_Com->setToolTip(QStringLiteral("Link"));
    L_Data = new QLabel(bar);
    L_Data->setMinimumWidth(180);
    S_Stato_DL = new Lamp(bar);
    S_Stato_DL->setToolTip(QStringLiteral("Datalogger state"));
    L_Stato = new QLabel(bar);
    B_RUN = new QPushButton(QStringLiteral("RUN"), bar);
    B_STOP = new QPushButton(QStringLiteral("STOP"), bar);
    B_RUN->setEnabled(false);
    B_STOP->setEnabled(false);

    layout->addWidget(Stato_Com);
    layout->addWidget(L_Data);
    layout->addSpacing(12);
    layout->addWidget(S_Stato_DL);
    layout->addWidget(L_Stato, 1);
    layout->addWidget(B_RUN);
    layout->addWidget(B_STOP);
    return bar;
}

void TFTessitoreFirmWare::closeEvent(QCloseEvent* event) {
    Timer_Com.stop();
    if (!Settings::writeLastProject(state_.settings)) {
        const QString message = QStringLiteral("Unable to write to ") +
                                QDir::toNativeSeparators(state_.settings.settingsFile());
        if (closingOnSignal_) {
            // A service manager or a logout is waiting for the process to end.
            std::fprintf(stderr, "%s\n", qPrintable(message));
        } else {
            prompts_->inform(message);
        }
    }
    event->accept();
}
