#pragma once
// A diagnostic for measuring the program at line rate. When the environment
// variable VELTRA_FRAME_TIMINGS is set at start-up, the program prints on
// standard error, with times on the monotonic clock in nanoseconds:
//   veltra-timing window-painted T     the window's first paint has finished
//   veltra-timing frame R D P B N      a read that changed the face: read at
//                                      R, decoded and logged at D, repainted
//                                      by P; B is the place of the byte that
//                                      completed the frame in the stream the
//                                      program received (0 = its first byte),
//                                      N the bytes received up to this read
// Without the variable nothing of this exists: no filter, no wrapper, no
// clock reads.

#include <QObject>
#include <cstdint>
#include <memory>
#include <vector>

namespace veltra {

class MainWindow;

class FrameTimings : public QObject {
    Q_OBJECT
public:
    // Null unless VELTRA_FRAME_TIMINGS is set.
    static std::unique_ptr<FrameTimings> FromEnvironment(MainWindow& window);

    explicit FrameTimings(MainWindow& window);
    ~FrameTimings() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Pending {
        std::int64_t read;
        std::int64_t decoded;
        std::uint64_t completing;
        std::uint64_t received;
    };

    MainWindow& window_;
    bool windowPainted_ = false;
    std::uint64_t received_ = 0;
    std::vector<Pending> pending_;
};

}  // namespace veltra
