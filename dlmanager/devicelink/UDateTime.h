#pragma once

#include <QDateTime>
#include <QDialog>
#include <array>
#include <functional>

class Comon;
class Prompts;
class QLineEdit;
class QPushButton;

// "Read/Write date time": proposes the computer's date and time, checks the six values the
// user leaves in the fields and writes them to the logger's clock.
class TFDateTime : public QDialog {
    Q_OBJECT
public:
    TFDateTime(Comon& comon, Prompts& prompts, QWidget* parent = nullptr);

    // The computer's clock, replaceable for tests.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    QLineEdit* EDay;
    QLineEdit* EMonth;
    QLineEdit* EYear;
    QLineEdit* EHour;
    QLineEdit* EMinute;
    QLineEdit* ESecond;
    QPushButton* BWrite;

protected:
    void showEvent(QShowEvent* event) override;
    // Enter in a field before ESecond moves on to the next field.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLineEdit*, 6> fields() const;
    void writeDate();

    Comon& comon_;
    Prompts& prompts_;
};
