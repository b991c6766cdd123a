#include "port/qt/form2.h"

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

Form2::Form2(SettingsStore& store, QWidget* parent) : Form2(store, DetectSerialPorts(), parent) {}

Form2::Form2(SettingsStore& store, QList<DetectedSerialPort> detected, QWidget* parent)
    : QDialog(parent),
      store_(store),
      detected_(std::move(detected)),
      Combo1(new QComboBox(this)),
      cboDevice(new QComboBox(this)),
      lblDeviceInfo(new QLabel(this)),
      Command1(new QPushButton(QStringLiteral("&OK"), this)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Com Port"));
    setModal(true);

    Combo1->setObjectName(QStringLiteral("Combo1"));
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(9);
    Combo1->setFont(fixed);

    auto* lblDevice = new QLabel(QStringLiteral("&Device:"), this);
    lblDevice->setObjectName(QStringLiteral("lblDevice"));
    lblDevice->setBuddy(cboDevice);
    cboDevice->setObjectName(QStringLiteral("cboDevice"));
    cboDevice->setEditable(true);
    // Enter in the field presses OK; it must not add the text to the list.
    cboDevice->setInsertPolicy(QComboBox::NoInsert);
    cboDevice->setItemDelegate(new DeviceItemDelegate(cboDevice));
    cboDevice->setMinimumContentsLength(28);
    lblDeviceInfo->setObjectName(QStringLiteral("lblDeviceInfo"));
    lblDeviceInfo->setTextFormat(Qt::PlainText);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Combo1);
    layout->addSpacing(6);
    layout->addWidget(lblDevice);
    layout->addWidget(cboDevice);
    layout->addWidget(lblDeviceInfo);
    layout->addLayout(buttons);

    Form_Load();

    connect(Combo1, &QComboBox::currentIndexChanged, this, &Form2::Combo1_Click);
    connect(cboDevice, &QComboBox::editTextChanged, this, &Form2::ShowDeviceInfo);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
}

void Form2::Form_Load() {
    for (int n = 1; n <= kPortCount; ++n) {
        Combo1->addItem(QStringLiteral("COM %1").arg(n));
    }
    for (const DetectedSerialPort& port : detected_) {
        cboDevice->addItem(port.path);
        cboDevice->setItemData(cboDevice->count() - 1, DescribeDetected(port), kInfoRole);
    }

    // The stored text selects the entry that shows it. A hand-edited value
    // that matches no entry shows the port a connection would actually use
    // (" 3" and "3.0" open COM 3), and COM 1 when that is outside the list.
    const QString stored =
        QString::fromStdString(settings::ReadText(store_, "CommPort", settings::Use::PortDialog));
    int index = Combo1->findText(QStringLiteral("COM ") + stored);
    if (index < 0) {
        const int used = settings::ReadInt(store_, "CommPort", settings::Use::InitPort);
        index = used >= 1 && used <= kPortCount ? used - 1 : 0;
    }
    Combo1->setCurrentIndex(index);
    ShowDevice(SelectedPort());
}

void Form2::Combo1_Click() {
    devices_[shownPort_] = cboDevice->currentText();
    ShowDevice(SelectedPort());
}

void Form2::Command1_Click() {
    devices_[shownPort_] = cboDevice->currentText();

    // The entry's last two characters, trimmed: "COM 3" gives "3", "COM 10"
    // gives "10".
    const QString port = Combo1->currentText().right(2).trimmed();
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

int Form2::SelectedPort() const {
    return Combo1->currentIndex() + 1;
}

QString Form2::StoredDevice(int port) const {
    auto stored = store_.value(kPortsSection, PortKey(port));
    QString path = stored ? QString::fromStdString(*stored).trimmed() : QString();
    return path.isEmpty() ? DefaultDevice(port) : path;
}

void Form2::ShowDevice(int port) {
    shownPort_ = port;
    auto it = devices_.find(port);
    const QString text = it != devices_.end() ? it->second : StoredDevice(port);
    cboDevice->lineEdit()->setPlaceholderText(DefaultDevice(port));
    cboDevice->setEditText(text);
    ShowDeviceInfo(text);
}

void Form2::ShowDeviceInfo(const QString& path) {
    const QString wanted = Canonical(path.trimmed());
    for (const DetectedSerialPort& port : detected_) {
        if (port.path == path.trimmed() || Canonical(port.path) == wanted) {
            lblDeviceInfo->setText(DescribeDetected(port));
            return;
        }
    }
    lblDeviceInfo->setText(
        path.trimmed().isEmpty()
            ? QStringLiteral("Empty: COM %1 uses %2").arg(shownPort_).arg(DefaultDevice(shownPort_))
            : QStringLiteral("Not among the serial devices detected now"));
}

}  // namespace veltra
