#include "widgets/Lamp.h"

#include <QPainter>

QColor Lamp::colorOf(LampColour colour) {
    switch (colour) {
        case LampColour::Red:
            return Red;
        case LampColour::Yellow:
            return Yellow;
        case LampColour::Green:
            return Green;
        case LampColour::White:
            break;
    }
    return White;
}

Lamp::Lamp(QWidget* parent, Shape shape) : QWidget(parent), shape_(shape) {
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
    const QRectF area = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    if (shape_ == Shape::Circle) {
        painter.drawEllipse(area);
    } else {
        painter.drawRoundedRect(area, 4, 4);
    }
}
