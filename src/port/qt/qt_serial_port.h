#pragma once
// The serial port on Linux, through QSerialPort. Properties are held while
// the port is closed and applied when it opens; port number n is the device
// that the settings section "Ports" names under "COM<n>", or /dev/ttyS<n-1>.

#include <QObject>
#include <QSerialPort>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "platform/settings_store.h"
#include "port/port_config.h"
#include "port/receive_filter.h"
#include "port/serial_port.h"

namespace veltra {

class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(SettingsStore& store, QObject* parent = nullptr);
    // With the given device object, which this port takes as its child:
    // tests hand in one that fails the way a device can fail.
    QtSerialPort(SettingsStore& store, QSerialPort* serial, QObject* parent = nullptr);

    PortResult setCommPort(int number) override;
    PortResult setSettings(const std::string& settings) override;
    PortResult setDtrEnable(bool on) override;
    PortResult setEofEnable(bool on) override;
    PortResult setHandshaking(int mode) override;
    PortResult setInBufferSize(int bytes) override;
    PortResult setInputLen(int bytes) override;
    PortResult setInputMode(int mode) override;
    PortResult setNullDiscard(bool on) override;
    PortResult setOutBufferSize(int bytes) override;
    PortResult setParityReplace(const std::string& replacement) override;
    PortResult setRThreshold(int bytes) override;
    PortResult setRtsEnable(bool on) override;
    PortResult setSThreshold(int bytes) override;

    PortResult open() override;
    void close() override;
    bool isOpen() const override;
    int nativeHandle() const override;
    void setReceiveHandler(ReceiveHandler handler) override;

    // The device the held port number stands for now.
    std::string devicePath() const;
    const PortConfig& config() const { return config_; }

private:
    // Reads up to this size go through the stack (a second of the line is
    // 720 bytes).
    static constexpr std::size_t kStackRead = 4096;

    template <class Write>
    PortResult whileClosed(std::string_view property, Write&& write);
    PortResult setModemLine(std::string_view line, bool on);
    PortResult applyAfterOpen();
    PortResult markLineErrors();
    void onReadyRead();
    void deliver(std::span<const std::uint8_t> bytes);
    void onErrorOccurred(QSerialPort::SerialPortError error);

    SettingsStore& store_;
    QSerialPort* serial_;
    PortConfig config_;
    ReceiveFilter filter_;
    ReceiveHandler handler_;
    std::string device_;
};

}  // namespace veltra
