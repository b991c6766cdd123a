#include "port/qt/qt_serial_port.h"

#include <QSocketNotifier>
#include <QTimer>

#include <termios.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "port/device_path.h"
#include "port/port_errors.h"

namespace veltra {

namespace {

QSerialPort::Parity ToQt(char parity) {
    switch (parity) {
        case 'e':
            return QSerialPort::EvenParity;
        case 'o':
            return QSerialPort::OddParity;
        case 'm':
            return QSerialPort::MarkParity;
        case 's':
            return QSerialPort::SpaceParity;
        default:
            return QSerialPort::NoParity;
    }
}

QSerialPort::FlowControl ToQt(Handshake handshake) {
    switch (handshake) {
        case Handshake::XonXoff:
            return QSerialPort::SoftwareControl;
        case Handshake::RtsCts:
            return QSerialPort::HardwareControl;
        default:
            return QSerialPort::NoFlowControl;
    }
}

// The errno behind a failed open when the library left none behind.
int OsErrorOf(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return ENOENT;
        case QSerialPort::PermissionError:
            return EACCES;
        case QSerialPort::OpenError:
            return EBUSY;
        case QSerialPort::UnsupportedOperationError:
            return ENOTTY;
        case QSerialPort::ResourceError:
            return EIO;
        default:
            return 0;
    }
}

}  // namespace

QtSerialPort::QtSerialPort(SettingsStore& store, QObject* parent)
    : QtSerialPort(store, new QSerialPort, parent) {}

QtSerialPort::QtSerialPort(SettingsStore& store, QSerialPort* serial, QObject* parent)
    : QObject(parent), store_(store), serial_(serial) {
    serial_->setParent(this);
    serial_->setObjectName("serialPort");
    connect(serial_, &QSerialPort::readyRead, this, &QtSerialPort::onReadyRead);
    connect(serial_, &QSerialPort::errorOccurred, this, &QtSerialPort::onErrorOccurred);
    // Arrivals that were not urgent are handed on at least this often. A
    // coarse timer fires with the link watchdog's, so a steady line wakes
    // the program once a second for both.
    holdTimer_ = new QTimer(this);
    holdTimer_->setObjectName("holdTimer");
    holdTimer_->setTimerType(Qt::CoarseTimer);
    holdTimer_->setInterval(1000);
    connect(holdTimer_, &QTimer::timeout, this, &QtSerialPort::deliverPending);
}

void QtSerialPort::setHoldLimit(std::chrono::milliseconds limit) {
    holdTimer_->setInterval(static_cast<int>(limit.count()));
}

template <class Write>
PortResult QtSerialPort::whileClosed(std::string_view property, Write&& write) {
    if (serial_->isOpen()) {
        return port_errors::WriteWhileOpen(property, device_);
    }
    return std::forward<Write>(write)();
}

PortResult QtSerialPort::setCommPort(int number) {
    return whileClosed("CommPort", [&] { return config_.setCommPort(number); });
}

PortResult QtSerialPort::setSettings(const std::string& settings) {
    return whileClosed("Settings", [&] { return config_.setSettings(settings); });
}

PortResult QtSerialPort::setEofEnable(bool on) {
    return whileClosed("EOFEnable", [&] { return config_.setEofEnable(on); });
}

PortResult QtSerialPort::setHandshaking(int mode) {
    return whileClosed("Handshaking", [&] { return config_.setHandshaking(mode); });
}

PortResult QtSerialPort::setInBufferSize(int bytes) {
    return whileClosed("InBufferSize", [&] { return config_.setInBufferSize(bytes); });
}

PortResult QtSerialPort::setInputLen(int bytes) {
    return whileClosed("InputLen", [&] { return config_.setInputLen(bytes); });
}

PortResult QtSerialPort::setInputMode(int mode) {
    return whileClosed("InputMode", [&] { return config_.setInputMode(mode); });
}

PortResult QtSerialPort::setNullDiscard(bool on) {
    return whileClosed("NullDiscard", [&] {
        config_.setNullDiscard(on);
        return PortResult{};
    });
}

PortResult QtSerialPort::setOutBufferSize(int bytes) {
    return whileClosed("OutBufferSize", [&] { return config_.setOutBufferSize(bytes); });
}

PortResult QtSerialPort::setParityReplace(const std::string& replacement) {
    return whileClosed("ParityReplace", [&] { return config_.setParityReplace(replacement); });
}

PortResult QtSerialPort::setRThreshold(int bytes) {
    return whileClosed("RThreshold", [&] { return config_.setRThreshold(bytes); });
}

PortResult QtSerialPort::setRtsEnable(bool on) {
    return whileClosed("RTSEnable", [&] {
        config_.setRtsEnable(on);
        return PortResult{};
    });
}

PortResult QtSerialPort::setSThreshold(int bytes) {
    return whileClosed("SThreshold", [&] { return config_.setSThreshold(bytes); });
}

PortResult QtSerialPort::setDtrEnable(bool on) {
    // DTR is the mute line: it changes on an open port too.
    if (serial_->isOpen()) {
        if (auto e = setModemLine("DTR", on)) {
            return e;
        }
    }
    config_.setDtrEnable(on);
    return std::nullopt;
}

PortResult QtSerialPort::setModemLine(std::string_view line, bool on) {
    bool done = line == "DTR" ? serial_->setDataTerminalReady(on) : serial_->setRequestToSend(on);
    if (done) {
        return std::nullopt;
    }
    const auto error = serial_->error();
    const std::string reason = serial_->errorString().toStdString();
    serial_->clearError();
    // A pseudo-terminal or an adapter without modem lines refuses the ioctl:
    // such a line simply has no DTR or RTS to drive.
    if (error == QSerialPort::UnsupportedOperationError) {
        return std::nullopt;
    }
    return port_errors::ModemLineFailed(line, device_, reason);
}

PortResult QtSerialPort::open() {
    if (serial_->isOpen()) {
        return port_errors::AlreadyOpen(device_);
    }
    const std::string device = devicePath();
    const LineSettings& line = config_.line();
    serial_->setPortName(QString::fromStdString(device));
    serial_->setBaudRate(line.speed);
    serial_->setDataBits(static_cast<QSerialPort::DataBits>(line.dataBits));
    serial_->setParity(ToQt(line.parity));
    serial_->setStopBits(line.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    serial_->setFlowControl(ToQt(config_.handshaking()));
    serial_->setReadBufferSize(config_.inBufferSize());

    errno = 0;
    if (!serial_->open(QIODevice::ReadWrite)) {
        int osError = errno;
        const auto error = serial_->error();
        const std::string reason = serial_->errorString().toStdString();
        serial_->clearError();
        if (osError == 0) {
            osError = OsErrorOf(error);
        }
        // The library reports a held lock file as a permission error; the
        // device is busy, not forbidden.
        if (error == QSerialPort::PermissionError && osError != EACCES && osError != EPERM) {
            osError = EBUSY;
        }
        return port_errors::OpenFailure(device, osError, reason);
    }
    device_ = device;
    if (auto e = applyAfterOpen()) {
        close();
        return e;
    }
    return std::nullopt;
}

PortResult QtSerialPort::applyAfterOpen() {
    // Opening raises DTR; left up, a detector reads it as a mute request.
    if (auto e = setModemLine("DTR", config_.dtrEnable())) {
        return e;
    }
    // Under RTS/CTS handshaking the driver owns RTS.
    if (config_.handshaking() != Handshake::RtsCts) {
        if (auto e = setModemLine("RTS", config_.rtsEnable())) {
            return e;
        }
    }
    const bool parity = config_.line().parity != 'n';
    if (parity) {
        if (auto e = markLineErrors()) {
            return e;
        }
    }
    filter_ = ReceiveFilter(config_.nullDiscard(), parity, config_.parityReplace());
    startReader();
    return std::nullopt;
}

void QtSerialPort::startReader() {
    // The program's own set-up (an event on every arrival, with every byte
    // waiting) is read on a thread; other thresholds keep the library's
    // reads, which honour them.
    if (config_.rThreshold() != 1 || config_.inputLen() != 0) {
        return;
    }
    // The library watches the port with a notifier of its own, made on
    // open; it reads nothing while that is disabled and nothing calls read.
    // Without it, as with a library that works otherwise, the library goes
    // on reading.
    QSocketNotifier* notifier = nullptr;
    for (QSocketNotifier* n : serial_->findChildren<QSocketNotifier*>()) {
        if (n->type() == QSocketNotifier::Read && n->socket() == serial_->handle() &&
            n->isEnabled()) {
            notifier = n;
        }
    }
    if (notifier == nullptr || serial_->bytesAvailable() > 0) {
        return;
    }
    notifier->setEnabled(false);
    const std::uint64_t generation = ++readerGeneration_;
    PortReader::Hooks hooks;
    hooks.urgent = urgencyTest_;
    hooks.wake = [this] {
        QMetaObject::invokeMethod(this, &QtSerialPort::deliverPending, Qt::QueuedConnection);
    };
    hooks.ended = [this, generation] {
        QMetaObject::invokeMethod(
            this, [this, generation] { onReaderEnded(generation); }, Qt::QueuedConnection);
    };
    const int held = config_.inBufferSize();
    auto reader = std::make_unique<PortReader>(
        static_cast<int>(serial_->handle()), filter_,
        held > 0 ? static_cast<std::size_t>(held) : std::size_t{1} << 20, std::move(hooks));
    if (!reader->running()) {
        notifier->setEnabled(true);
        return;
    }
    reader_ = std::move(reader);
    direct_ = new QSocketNotifier(serial_->handle(), QSocketNotifier::Read, this);
    direct_->setEnabled(false);
    connect(direct_, &QSocketNotifier::activated, this, &QtSerialPort::onDirectReadable);
    holdTimer_->start();
}

bool QtSerialPort::readsOnThread() const {
    return reader_ != nullptr && !direct_->isEnabled() && !reader_->parked();
}

void QtSerialPort::onDirectReadable() {
    if (!reader_) {
        return;
    }
    std::array<std::uint8_t, PortReader::kReadSize> buffer;
    const PortReader::HereRead read = reader_->readHere(buffer);
    if (read.ended) {
        onReaderEnded(readerGeneration_);
        return;
    }
    if (read.size == 0) {
        return;
    }
    if (read.settled) {
        // The display has settled: back to the thread, which wakes this one
        // only for changes. What it reads is held until after this read.
        direct_->setEnabled(false);
        reader_->resume();
    }
    deliver(std::span<const std::uint8_t>(buffer.data(), read.size));
}

void QtSerialPort::deliverPending() {
    if (reader_) {
        reader_->take(taken_);
    }
    // The handler may run events, and with them this again: each call hands
    // on the next read of the one queue, so the reads keep their order, and
    // copies it first, as the queue may grow meanwhile.
    while (nextRead_ < taken_.sizes.size()) {
        const std::size_t size = taken_.sizes[nextRead_];
        // A filtered read is never longer than the read.
        static_assert(PortReader::kReadSize <= kStackRead);
        std::array<std::uint8_t, kStackRead> chunk;
        std::copy_n(taken_.bytes.begin() + static_cast<std::ptrdiff_t>(nextByte_), size,
                    chunk.begin());
        ++nextRead_;
        nextByte_ += size;
        deliver(std::span<const std::uint8_t>(chunk.data(), size));
    }
    if (nextRead_ > 0 && nextRead_ == taken_.sizes.size()) {
        taken_.clear();
        nextRead_ = 0;
        nextByte_ = 0;
    }
    // Every frame changes: the thread has parked, and with all it read
    // handed on, this thread reads the port itself, one wake-up a read.
    if (reader_ && !direct_->isEnabled() && nextRead_ == 0 && reader_->parked()) {
        direct_->setEnabled(true);
    }
}

void QtSerialPort::onReaderEnded(std::uint64_t generation) {
    if (generation != readerGeneration_ || !reader_) {
        return;
    }
    // The device vanished or the other end hung up: what arrived before goes
    // on, then the port closes and the watchdog reports the lost link.
    close();
}

PortResult QtSerialPort::markLineErrors() {
    // The library drops bytes with parity errors unchecked; have the line
    // discipline mark them instead, so they can be replaced.
    const int fd = serial_->handle();
    struct termios state;
    if (tcgetattr(fd, &state) == 0) {
        state.c_iflag &= ~static_cast<tcflag_t>(IGNPAR | ISTRIP);
        state.c_iflag |= INPCK | PARMRK;
        if (tcsetattr(fd, TCSANOW, &state) == 0) {
            return std::nullopt;
        }
    }
    const int osError = errno;
    return port_errors::OpenFailure(device_, osError, std::strerror(osError));
}

void QtSerialPort::close() {
    if (reader_) {
        // The thread must be gone before the descriptor is; what it read
        // still goes to the handler (the recording keeps every byte).
        std::unique_ptr<PortReader> reader = std::move(reader_);
        holdTimer_->stop();
        // Closing may come from within the notifier's own signal.
        direct_->setEnabled(false);
        direct_->deleteLater();
        direct_ = nullptr;
        reader->stop();
        reader->take(taken_);
        deliverPending();
    }
    if (serial_->isOpen()) {
        serial_->close();
    }
    serial_->clearError();
    filter_.reset();
}

bool QtSerialPort::isOpen() const {
    return serial_->isOpen();
}

int QtSerialPort::nativeHandle() const {
    return serial_->isOpen() ? static_cast<int>(serial_->handle()) : -1;
}

void QtSerialPort::setReceiveHandler(ReceiveHandler handler) {
    handler_ = std::move(handler);
}

std::string QtSerialPort::devicePath() const {
    return DevicePathFor(store_, config_.commPort());
}

void QtSerialPort::onReadyRead() {
    const int threshold = config_.rThreshold();
    if (threshold == 0 || serial_->bytesAvailable() < threshold) {
        return;
    }
    const qint64 wanted = config_.inputLen() > 0
                              ? std::min<qint64>(config_.inputLen(), serial_->bytesAvailable())
                              : serial_->bytesAvailable();
    // A detector sends a frame at a time, so a read is small: it goes
    // through the stack and costs no allocation. The filter rewrites into a
    // vector, and a large backlog needs one anyway.
    if (filter_.passesAll() && wanted <= static_cast<qint64>(kStackRead)) {
        std::array<std::uint8_t, kStackRead> chunk;
        const qint64 got = serial_->read(reinterpret_cast<char*>(chunk.data()), wanted);
        if (got > 0) {
            deliver(std::span<const std::uint8_t>(chunk.data(), static_cast<std::size_t>(got)));
        }
        return;
    }
    const QByteArray data =
        config_.inputLen() > 0 ? serial_->read(config_.inputLen()) : serial_->readAll();
    std::vector<std::uint8_t> bytes(data.begin(), data.end());
    filter_.apply(bytes);
    deliver(bytes);
}

void QtSerialPort::deliver(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || !handler_) {
        return;
    }
    // The handler may open a nested event loop (a message box) in which this
    // slot runs again; keep nothing of this call's state in members.
    ReceiveHandler handler = handler_;
    handler(kCommEventReceive, bytes);
}

void QtSerialPort::onErrorOccurred(QSerialPort::SerialPortError error) {
    // A vanished device (adapter unplugged, other end of a pty gone) reports
    // a resource or read error (EIO) on every turn of the event loop until
    // the port is closed. Close it once control is back in the loop; the
    // watchdog then reports the lost link.
    const bool gone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (gone && serial_->isOpen()) {
        QTimer::singleShot(0, this, [this] {
            const auto now = serial_->error();
            if (serial_->isOpen() &&
                (now == QSerialPort::ResourceError || now == QSerialPort::ReadError)) {
                close();
            }
        });
    }
}

}  // namespace veltra
