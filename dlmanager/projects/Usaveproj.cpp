#include "projects/Usaveproj.h"

#include "base/ProgramSettings.h"
#include "firmware/FirmwareVariant.h"
#include "projects/ProjectWorkspace.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFsaveproj::TFsaveproj(ProgramSettings& settings, Prompts& prompts, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),  // no close box
      settings_(settings),
      prompts_(prompts) {
    setObjectName(QStringLiteral("Fsaveproj"));
    setWindowTitle(QStringLiteral("New project"));
    setModal(true);

    E_Name = new QLineEdit(this);
    E_Name->setMinimumWidth(260);
    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setDefault(true);
    B_Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(B_OK, &QPushButton::clicked, this, &TFsaveproj::confirm);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto* layout = new QVBoxLayout(this);
    auto* nameLabel = new QLabel(QStringLiteral("Project &name"), this);
    nameLabel->setBuddy(E_Name);
    layout->addWidget(nameLabel);
    layout->addWidget(E_Name);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int TFsaveproj::execFor(const QString& baseFolder) {
    baseFolder_ = baseFolder;
    E_Name->clear();
    E_Name->setFocus();
    return exec();
}

void TFsaveproj::confirm() {
    const QString name = E_Name->text();  // as typed: no trimming
    const auto folder = createProjectFolder(baseFolder_, name, prompts_);
    if (!folder) {
        return;  // the dialog stays open
    }
    settings_.ProjectName = name;
    settings_.ProjectFolder = *folder;
    if (FirmwareVariant == 2 && saveCommunicationSettingsInto) {
        saveCommunicationSettingsInto(*folder);
    }
    accept();
}
