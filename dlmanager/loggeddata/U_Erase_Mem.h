#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;
class QProgressBar;

// Holds the user while the datalogger erases its memory. It has no way out of its own: the
// status poll closes it when the device reports run or stop, and the link's loss closes it.
// The bar shows time gone by, a step every 2.8 s, full after 28 s.
class TF_Erase_Mem : public QDialog {
    Q_OBJECT
public:
    static constexpr int StepMs = 2800;

    explicit TF_Erase_Mem(QWidget* parent = nullptr);

    // Closes the window with OK.
    void finish();

    QLabel* L_Wait;
    QProgressBar* PB_Erase;
    QTimer Timer_Erase;

public slots:
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool finishing_ = false;
};
