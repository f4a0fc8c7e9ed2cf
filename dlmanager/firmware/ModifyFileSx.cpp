#include "firmware/ModifyFileSx.h"

#include "base/PictureFiles.h"
#include "base/ProgramSettings.h"
#include "widgets/JpegPicture.h"
#include "widgets/ScreenFit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr QSize PictureSize(480, 300);

// The merge runs without returning to the event loop; the bar repaints as it moves.
class ProgressBarMerge final : public MergeProgress {
public:
    explicit ProgressBarMerge(QProgressBar& bar) : bar_(bar) {}
    void setMaximum(int maximum) override { bar_.setMaximum(maximum); }
    void setPosition(int position) override { bar_.setValue(position); }

private:
    QProgressBar& bar_;
};

// The steps are separated by a line feed and a carriage return; a label would show the carriage
// return as a blank at the start of the next line.
QString shownLines(QString instructions) {
    return instructions.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
}

}  // namespace

TFModifyFileSx::TFModifyFileSx(QWidget* parent, Prompts* prompts)
    : QDialog(parent), toolkitPrompts_(this), prompts_(prompts ? prompts : &toolkitPrompts_) {
    setObjectName(QStringLiteral("FModifyFileSx"));
    setWindowTitle(QStringLiteral("'"));
    setModal(true);

    L_NameFirmware = new QLabel(QStringLiteral("Name new Firmware:"), this);
    E_NameFirmware = new QLineEdit(this);
    E_NameFirmware->setReadOnly(true);
    // Shown, not edited: the keys go from button to button.
    E_NameFirmware->setFocusPolicy(Qt::ClickFocus);
    L_NameFirmware->setBuddy(E_NameFirmware);
    auto* nameRow = new QHBoxLayout();
    nameRow->addWidget(L_NameFirmware);
    nameRow->addWidget(E_NameFirmware, 1);

    Image_Step = new QLabel(this);
    Image_Step->setFixedSize(PictureSize);
    Image_Step->setAlignment(Qt::AlignCenter);

    L_Step = new QLabel(this);
    L_Step->setWordWrap(true);
    L_Step->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    L_Step->setMinimumHeight(L_Step->fontMetrics().lineSpacing() * 3);
    L_Com = new QLabel(this);
    L_Com->setFrameShape(QFrame::Box);
    // Framed by the style sheet like the read-only name field, not in the text's black.
    L_Com->setProperty("boxed", true);
    L_Com->setAlignment(Qt::AlignCenter);
    L_Com->setMinimumWidth(L_Com->fontMetrics().horizontalAdvance(QStringLiteral("COM88")) + 16);
    auto* stepRow = new QHBoxLayout();
    stepRow->addWidget(L_Step, 1);
    stepRow->addWidget(L_Com, 0, Qt::AlignTop);

    B_Previous = new QPushButton(QStringLiteral("&Previous"), this);
    B_Next = new QPushButton(QStringLiteral("&Next"), this);
    B_Execute = new QPushButton(QStringLiteral("&Execute update firmware"), this);
    auto* buttonRow = new QHBoxLayout();
    buttonRow->addWidget(B_Previous);
    buttonRow->addWidget(B_Next);
    buttonRow->addStretch(1);
    buttonRow->addWidget(B_Execute);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setTextVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addWidget(Image_Step, 0, Qt::AlignHCenter);
    layout->addLayout(stepRow);
    layout->addLayout(buttonRow);
    layout->addWidget(ProgressBar1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(B_Previous, &QPushButton::clicked, this, [this] {
        pages_.previous();
        showPage();
    });
    connect(B_Next, &QPushButton::clicked, this, [this] {
        pages_.next();
        showPage();
    });
    connect(B_Execute, &QPushButton::clicked, this, &TFModifyFileSx::execute);
}

void TFModifyFileSx::showModal(const ProgramSettings& settings) {
    prepare(settings);
    exec();
}

void TFModifyFileSx::prepare(const ProgramSettings& settings) {
    fitPictureToScreen();
    update_ = firmwareUpdateFor(settings);
    pages_.reset();
    L_Com->setText(portBoxText(update_.portIndex));
    ProgressBar1->setValue(0);
    E_NameFirmware->setText(update_.outputName);
    showPage();
}

// On a small or highly scaled screen the picture gives up height, so that the window, with its
// buttons, stays whole on the screen.
void TFModifyFileSx::fitPictureToScreen() {
    // The tallest the window may be on its screen, with room left for its frame.
    const int tallest = openingGeometryOnScreen(*this, QSize(width(), QWIDGETSIZE_MAX)).height();
    const int room = tallest - (sizeHint().height() - Image_Step->height());
    Image_Step->setFixedSize(room >= PictureSize.height()
                                 ? PictureSize
                                 : PictureSize.scaled(PictureSize.width(),
                                                      std::max(room, PictureSize.height() / 3),
                                                      Qt::KeepAspectRatio));
}

void TFModifyFileSx::showPage() {
    L_Step->setText(shownLines(pages_.instructions()));
    // A missing or broken picture leaves the area empty.
    showPicture(*Image_Step,
                loadJpegPicture(PictureFiles::path(update_.executableFolder, pages_.pictureName())),
                Image_Step->size());
    B_Previous->setEnabled(pages_.previousEnabled());
    B_Next->setEnabled(pages_.nextEnabled());
    B_Execute->setEnabled(pages_.executeEnabled());
    // Return goes on through the pages: to the next one, then the update, else back.
    QPushButton* onward = pages_.nextEnabled()      ? B_Next
                          : pages_.executeEnabled() ? B_Execute
                                                    : B_Previous;
    onward->setDefault(true);
    onward->setFocus();
}

void TFModifyFileSx::execute() {
    ProgressBarMerge progress(*ProgressBar1);
    executeUpdate(update_, *prompts_, progress);
}
