#include "widgets/SectionTile.h"

#include "widgets/JpegPicture.h"
#include "widgets/WidgetStyle.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr QSize PictureSize(160, 100);

}  // namespace

SectionTile::SectionTile(const QString& picturePath, const QString& text, const QString& hint,
                         QWidget* parent)
    : QWidget(parent) {
    picture = new QLabel(this);
    picture->setFixedSize(PictureSize);
    picture->setAlignment(Qt::AlignCenter);
    showPicture(*picture, loadJpegPicture(picturePath), PictureSize);
    button = new QPushButton(text, this);
    button->setToolTip(hint);
    button->setProperty(WidgetStyle::SectionButtonProperty, true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addWidget(button);
}

void SectionTile::setCurrent(bool current) {
    button->setProperty(WidgetStyle::CurrentProperty, current);
    // A changed property takes effect in the style only when polished again.
    button->style()->unpolish(button);
    button->style()->polish(button);
}
