#include "shell/UTessitoreFirmWare.h"

#include "base/PictureFiles.h"
#include "base/ProductTexts.h"
#include "devicelink/ConnectSection.h"
#include "devicelink/LinkStatusBar.h"
#include "firmware/ModifyFileSx.h"
#include "loggeddata/DownloadDataSection.h"
#include "loggeddata/SupervisedDataLink.h"
#include "loggeddata/UWaiting.h"
#include "projects/ProjectSection.h"
#include "shell/UAbout.h"
#include "widgets/ClickableLabel.h"
#include "widgets/ScreenFit.h"
#include "widgets/SectionTile.h"
#include "widgets/WidgetStyle.h"

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <cstdio>

namespace {

// The window opens about this size, centred on the screen.
constexpr QSize OpeningSize(1000, 700);

}  // namespace

TFTessitoreFirmWare::TFTessitoreFirmWare(const ProgramPlaces& places, Prompts* prompts,
                                         const ModbusLibrary& library)
    : state_(startUp(places)),
      toolkitPrompts_(this),
      prompts_(prompts ? prompts : &toolkitPrompts_),
      comon_(library, *prompts_, [this] { return state_.settings.ComPortNumber; }),
      link_(comon_, state_.settings, *prompts_) {
    setObjectName(QStringLiteral("FTessitoreFirmWare"));

    // Left column and content area above, the status bar along the bottom.
    auto* outer = new QWidget(this);
    auto* rows = new QVBoxLayout(outer);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    auto* columns = new QHBoxLayout();
    columns->setSpacing(0);
    // Both columns scroll where the screen is too small for them, rather than leaving the
    // window larger than the screen.
    leftColumnArea_ = new QScrollArea(outer);
    leftColumnArea_->setObjectName(QStringLiteral("LeftColumnArea"));
    leftColumnArea_->setFrameShape(QFrame::NoFrame);
    leftColumnArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    leftColumnArea_->setWidget(buildLeftColumn());
    leftColumnArea_->setWidgetResizable(true);
    leftColumnArea_->installEventFilter(this);
    columns->addWidget(leftColumnArea_);
    auto* contentArea = new QScrollArea(outer);
    contentArea->setObjectName(QStringLiteral("ContentArea"));
    contentArea->setFrameShape(QFrame::NoFrame);
    P_Content = new QStackedWidget(contentArea);
    P_Content->setObjectName(QStringLiteral("Content"));
    P_Content->setAttribute(Qt::WA_StyledBackground);
    contentArea->setWidget(P_Content);
    contentArea->setWidgetResizable(true);
    columns->addWidget(contentArea, 1);
    rows->addLayout(columns, 1);
    P_Status = new LinkStatusBar(link_, outer);
    rows->addWidget(P_Status);
    setCentralWidget(outer);

    P_Connect = new ConnectSection(link_, P_Content);
    addSection(Section::Connect, P_Connect, [this] { link_.loadStartStopOptions(); });
    P_Project = new ProjectSection(state_.settings, state_.commands, *prompts_, link_, P_Content);
    addSection(
        Section::EditProject, P_Project,
        [this] { P_Project->enableDeviceButtons(link_.isConnected()); },
        [this] { P_Project->enableDeviceButtons(false); });
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

    placeOnScreen();

    // Until a project operation names a project, the caption stands alone.
    setWindowTitle(
        Settings::windowTitle(ProductTexts::ProductCaption,
                              state_.projectReopened ? &state_.settings.ProjectName : nullptr));
}

TFTessitoreFirmWare::~TFTessitoreFirmWare() = default;

void TFTessitoreFirmWare::placeOnScreen() {
    setGeometry(openingGeometryOnScreen(*this, OpeningSize));
}

bool TFTessitoreFirmWare::eventFilter(QObject* watched, QEvent* event) {
    if (watched == leftColumnArea_ && event->type() == QEvent::Resize) {
        fitLeftColumn();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFTessitoreFirmWare::fitLeftColumn() {
    // The column keeps its width and gains the scroll bar's only when it has to scroll.
    const QWidget* column = leftColumnArea_->widget();
    const bool scrolls = leftColumnArea_->height() < column->minimumSizeHint().height();
    const int bar = scrolls ? leftColumnArea_->verticalScrollBar()->sizeHint().width() : 0;
    leftColumnArea_->setFixedWidth(column->minimumWidth() + bar);
}

void TFTessitoreFirmWare::addDownloadDataSection() {
    dataLink_ = std::make_unique<SupervisedDataLink>(link_);
    PBC_ManDati = new DownloadDataSection(
        DataSectionContext{*dataLink_, state_.commands, *prompts_,
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
    connect(P_Project, &ProjectSection::commandListChanged, PBC_ManDati,
            &DownloadDataSection::forgetChartBeyondTheList);
}

void TFTessitoreFirmWare::attachLinkDialogs(TFComPort* portDialog, TFDateTime* clockDialog) {
    P_Connect->attachDialogs(portDialog, clockDialog);
}

void TFTessitoreFirmWare::attachProjectDialogs(TFsaveproj* newProjectDialog,
                                               TFpargen* settingsDialog) {
    P_Project->attachDialogs(newProjectDialog, settingsDialog);
}

void TFTessitoreFirmWare::attachFirmwareWizard(TFModifyFileSx* wizard) {
    FModifyFileSx_ = wizard;
    connect(P_Project, &ProjectSection::firmwareWizardRequested, this, [this] {
        if (FModifyFileSx_) {
            FModifyFileSx_->showModal(state_.settings);
        }
    });
}

void TFTessitoreFirmWare::attachLoggedDataWindows(TFWaiting* waiting, TFSelectCmd* selectCmd,
                                                  TF_Erase_Mem* eraseWindow) {
    P_Project->runInWaitingWindow = [waiting](const ProjectSection::WaitingRead& read) {
        return waiting->run(TFWaiting::ReadCommand, read) == 1;
    };
    PBC_ManDati->attachWindows(waiting, selectCmd, eraseWindow);
}

void TFTessitoreFirmWare::addSection(Section section, QWidget* panel, std::function<void()> prepare,
                                     std::function<void()> linkIdle) {
    P_Content->addWidget(panel);
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setProperty(WidgetStyle::PanelProperty, true);
    panel->hide();
    sections_[section] = {panel, std::move(prepare), std::move(linkIdle)};
}

void TFTessitoreFirmWare::showSection(Section section) {
    // Unsaved edits of the command list are saved, dropped or kept before another section shows.
    if (shown_ == Section::EditProject && section != Section::EditProject &&
        !P_Project->mayLeave()) {
        return;
    }
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
    const std::pair<Section, SectionTile*> tiles[] = {{Section::Connect, Tile_Connect},
                                                      {Section::EditProject, Tile_Edit_Project},
                                                      {Section::DownloadData, Tile_Download_Data}};
    for (const auto& [tileSection, tile] : tiles) {
        tile->setCurrent(tileSection == section);
    }
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
    column->setAttribute(Qt::WA_StyledBackground);
    column->setFixedWidth(190);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(16);

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

    const QString& folder = state_.settings.ExecutableFolder;
    Tile_Connect = new SectionTile(PictureFiles::path(folder, PictureFiles::ConnectTile),
                                   QStringLiteral("&Connect"),
                                   QStringLiteral("Connect, sconnect and set date"), column);
    Tile_Edit_Project = new SectionTile(PictureFiles::path(folder, PictureFiles::EditProjectTile),
                                        QStringLiteral("&Edit Project"), QString(), column);
    Tile_Download_Data = new SectionTile(PictureFiles::path(folder, PictureFiles::DownloadDataTile),
                                         QStringLiteral("&Download Data"), QString(), column);
    B_Connect = Tile_Connect->button;
    B_Edit_Project = Tile_Edit_Project->button;
    B_Download_Data = Tile_Download_Data->button;
    for (SectionTile* tile : {Tile_Connect, Tile_Edit_Project, Tile_Download_Data}) {
        layout->addWidget(tile);
    }
    layout->addStretch(1);
    return column;
}

void TFTessitoreFirmWare::closeEvent(QCloseEvent* event) {
    if (!closingOnSignal_ && !P_Project->mayLeave()) {
        event->ignore();
        return;
    }
    link_.Timer_Com.stop();
    QString reason;
    if (!Settings::writeLastProject(state_.settings, &reason)) {
        const QString message = Settings::settingsWriteFailureText(state_.settings, reason);
        if (closingOnSignal_) {
            // A service manager or a logout is waiting for the process to end.
            std::fprintf(stderr, "%s\n", qPrintable(message));
        } else {
            prompts_->warn(message);
        }
    }
    event->accept();
}
