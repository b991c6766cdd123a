#include "recorder/qt/link_status_window.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace veltra::recorder {

LinkStatusWindow::LinkStatusWindow(const LinkCounter& counter, std::function<LinkFacts()> facts,
                                   QWidget* parent)
    : QDialog(parent), counter_(counter), facts_(std::move(facts)), timer_(new QTimer(this)) {
    setObjectName(QStringLiteral("linkStatusWindow"));
    setWindowTitle(QStringLiteral("Link Status"));
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("linkStatusText"));
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    lastBytes_ = counter_.bytes();
    lastFrames_ = counter_.frames();
    lastFrameAt_ = counter_.lastFrameAt();
    clock_.start();
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &LinkStatusWindow::refresh);
    timer_->start();
    refresh();
}

void LinkStatusWindow::refresh() {
    const LinkFacts f = facts_();
    const qint64 now = clock_.elapsed();
    const double seconds = std::max<qint64>(now - lastMs_, 1) / 1000.0;
    const double bytesPerSecond = double(counter_.bytes() - lastBytes_) / seconds;
    const double framesPerSecond = double(counter_.frames() - lastFrames_) / seconds;
    lastMs_ = now;
    lastBytes_ = counter_.bytes();
    lastFrames_ = counter_.frames();
    if (counter_.lastFrameAt() != lastFrameAt_ || (!frameSeen_ && counter_.frames() > 0)) {
        lastFrameAt_ = counter_.lastFrameAt();
        frameSeen_ = true;
        sinceFrame_.start();
    }
    const QString speed =
        f.lineSpeed > 0 ? QStringLiteral("%1 bit/s").arg(f.lineSpeed) : QStringLiteral("unknown");
    const QString lastFrame =
        frameSeen_ ? QStringLiteral("%1 s").arg(sinceFrame_.elapsed() / 1000.0, 0, 'f', 1)
                   : QStringLiteral("none yet");
    const QString drive = f.drive.isEmpty()
                              ? QStringLiteral("none")
                              : QStringLiteral("%1 (%2 KB)").arg(f.drive).arg(f.driveBytes / 1024);
    text_->setText(QStringLiteral("Device: %1\n"
                                  "Line speed: %2\n"
                                  "Bytes/s: %3\n"
                                  "Frames/s accepted: %4\n"
                                  "Pieces rejected (bad length): %5\n"
                                  "Since the last good frame: %6\n"
                                  "Recording: %7")
                       .arg(f.device.isEmpty() ? QStringLiteral("closed") : f.device, speed)
                       .arg(bytesPerSecond, 0, 'f', 0)
                       .arg(framesPerSecond, 0, 'f', 1)
                       .arg(counter_.rejected())
                       .arg(lastFrame, drive));
}

}  // namespace veltra::recorder
