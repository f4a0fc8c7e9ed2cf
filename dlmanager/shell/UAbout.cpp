#include "shell/UAbout.h"

#include "base/ProductTexts.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFAbout::TFAbout(const QString& programFolder, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
    setModal(true);

    L_VTL = new QLabel(ProductTexts::Maker, this);
    QFont makerFont = L_VTL->font();
    makerFont.setBold(true);
    makerFont.setPointSize(makerFont.pointSize() + 6);
    L_VTL->setFont(makerFont);
    L_VTL->setAlignment(Qt::AlignCenter);

    L_Info = new QLabel(this);
    L_Info->setAlignment(Qt::AlignCenter);
    L_Info->setText(QStringList{ProductTexts::ApplicationTitle, QStringLiteral("Vers  0.0"),
                                QString(), QStringLiteral("info at:"), ProductTexts::ContactMail,
                                ProductTexts::ContactWeb}
                        .join(QLatin1Char('\n')));

    L_Folder = new QLabel(
        QStringLiteral("Program folder:\n") + QDir::toNativeSeparators(programFolder), this);
    L_Folder->setAlignment(Qt::AlignCenter);
    L_Folder->setTextInteractionFlags(Qt::TextSelectableByMouse);

    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setDefault(true);
    connect(B_OK, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 20, 32, 16);
    layout->setSpacing(12);
    layout->addWidget(L_VTL);
    layout->addWidget(L_Info);
    layout->addWidget(L_Folder);
    layout->addWidget(B_OK, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
