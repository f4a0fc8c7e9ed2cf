#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About window: the maker, the application title, the version and where to ask.
class TFAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr);

    QLabel* L_VTL;
    QLabel* L_Info;
    QPushButton* B_OK;
};
