#pragma once

#include <QColor>
#include <QWidget>

// A round status lamp: red, yellow, green, or white before any state has been read.
class Lamp : public QWidget {
    Q_OBJECT
public:
    static inline const QColor Red{0xFF, 0x00, 0x00};
    static inline const QColor Yellow{0xFF, 0xFF, 0x00};
    static inline const QColor Green{0x00, 0xFF, 0x00};
    static inline const QColor White{0xFF, 0xFF, 0xFF};

    explicit Lamp(QWidget* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);

    QSize sizeHint() const override { return {18, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_ = White;
};
