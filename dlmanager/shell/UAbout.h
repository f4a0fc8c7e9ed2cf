#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About window: the maker, the application title, the version, where to ask, and the
// program folder in use (the executable's, or the per-user one of an installed program).
class TFAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFAbout(const QString& programFolder, QWidget* parent = nullptr);

    QLabel* L_VTL;
    QLabel* L_Info;
    QLabel* L_Folder;
    QPushButton* B_OK;
};
