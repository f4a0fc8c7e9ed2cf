#pragma once

#include <QDialog>
#include <optional>

class QComboBox;
class QPushButton;

// "Select Communicatio Port": the list "Com1" ... "Com8"; each entry's tooltip names the device
// it stands for and whether it exists and can be opened.
class TFComPort : public QDialog {
    Q_OBJECT
public:
    static constexpr int PortCount = 8;

    explicit TFComPort(QWidget* parent = nullptr);

    // Shows the list on `current`; the chosen entry, or nothing when cancelled. `heldPort` is the
    // port the program's own link holds, which is not tried.
    std::optional<int> choose(int current, std::optional<int> heldPort);

    QComboBox* CB_Port;
    QPushButton* B_OK;
    QPushButton* B_Cancel;

private:
    void describePorts(std::optional<int> heldPort);
};
