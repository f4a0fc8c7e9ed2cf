#include "shell/UTessitoreFirmWare.h"

#include "devicelink/ConnectSection.h"
#include "devicelink/LinkStatusBar.h"
#include "loggeddata/DownloadDataSection.h"
#include "loggeddata/SupervisedDataLink.h"
#include "loggeddata/UWaiting.h"
#include "projects/ProjectSection.h"
#include "shell/ProductTexts.h"
#include "shell/UAbout.h"
#include "widgets/ClickableLabel.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
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

TFTessitoreFirmWare::TFTessitoreFirmWare(const QString& programFolder, Prompts* prompts,
                                         const ModbusLibrary& library)
    : state_(startUp(programFolder)),
      toolkitPrompts_(this),
      prompts_(prompts ? prompts : &toolkitPrompts_),
      comon_(library, *prompts_, [this] { return state_.settings.ComPortNumber; }),
      link_(comon_, state_.settings, *prompts_) {
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
    P_Status = new LinkStatusBar(link_, outer);
    rows->addWidget(P_Status);
    setCentralWidget(outer);

    // The waiting window serves the read-back of Edit Project and the download of Download Data.
    FWaiting_ = std::make_unique<TFWaiting>([this] { return comon_.CommAborted; }, this);
    P_Connect = new ConnectSection(link_, P_Content);
    addSection(Section::Connect, P_Connect, [this] { link_.loadStartStopOptions(); });
    P_Project = new ProjectSection(state_.settings, state_.commands, *prompts_, link_, P_Content);
    addSection(
        Section::EditProject, P_Project,
        [this] { P_Project->enableDeviceButtons(link_.isConnected()); },
        [this] { P_Project->enableDeviceButtons(false); });
    P_Project->runInWaitingWindow = [this](const ProjectSection::WaitingRead& read) {
        return FWaiting_->run(TFWaiting::ReadCommand, read) == 1;
    };
    connect(P_Project, &ProjectSection::projectOperationDone, this,
            &TFTessitoreFirmWare::applyTitleRule);
    connect(B_Connect, &QPushButton::clicked, this, [this] { showSection(Section::Connect); });
    connect(B_Edit_Project, &QPushButton::clicked, this,
            [this] { showSection(Section::EditProject); });
    connect(B_Download_Data, &QPushButton::clicked, this,
            [this] { showSection(Section::DownloadData); });
    connect(&link_, &LinkSupervisor::linkIdle, this,
            &TFTessitoreFirmWare::applyLinkIdleToShownSection);
    addDownloadDataSection();

    resize(1000, 700);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    // Until a project operation names a project, the caption stands alone.
    setWindowTitle(
        Settings::windowTitle(ProductTexts::ProductCaption,
                              state_.projectReopened ? &state_.settings.ProjectName : nullptr));
}

TFTessitoreFirmWare::~TFTessitoreFirmWare() = default;

void TFTessitoreFirmWare::addDownloadDataSection() {
    dataLink_ = std::make_unique<SupervisedDataLink>(link_);
    PBC_ManDati = new DownloadDataSection(
        DataSectionContext{*dataLink_, state_.commands, *prompts_, *FWaiting_,
                           [this] { return state_.settings.ProjectFolder; }},
        P_Content);
    addSection(
        Section::DownloadData, PBC_ManDati, [this] { PBC_ManDati->enterSection(); },
        [this] { PBC_ManDati->disableDeviceButtons(); });
    connect(this, &TFTessitoreFirmWare::sectionActionStarted, PBC_ManDati,
            &DownloadDataSection::leaveDebugView);
    connect(&link_, &LinkSupervisor::eraseFinished, PBC_ManDati,
            &DownloadDataSection::eraseFinished);
    // An erase can no longer be followed once the poll has stopped for good.
    connect(&link_, &LinkSupervisor::linkStateChanged, PBC_ManDati, [this](LinkState state) {
        if (state == LinkState::Closed || state == LinkState::Lost) {
            PBC_ManDati->linkGone();
        }
    });
    connect(&comon_, &Comon::reopenFailed, PBC_ManDati, &DownloadDataSection::linkGone);
}

void TFTessitoreFirmWare::attachLinkDialogs(TFComPort* portDialog, TFDateTime* clockDialog) {
    P_Connect->attachDialogs(portDialog, clockDialog);
}

void TFTessitoreFirmWare::attachProjectDialogs(TFsaveproj* newProjectDialog,
                                               TFpargen* settingsDialog) {
    P_Project->attachDialogs(newProjectDialog, settingsDialog);
}

void TFTessitoreFirmWare::addSection(Section section, QWidget* panel, std::function<void()> prepare,
                                     std::function<void()> linkIdle) {
    P_Content->addWidget(panel);
    panel->hide();
    sections_[section] = {panel, std::move(prepare), std::move(linkIdle)};
}

void TFTessitoreFirmWare::showSection(Section section) {
    emit sectionActionStarted();
    const auto entry = sections_.find(section);
    if (entry == sections_.end()) {
        return;
    }
    if (entry->second.prepare) {
        entry->second.prepare();
    }
    for (const auto& [other, otherEntry] : sections_) {
        if (other != section) {
            otherEntry.panel->hide();
        }
    }
    P_Content->setCurrentWidget(entry->second.panel);
    entry->second.panel->show();
    shown_ = section;
}

void TFTessitoreFirmWare::applyLinkIdleToShownSection() {
    if (!shown_) {
        return;
    }
    const SectionEntry& entry = sections_.at(*shown_);
    if (entry.linkIdle) {
        entry.linkIdle();
    }
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

void TFTessitoreFirmWare::closeEvent(QCloseEvent* event) {
    link_.Timer_Com.stop();
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
