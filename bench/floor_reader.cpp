// The least a program built as this one is can cost the machine it runs on:
// bench/line_rate --floor measures it in the program's place, on the same
// line and in the same way, so the program's figures can be read against it.
//
// It keeps what the display's design cannot do without: a window on the X
// server, a coarse one-second timer on the event loop (as the link watchdog
// is), and a read of each arrival, where a read that completes a changed
// frame (cut and compared as the program does it) repaints one small square.
// By default a thread blocks in poll on the port and wakes the event loop
// only for such a read, as the program does while its display is quiet.
// With --event-loop the event loop reads the port itself, as the program does
// while every frame changes. It leaves out everything else: decoding, the
// log, the recording, the face.
//
// Usage: floor_reader [--event-loop] TTY

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <QApplication>
#include <QPainter>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <thread>

#include "link/repeat_watch.h"

namespace {

// A lamp that changes colour at each changed frame.
class Lamp : public QWidget {
public:
    explicit Lamp(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }
    void flip() {
        lit_ = !lit_;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), lit_ ? Qt::red : Qt::darkRed);
    }

private:
    bool lit_ = false;
};

// One read of the port: counts it and tells whether it completed a changed
// frame. False, too, when nothing was there; `gone` when the line is.
bool ReadOnce(int fd, veltra::RepeatWatch& watch, std::atomic<std::uint64_t>& reads, bool& gone) {
    // Left unfilled, as the program's own read buffer is: zeroing 4 KB for
    // each read would raise the floor above what the program pays.
    std::array<std::uint8_t, 4096> buffer;
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    gone = n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR);
    if (n <= 0) {
        return false;
    }
    reads.fetch_add(1, std::memory_order_relaxed);
    return watch.Feed({buffer.data(), static_cast<std::size_t>(n)});
}

// Reads `fd` until `stop` is signalled or the line is gone, calling
// `changed` (on this thread) for each read that completes a changed frame.
template <typename Changed>
void ReadOnThread(int fd, int stop, std::atomic<std::uint64_t>& reads, Changed changed) {
    veltra::RepeatWatch watch;
    std::array<pollfd, 2> fds{{{fd, POLLIN, 0}, {stop, POLLIN, 0}}};
    bool gone = false;
    while (!gone) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        if (ReadOnce(fd, watch, reads, gone)) {
            changed();
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // As the program does: changed pixels go down the X connection, with no
    // wait for the server to have read them.
    qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    const bool onEventLoop = argc == 3 && std::strcmp(argv[1], "--event-loop") == 0;
    if (argc != (onEventLoop ? 3 : 2)) {
        std::fprintf(stderr, "usage: floor_reader [--event-loop] TTY\n");
        return 2;
    }
    const char* device = argv[argc - 1];
    const int fd = ::open(device, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        std::fprintf(stderr, "floor_reader: %s: %s\n", device, std::strerror(errno));
        return 1;
    }
    termios mode{};
    if (::tcgetattr(fd, &mode) == 0) {
        ::cfmakeraw(&mode);
        mode.c_cc[VMIN] = 1;
        mode.c_cc[VTIME] = 0;
        ::tcsetattr(fd, TCSANOW, &mode);
    }

    QWidget window;
    window.setWindowTitle(QStringLiteral("floor_reader"));
    window.resize(601, 236);  // the program's face at its design size
    Lamp lamp(&window);
    lamp.setGeometry(20, 20, 40, 40);
    window.show();

    std::atomic<std::uint64_t> reads{0};
    std::uint64_t seen = 0;
    std::uint64_t silentTicks = 0;
    QTimer watchdog;
    watchdog.setTimerType(Qt::CoarseTimer);
    watchdog.setInterval(1000);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        const std::uint64_t now = reads.load(std::memory_order_relaxed);
        silentTicks = now == seen ? silentTicks + 1 : 0;
        seen = now;
    });
    watchdog.start();

    if (onEventLoop) {
        veltra::RepeatWatch watch;
        QSocketNotifier readable(fd, QSocketNotifier::Read);
        QObject::connect(&readable, &QSocketNotifier::activated, [&] {
            bool gone = false;
            if (ReadOnce(fd, watch, reads, gone)) {
                lamp.flip();
            }
            if (gone) {
                readable.setEnabled(false);
            }
        });
        const int result = app.exec();
        ::close(fd);
        return result;
    }

    const int stop = ::eventfd(0, EFD_CLOEXEC);
    std::thread reader([&] {
        ReadOnThread(fd, stop, reads, [&lamp] {
            QMetaObject::invokeMethod(
                &lamp, [&lamp] { lamp.flip(); }, Qt::QueuedConnection);
        });
    });
    const int result = app.exec();
    const std::uint64_t one = 1;
    if (::write(stop, &one, sizeof one) != sizeof one) {
        std::perror("floor_reader: eventfd");
    }
    reader.join();
    ::close(stop);
    ::close(fd);
    return result;
}
