// The port dialog: which COM number the detector is on, and which device
// each COM number stands for.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "port/qt/port_dialog.h"
#include "support/fakes.h"

namespace veltra {
namespace {

using test::MemorySettingsStore;

class PortDialogTest : public ::testing::Test {
protected:
    std::unique_ptr<PortDialog> open(QList<DetectedSerialPort> detected = {}) {
        auto dialog = std::make_unique<PortDialog>(store, std::move(detected));
        combo = dialog->findChild<QComboBox*>(QStringLiteral("portBox"));
        device = dialog->findChild<QComboBox*>(QStringLiteral("deviceBox"));
        info = dialog->findChild<QLabel*>(QStringLiteral("deviceInfoLabel"));
        ok = dialog->findChild<QPushButton*>(QStringLiteral("okButton"));
        return dialog;
    }
    void typeDevice(const QString& path) {
        device->lineEdit()->selectAll();
        QTest::keyClick(device->lineEdit(), Qt::Key_Backspace);
        QTest::keyClicks(device->lineEdit(), path);
    }

    MemorySettingsStore store;
    QComboBox* combo = nullptr;
    QComboBox* device = nullptr;
    QLabel* info = nullptr;
    QPushButton* ok = nullptr;
};

TEST_F(PortDialogTest, ListsTenPortsInAFixedPitchFontAndStartsOnTheStoredOne) {
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), "Com Port");
    ASSERT_EQ(combo->count(), 10);
    EXPECT_EQ(combo->itemText(0), "COM 1");
    EXPECT_EQ(combo->itemText(9), "COM 10");
    EXPECT_FALSE(combo->isEditable());
    // Fixed pitch: a narrow and a wide letter take the same room.
    const QFontMetrics metrics(combo->font());
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')),
              metrics.horizontalAdvance(QLatin1Char('W')));
    EXPECT_EQ(combo->font().pointSize(), 9);
    EXPECT_EQ(ok->text(), "&OK");
    // Nothing stored: port 1, on its default device.
    EXPECT_EQ(combo->currentText(), "COM 1");
    EXPECT_EQ(device->currentText(), "/dev/ttyS0");

    store.setValue("Settings", "CommPort", "10");
    auto second = open();
    EXPECT_EQ(combo->currentText(), "COM 10");
    EXPECT_EQ(device->currentText(), "/dev/ttyS9");

    // A hand edit that names no entry shows the port a connection would use.
    store.setValue("Settings", "CommPort", " 3");
    auto third = open();
    EXPECT_EQ(combo->currentText(), "COM 3");
}

TEST_F(PortDialogTest, OkStoresTheNumberAndTheDevicesTheUserChose) {
    store.setValue("Ports", "COM2", "/dev/ttyUSB0");
    auto dialog = open();
    combo->setCurrentIndex(1);
    EXPECT_EQ(device->currentText(), "/dev/ttyUSB0");
    typeDevice("/dev/ttyACM0");
    // Switching ports keeps what was typed for each.
    combo->setCurrentIndex(9);
    typeDevice("/dev/serial/by-id/usb-detector");
    combo->setCurrentIndex(1);
    EXPECT_EQ(device->currentText(), "/dev/ttyACM0");
    QTest::mouseClick(ok, Qt::LeftButton);

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(store.value("Settings", "CommPort"), "2");
    EXPECT_EQ(store.value("Ports", "COM2"), "/dev/ttyACM0");
    EXPECT_EQ(store.value("Ports", "COM10"), "/dev/serial/by-id/usb-detector");
    // Ports left at their default device are not written.
    EXPECT_FALSE(store.value("Ports", "COM1"));

    combo->setCurrentIndex(9);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(store.value("Settings", "CommPort"), "10");
}

TEST_F(PortDialogTest, ClosingAnyOtherWayStoresNothing) {
    store.setValue("Settings", "CommPort", "4");
    auto dialog = open();
    combo->setCurrentIndex(6);
    typeDevice("/dev/ttyUSB3");
    dialog->reject();
    EXPECT_EQ(store.value("Settings", "CommPort"), "4");
    EXPECT_FALSE(store.value("Ports", "COM7"));
}

TEST_F(PortDialogTest, OffersTheDetectedDevicesWithWhatTheyAre) {
    auto dialog =
        open({{"/dev/ttyUSB0", "USB-Serial Controller", "A12345"}, {"/dev/ttyS0", "", ""}});
    ASSERT_EQ(device->count(), 2);
    EXPECT_EQ(device->itemText(0), "/dev/ttyUSB0");
    device->setCurrentIndex(0);
    EXPECT_EQ(device->currentText(), "/dev/ttyUSB0");
    EXPECT_NE(info->text().indexOf("USB-Serial Controller"), -1);
    EXPECT_NE(info->text().indexOf("A12345"), -1);
    typeDevice("/dev/ttyNOPE");
    EXPECT_EQ(info->text(), "Not among the serial devices detected now");
    typeDevice("");
    EXPECT_EQ(info->text(), "Empty: COM 1 uses /dev/ttyS0");
    // An emptied device falls back to the default, which is not stored.
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(store.value("Ports", "COM1"));
}

}  // namespace
}  // namespace veltra
