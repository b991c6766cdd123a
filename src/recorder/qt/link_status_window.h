#pragma once
// Help > "Link Status...": what the link carries, once a second, so a user
// can tell a bad cable (bytes but rejected pieces) from a quiet detector
// (no bytes at all).

#include <QDialog>
#include <QElapsedTimer>
#include <functional>

#include "recorder/link_counter.h"

class QLabel;
class QTimer;

namespace veltra::recorder {

struct LinkFacts {
    QString device;     // empty while closed
    int lineSpeed = 0;  // as read back from the device; 0 when unknown
    QString drive;      // the recording in progress; empty for none
    std::uint64_t driveBytes = 0;
};

class LinkStatusWindow : public QDialog {
    Q_OBJECT
public:
    LinkStatusWindow(const LinkCounter& counter, std::function<LinkFacts()> facts,
                     QWidget* parent = nullptr);

    // Reads everything again; the timer calls it once a second.
    void refresh();

private:
    const LinkCounter& counter_;
    std::function<LinkFacts()> facts_;
    QTimer* timer_;
    QElapsedTimer clock_;
    qint64 lastMs_ = 0;
    std::uint64_t lastBytes_ = 0, lastFrames_ = 0, lastFrameAt_ = 0;
    QElapsedTimer sinceFrame_;
    bool frameSeen_ = false;
    QLabel* text_;
};

}  // namespace veltra::recorder
