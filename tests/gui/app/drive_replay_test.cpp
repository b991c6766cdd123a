// A drive replayed in the window: the strip's controls move the replay, the
// live link takes the window back, a replay acts on nothing, and the strip
// scales with the face.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QtTest/QTest>
#include <fstream>

#include "app/drive_feature.h"
#include "app/replay_strip_scaler.h"
#include "main_window_harness.h"
#include "recorder/qt/replay_session.h"
#include "recorder/qt/replay_strip.h"

namespace veltra::test {
namespace {

constexpr std::uint64_t kBytesPerSecond = 720;

class DriveReplayTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        // Drives of the live link go to the test's own folder.
        oldDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        store.set("AutoConnect", "0");
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", oldDataHome_); }

    // 10 s idle, a 5 s Ka alert, 10 s idle, recorded at 14:00:00.
    QString writeDrive() {
        std::string bytes;
        auto hold = [&](const DisplayState& s, std::uint64_t seconds) {
            const auto frame = EncodeFrame(s);
            for (std::uint64_t i = 0; i < seconds * kBytesPerSecond / frame.size(); ++i) {
                bytes.append(frame.begin(), frame.end());
            }
        };
        hold(DisplayState{}, 10);
        hold(KaAlert(), 5);
        hold(DisplayState{}, 10);
        QString path = dir.filePath(QStringLiteral("2024-05-01_14-00-00.vsdrive"));
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
        return path;
    }

    recorder::ReplaySession* session() { return form->drives().session(); }
    recorder::ReplayStrip& strip() { return form->drives().strip(); }
    QString timeShown() { return child<QLabel>("timeLabel")->text(); }
    bool showsAlert() { return form->face().shownState().Band[kKa]; }

    QByteArray oldDataHome_;
};

TEST_F(DriveReplayTest, TheStripPlaysPausesChangesSpeedAndSeeks) {
    load();
    ASSERT_TRUE(form->drives().startReplay(writeDrive()));
    ASSERT_NE(session(), nullptr);
    EXPECT_TRUE(strip().isVisible());
    EXPECT_TRUE(session()->playing());
    EXPECT_EQ(timeShown(), QStringLiteral("14:00:00"));

    auto* playPause = child<QToolButton>("playPauseButton");
    playPause->click();
    EXPECT_FALSE(session()->playing());
    EXPECT_EQ(playPause->toolTip(), QStringLiteral("Play"));

    // Dragging the slider into the alert shows the alert and its time.
    auto* slider = child<QSlider>("positionSlider");
    slider->setSliderDown(true);
    slider->setSliderPosition(12 * 10);
    slider->setSliderDown(false);
    EXPECT_EQ(session()->position(), 12 * kBytesPerSecond);
    EXPECT_TRUE(showsAlert());
    EXPECT_EQ(timeShown(), QStringLiteral("14:00:12"));
    // A key on the slider seeks too: to the end, idle again.
    QTest::keyClick(slider, Qt::Key_End);
    EXPECT_EQ(session()->position(), session()->drive().size());
    EXPECT_FALSE(showsAlert());
    EXPECT_EQ(timeShown(), QStringLiteral("14:00:25"));
    // And back to where the alert is not yet.
    QTest::keyClick(slider, Qt::Key_Home);
    EXPECT_EQ(session()->position(), 0u);
    EXPECT_FALSE(showsAlert());

    auto* speed = child<QComboBox>("speedBox");
    ASSERT_EQ(speed->count(), 4);
    speed->setCurrentIndex(speed->findData(64));
    EXPECT_EQ(speed->currentText(), QStringLiteral("64") + QChar(0x00D7));
    EXPECT_EQ(session()->speed(), 64);
    // Ten seconds of the drive at 64x: the alert comes well within the wait,
    // which 1x could not make.
    playPause->click();
    EXPECT_TRUE(session()->playing());
    EXPECT_EQ(playPause->toolTip(), QStringLiteral("Pause"));
    EXPECT_TRUE(WaitFor([&] { return showsAlert(); }, 3000));
    // At the end it stops by itself, on the last display.
    EXPECT_TRUE(WaitFor([&] { return !session()->playing(); }, 3000));
    EXPECT_EQ(slider->value(), slider->maximum());
    EXPECT_FALSE(showsAlert());
}

TEST_F(DriveReplayTest, BackToLiveAndConnectEndTheReplayAndConnect) {
    load();
    form->onConnectTriggered();
    ASSERT_TRUE(port.isOpen());
    // The live link pauses for the replay.
    ASSERT_TRUE(form->drives().startReplay(writeDrive()));
    EXPECT_FALSE(port.isOpen());
    session()->pause();
    session()->seek(12 * kBytesPerSecond);
    ASSERT_TRUE(showsAlert());

    child<QPushButton>("backToLiveButton")->click();
    EXPECT_EQ(session(), nullptr);
    EXPECT_FALSE(strip().isVisible());
    EXPECT_TRUE(port.isOpen());
    // The replay's display does not linger on the live face.
    EXPECT_FALSE(showsAlert());

    // Connect from the menu during a replay does the same.
    ASSERT_TRUE(form->drives().startReplay(writeDrive()));
    session()->pause();
    session()->seek(12 * kBytesPerSecond);
    form->menus().connectAction->trigger();
    EXPECT_EQ(session(), nullptr);
    EXPECT_FALSE(strip().isVisible());
    EXPECT_TRUE(port.isOpen());
    EXPECT_FALSE(showsAlert());
    // The live display is the detector's again.
    send(KaAlert());
    EXPECT_TRUE(showsAlert());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DriveReplayTest, AMutePendingFromALiveAlertNeverGoesOutDuringAReplay) {
    store.set("AutoMute", "1");
    store.set("AutoMuteTime", "1");
    load();
    form->onConnectTriggered();
    ASSERT_TRUE(port.isOpen());
    send(KaAlert());  // the mute is due two ticks from now
    ASSERT_TRUE(showsAlert());
    const auto before = port.dtrHistory.size();

    ASSERT_TRUE(form->drives().startReplay(writeDrive()));
    // The replay's own position is the clock: three seconds of it at 1x is
    // past the time the mute was due.
    ASSERT_TRUE(WaitFor([&] { return session()->position() >= 3 * kBytesPerSecond; }, 10000));
    const std::vector<bool> after(port.dtrHistory.begin() + std::ptrdiff_t(before),
                                  port.dtrHistory.end());
    EXPECT_EQ(std::count(after.begin(), after.end(), true), 0);
}

TEST_F(DriveReplayTest, TheStripsTextScalesWithTheFace) {
    load();
    ASSERT_TRUE(form->drives().startReplay(writeDrive()));
    session()->pause();
    auto* alerts = child<QPushButton>("alertsButton");
    auto* time = child<QLabel>("timeLabel");
    const double designPoints = alerts->font().pointSizeF();
    ASSERT_GT(designPoints, 0);
    const QSize design = face()->size();
    auto* caption = face()->findChild<QWidget*>(QStringLiteral("rawMessageLabel"));
    ASSERT_NE(caption, nullptr);
    const double captionPoints = caption->font().pointSizeF();

    form->resize(form->width() * 2, form->height());
    ASSERT_TRUE(WaitFor([&] { return face()->width() == design.width() * 2; }));
    ASSERT_TRUE(WaitFor([&] { return alerts->font().pointSizeF() > designPoints * 1.5; }));
    const double strip = alerts->font().pointSizeF() / designPoints;
    EXPECT_NEAR(strip, 2.0, 0.01);
    EXPECT_EQ(time->font().pointSizeF(), alerts->font().pointSizeF());
    // The aspect rule counts the taller strip: the face keeps its ratio, and
    // its captions grow by the strip's factor.
    EXPECT_TRUE(WaitFor([&] {
        return std::abs(double(face()->width()) / face()->height() -
                        double(design.width()) / design.height()) < 0.01;
    }));
    EXPECT_NEAR(caption->font().pointSizeF() / captionPoints, strip, 0.01);

    form->resize(form->width() / 2, form->height());
    ASSERT_TRUE(WaitFor([&] { return face()->width() == design.width(); }));
    EXPECT_TRUE(WaitFor([&] { return alerts->font().pointSizeF() == designPoints; }));
    EXPECT_DOUBLE_EQ(form->drives().stripScaler().factor(), 1.0);
}

}  // namespace
}  // namespace veltra::test
