#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// One tile of the main window's left column: a picture above the section's button. A missing
// or broken picture leaves its area empty.
class SectionTile : public QWidget {
    Q_OBJECT
public:
    SectionTile(const QString& picturePath, const QString& text, const QString& hint,
                QWidget* parent = nullptr);

    // Marks the tile of the section shown.
    void setCurrent(bool current);

    QLabel* picture;
    QPushButton* button;
};
