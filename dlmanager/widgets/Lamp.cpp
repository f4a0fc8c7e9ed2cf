#include "widgets/Lamp.h"

#include <QPainter>

Lamp::Lamp(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
}

void Lamp::setColor(const QColor& color) {
    if (color != color_) {
        color_ = color;
        update();
    }
}

void Lamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    painter.setBrush(color_);
    painter.drawEllipse(rect().adjusted(1, 1, -2, -2));
}
