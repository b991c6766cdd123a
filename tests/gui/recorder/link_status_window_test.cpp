// "Link Status..." reads the link's counters again every second by itself:
// bytes and frames while the detector talks, zero rates when it falls
// quiet, and the pieces a bad line spoils.

#include <gtest/gtest.h>

#include <QLabel>
#include <vector>

#include "link/frame_encoder.h"
#include "recorder/qt/link_status_window.h"
#include "support/qt_wait.h"

namespace veltra::recorder {
namespace {

class LinkStatusWindowTest : public ::testing::Test {
protected:
    void frames(int n) {
        const auto frame = EncodeFrame(DisplayState{});
        for (int i = 0; i < n; ++i) {
            counter.Count(frame);
        }
    }
    QString text() const { return window->findChild<QLabel*>("linkStatusText")->text(); }
    // Waits for the window's own next refresh.
    bool nextRefresh() {
        const QString before = text();
        return test::WaitUntil([&] { return text() != before; }, 5000);
    }
    QString line(const QString& field) const {
        for (const QString& l : text().split('\n')) {
            if (l.startsWith(field + QStringLiteral(": "))) {
                return l.mid(field.size() + 2);
            }
        }
        return QStringLiteral("(no such line)");
    }

    LinkCounter counter;
    LinkFacts facts;
    std::unique_ptr<LinkStatusWindow> window;
};

TEST_F(LinkStatusWindowTest, ShowsThePortAndTheRecordingAsTheyAre) {
    facts = {QStringLiteral("/dev/ttyUSB0"), 7200, QStringLiteral("2024-05-01_14-03-22.vsdrive"),
             3 * 1024 + 1000};
    window = std::make_unique<LinkStatusWindow>(counter, [this] { return facts; });
    EXPECT_EQ(line("Device"), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(line("Line speed"), QStringLiteral("7200 bit/s"));
    EXPECT_EQ(line("Recording"), QStringLiteral("2024-05-01_14-03-22.vsdrive (3 KB)"));
    EXPECT_EQ(line("Since the last good frame"), QStringLiteral("none yet"));

    // Closed: the window says so rather than showing a stale device.
    facts = {};
    window->refresh();
    EXPECT_EQ(line("Device"), QStringLiteral("closed"));
    EXPECT_EQ(line("Line speed"), QStringLiteral("unknown"));
    EXPECT_EQ(line("Recording"), QStringLiteral("none"));
}

TEST_F(LinkStatusWindowTest, RatesFollowTheCountersEverySecondAndFallToZeroWhenQuiet) {
    window = std::make_unique<LinkStatusWindow>(counter, [this] { return facts; });
    EXPECT_EQ(line("Bytes/s"), QStringLiteral("0"));

    // A good stretch, then a spoiled piece (a byte lost) between two frames.
    frames(30);
    auto spoiled = EncodeFrame(DisplayState{});
    counter.Count(std::span(spoiled).first(spoiled.size() - 1));
    frames(2);
    ASSERT_TRUE(nextRefresh());
    EXPECT_GT(line("Bytes/s").toDouble(), 0);
    EXPECT_GT(line("Frames/s accepted").toDouble(), 0);
    EXPECT_EQ(line("Pieces rejected (bad length)"), QStringLiteral("1"));
    EXPECT_TRUE(line("Since the last good frame").endsWith(QStringLiteral(" s")));

    // Nothing more arrives: the next second shows a quiet line, and the
    // rejected count stays what it was.
    ASSERT_TRUE(nextRefresh());
    EXPECT_EQ(line("Bytes/s"), QStringLiteral("0"));
    EXPECT_EQ(line("Frames/s accepted"), QStringLiteral("0.0"));
    EXPECT_EQ(line("Pieces rejected (bad length)"), QStringLiteral("1"));
}

}  // namespace
}  // namespace veltra::recorder
