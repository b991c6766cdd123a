#pragma once
// The port dialog: which COM port the detector is on, and which device of
// this computer each COM number stands for.

#include <QDialog>
#include <QList>
#include <QString>
#include <map>

class QComboBox;
class QLabel;
class QPushButton;

namespace veltra {

class SettingsStore;

// A serial device found on this computer.
struct DetectedSerialPort {
    QString path;  // "/dev/ttyUSB0"
    QString description;
    QString serialNumber;
};

// The serial devices present now, by path.
QList<DetectedSerialPort> DetectSerialPorts();

// Modal; the caller shows it under ModalGuard. OK stores the choice; closing
// it any other way stores nothing.
class PortDialog : public QDialog {
    Q_OBJECT
public:
    explicit PortDialog(SettingsStore& store, QWidget* parent = nullptr);
    PortDialog(SettingsStore& store, QList<DetectedSerialPort> detected, QWidget* parent = nullptr);

private:
    void restoreSettings();
    void onOkClicked();
    void onPortChosen();

    int SelectedPort() const;
    QString StoredDevice(int port) const;
    void ShowDevice(int port);
    void ShowDeviceInfo(const QString& path);

    SettingsStore& store_;
    QList<DetectedSerialPort> detected_;
    QComboBox* portBox;
    QComboBox* deviceBox;
    QLabel* deviceInfoLabel;
    QPushButton* okButton;
    // The device text of each port shown so far, kept while the dialog is
    // open so that switching between ports does not lose what was typed.
    std::map<int, QString> devices_;
    int shownPort_ = 0;
};

}  // namespace veltra
