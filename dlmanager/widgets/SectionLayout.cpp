#include "widgets/SectionLayout.h"

#include <QLabel>
#include <QVBoxLayout>

namespace SectionLayout {

QVBoxLayout* columnOf(QWidget* section) {
    auto* layout = new QVBoxLayout(section);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(10);
    return layout;
}

QLabel* title(const QString& text, QWidget* section) {
    auto* label = new QLabel(text, section);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 4);
    label->setFont(font);
    return label;
}

}  // namespace SectionLayout
