#pragma once
// The serial port on Linux, through QSerialPort. Properties are held while
// the port is closed and applied when it opens; port number n is the device
// that the settings section "Ports" names under "COM<n>", or /dev/ttyS<n-1>.
// The library opens, sets up and closes the port and drives its modem lines;
// an open port is read on a thread of its own (PortReader).

#include <QObject>
#include <QSerialPort>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/settings_store.h"
#include "port/port_config.h"
#include "port/port_reader.h"
#include "port/receive_filter.h"
#include "port/serial_port.h"

class QSocketNotifier;
class QTimer;

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
    void setUrgencyTest(UrgencyTest test) override { urgencyTest_ = std::move(test); }
    void deliverPending() override;

    // True while the open port is read on a thread of its own (and not, for
    // a display that changes with every frame, on the program's thread).
    bool readsOnThread() const;
    // The longest an arrival that is not urgent waits (a second).
    void setHoldLimit(std::chrono::milliseconds limit);

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
    void startReader();
    void onReaderEnded(std::uint64_t generation);
    void onDirectReadable();
    void onReadyRead();
    void deliver(std::span<const std::uint8_t> bytes);
    void onErrorOccurred(QSerialPort::SerialPortError error);

    SettingsStore& store_;
    QSerialPort* serial_;
    PortConfig config_;
    ReceiveFilter filter_;
    ReceiveHandler handler_;
    std::string device_;

    UrgencyTest urgencyTest_;
    std::unique_ptr<PortReader> reader_;
    // Counts the readers started, so a late report of one that has gone is
    // told from the current one's.
    std::uint64_t readerGeneration_ = 0;
    // Reads taken from the reader, handed on from `nextRead_` (whose bytes
    // begin at `nextByte_`).
    PortReader::Batch taken_;
    std::size_t nextRead_ = 0;
    std::size_t nextByte_ = 0;
    QTimer* holdTimer_ = nullptr;
    // Reads the port on this thread while the reader is parked.
    QSocketNotifier* direct_ = nullptr;
};

}  // namespace veltra
