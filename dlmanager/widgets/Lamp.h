#pragma once

#include "devicelink/LinkState.h"

#include <QColor>
#include <QWidget>

// A status lamp: red, yellow, green, or white before any state has been read; round, or a
// square with softened corners.
class Lamp : public QWidget {
    Q_OBJECT
public:
    enum class Shape { Circle, RoundedSquare };

    static inline const QColor Red{0xFF, 0x00, 0x00};
    static inline const QColor Yellow{0xFF, 0xFF, 0x00};
    static inline const QColor Green{0x00, 0xFF, 0x00};
    static inline const QColor White{0xFF, 0xFF, 0xFF};
    static QColor colorOf(LampColour colour);

    explicit Lamp(QWidget* parent = nullptr, Shape shape = Shape::Circle);

    QColor color() const { return color_; }
    void setColor(const QColor& color);
    void setColour(LampColour colour) { setColor(colorOf(colour)); }
    Shape shape() const { return shape_; }

    QSize sizeHint() const override { return {18, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_ = White;
    Shape shape_;
};
