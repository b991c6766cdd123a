#include "port/qt/port_dialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/settings_store.h"
#include "shell/settings.h"

namespace veltra {

namespace {

constexpr int kPortCount = 10;
constexpr int kInfoRole = Qt::UserRole + 1;

QString DefaultDevice(int port) {
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

std::string PortKey(int port) {
    return "COM" + std::to_string(port);
}

// The same device under another name (a /dev/serial/by-id link) counts too.
QString Canonical(const QString& path) {
    QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

QString DescribeDetected(const DetectedSerialPort& port) {
    QStringList parts;
    if (!port.description.isEmpty()) {
        parts << port.description;
    }
    if (!port.serialNumber.isEmpty()) {
        parts << QStringLiteral("serial number %1").arg(port.serialNumber);
    }
    return parts.isEmpty() ? QStringLiteral("serial device") : parts.join(QStringLiteral(", "));
}

// The drop-down list of devices shows each path with what it is; the edit
// field keeps the bare path, which is what gets stored.
class DeviceItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        QString info = index.data(kInfoRole).toString();
        if (!info.isEmpty()) {
            option->text += QStringLiteral("  (%1)").arg(info);
        }
    }
};

}  // namespace

QList<DetectedSerialPort> DetectSerialPorts() {
    QList<DetectedSerialPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.append({info.systemLocation(), info.description(), info.serialNumber()});
    }
    std::sort(ports.begin(), ports.end(),
              [](const auto& a, const auto& b) { return a.path < b.path; });
    return ports;
}

PortDialog::PortDialog(SettingsStore& store, QWidget* parent)
    : PortDialog(store, DetectSerialPorts(), parent) {}

PortDialog::PortDialog(SettingsStore& store, QList<DetectedSerialPort> detected, QWidget* parent)
    : QDialog(parent),
      store_(store),
      detected_(std::move(detected)),
      portBox(new QComboBox(this)),
      deviceBox(new QComboBox(this)),
      deviceInfoLabel(new QLabel(this)),
      okButton(new QPushButton(QStringLiteral("&OK"), this)) {
    setObjectName(QStringLiteral("PortDialog"));
    setWindowTitle(QStringLiteral("Com Port"));
    setModal(true);

    portBox->setObjectName(QStringLiteral("portBox"));
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(9);
    portBox->setFont(fixed);

    auto* deviceLabel = new QLabel(QStringLiteral("&Device:"), this);
    deviceLabel->setObjectName(QStringLiteral("deviceLabel"));
    deviceLabel->setBuddy(deviceBox);
    deviceBox->setObjectName(QStringLiteral("deviceBox"));
    deviceBox->setEditable(true);
    // Enter in the field presses OK; it must not add the text to the list.
    deviceBox->setInsertPolicy(QComboBox::NoInsert);
    deviceBox->setItemDelegate(new DeviceItemDelegate(deviceBox));
    deviceBox->setMinimumContentsLength(28);
    deviceInfoLabel->setObjectName(QStringLiteral("deviceInfoLabel"));
    deviceInfoLabel->setTextFormat(Qt::PlainText);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(portBox);
    layout->addSpacing(6);
    layout->addWidget(deviceLabel);
    layout->addWidget(deviceBox);
    layout->addWidget(deviceInfoLabel);
    layout->addLayout(buttons);

    restoreSettings();

    connect(portBox, &QComboBox::currentIndexChanged, this, &PortDialog::onPortChosen);
    connect(deviceBox, &QComboBox::editTextChanged, this, &PortDialog::ShowDeviceInfo);
    connect(okButton, &QPushButton::clicked, this, &PortDialog::onOkClicked);
}

void PortDialog::restoreSettings() {
    for (int n = 1; n <= kPortCount; ++n) {
        portBox->addItem(QStringLiteral("COM %1").arg(n));
    }
    for (const DetectedSerialPort& port : detected_) {
        deviceBox->addItem(port.path);
        deviceBox->setItemData(deviceBox->count() - 1, DescribeDetected(port), kInfoRole);
    }

    // The stored text selects the entry that shows it. A hand-edited value
    // that matches no entry shows the port a connection would actually use
    // (" 3" and "3.0" open COM 3), and COM 1 when that is outside the list.
    const QString stored =
        QString::fromStdString(settings::ReadText(store_, "CommPort", settings::Use::PortDialog));
    int index = portBox->findText(QStringLiteral("COM ") + stored);
    if (index < 0) {
        const int used = settings::ReadInt(store_, "CommPort", settings::Use::InitPort);
        index = used >= 1 && used <= kPortCount ? used - 1 : 0;
    }
    portBox->setCurrentIndex(index);
    ShowDevice(SelectedPort());
}

void PortDialog::onPortChosen() {
    devices_[shownPort_] = deviceBox->currentText();
    ShowDevice(SelectedPort());
}

void PortDialog::onOkClicked() {
    devices_[shownPort_] = deviceBox->currentText();

    // The entry's last two characters, trimmed: "COM 3" gives "3", "COM 10"
    // gives "10".
    const QString port = portBox->currentText().right(2).trimmed();
    settings::WriteText(store_, "CommPort", port.toStdString());

    for (const auto& [n, text] : devices_) {
        QString path = text.trimmed();
        if (path.isEmpty()) {
            path = DefaultDevice(n);
        }
        if (path != StoredDevice(n)) {
            store_.setValue(kPortsSection, PortKey(n), path.toStdString());
        }
    }
    accept();
}

int PortDialog::SelectedPort() const {
    return portBox->currentIndex() + 1;
}

QString PortDialog::StoredDevice(int port) const {
    auto stored = store_.value(kPortsSection, PortKey(port));
    QString path = stored ? QString::fromStdString(*stored).trimmed() : QString();
    return path.isEmpty() ? DefaultDevice(port) : path;
}

void PortDialog::ShowDevice(int port) {
    shownPort_ = port;
    auto it = devices_.find(port);
    const QString text = it != devices_.end() ? it->second : StoredDevice(port);
    deviceBox->lineEdit()->setPlaceholderText(DefaultDevice(port));
    deviceBox->setEditText(text);
    ShowDeviceInfo(text);
}

void PortDialog::ShowDeviceInfo(const QString& path) {
    const QString wanted = Canonical(path.trimmed());
    for (const DetectedSerialPort& port : detected_) {
        if (port.path == path.trimmed() || Canonical(port.path) == wanted) {
            deviceInfoLabel->setText(DescribeDetected(port));
            return;
        }
    }
    deviceInfoLabel->setText(
        path.trimmed().isEmpty()
            ? QStringLiteral("Empty: COM %1 uses %2").arg(shownPort_).arg(DefaultDevice(shownPort_))
            : QStringLiteral("Not among the serial devices detected now"));
}

}  // namespace veltra
