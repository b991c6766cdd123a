// The drive recorder at the real program: what a connection receives is
// kept byte for byte, the folder stays within its limit, and a replay shows
// the drive's alert at its moment without acting on the world.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <QImage>

#include "e2e/program_harness.h"

namespace veltra::e2e {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::vector<fs::path> Drives(const fs::path& dir) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        if (e.path().extension() == ".vsdrive") {
            out.push_back(e.path());
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string Sim(const std::string& args, const fs::path& out) {
    const int rc = std::system((std::string(VELTRA_SIM) + " " + args + " --fast --out " +
                                out.string() + " >/dev/null 2>&1")
                                   .c_str());
    return rc == 0 ? ReadAll(out) : std::string();
}

// Writes `bytes` a frame's worth at a time, `times` the line rate: the
// recording must hold every byte however they come, and a link that is
// never quiet for a second is all the watchdog asks.
void Paced(DetectorPty& pty, const std::string& bytes, int times) {
    constexpr size_t kStep = 25;
    auto next = Clock::now();
    for (size_t at = 0; at < bytes.size(); at += kStep) {
        const std::string part = bytes.substr(at, kStep);
        pty.write(std::vector<std::uint8_t>(part.begin(), part.end()));
        next += std::chrono::microseconds(kStep * 1000000 / 720 / times);
        std::this_thread::sleep_until(next);
    }
}

// The client area's top `height` rows of a screenshot, where the face is
// (the replay strip lies below it).
QImage Top(const fs::path& png, int height) {
    const QImage image(QString::fromStdString(png.string()));
    return image.copy(0, 0, image.width(), height);
}

bool Lit(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 90 && qBlue(c) < 90;
}

int LitIn(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += Lit(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return n;
}

// Pixels lit in one image and not in the other.
int LitDifference(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y) {
        for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
            n += Lit(a.pixel(x, y)) != Lit(b.pixel(x, y)) ? 1 : 0;
        }
    }
    return n;
}

TEST(DriveRecording, KeepsTheBytesSentAndItsAlertsAreTheBandsScenarios) {
    DetectorPty pty;
    Program program(pty.device());
    program.setSetting("AutoMute", "0");
    program.setSetting("AutoHide", "0");
    const fs::path drives = program.scratch() / "data" / "Veltrascope" / "drives";
    // Older drives over the 1 MB limit: the oldest goes when recording starts.
    fs::create_directories(drives);
    for (const char* name : {"2020-01-01_10-00-00.vsdrive", "2020-01-02_10-00-00.vsdrive",
                             "2020-01-03_10-00-00.vsdrive"}) {
        std::ofstream(drives / name) << std::string(400 << 10, 'x');
    }
    program.setSetting("DrivesLimitMB", "1");
    const std::string sent = Sim("--scenario bands --seed 3", program.scratch() / "bands.raw");
    ASSERT_GT(sent.size(), 10000u);

    ASSERT_TRUE(program.start());
    ASSERT_TRUE(WaitUntil([&] { return program.holdsOpen(pty.device()); }));
    Paced(pty, sent, 8);
    // The detector goes on sending until the program has ended.
    const auto dark = Frame(false, Lit::None);
    pty.feed(dark);
    // What came in is on disk within a second or two, while the drive goes
    // on: a program killed mid-drive loses no more than that.
    ASSERT_TRUE(WaitUntil([&] {
        const auto now = Drives(drives);
        std::error_code ec;
        return now.size() == 3 && fs::file_size(now.back(), ec) >= sent.size();
    }));
    ASSERT_TRUE(program.close());
    ASSERT_EQ(program.wait(), 0);
    pty.stopFeeding();

    EXPECT_FALSE(fs::exists(drives / "2020-01-01_10-00-00.vsdrive"));
    EXPECT_TRUE(fs::exists(drives / "2020-01-02_10-00-00.vsdrive"));
    EXPECT_TRUE(fs::exists(drives / "2020-01-03_10-00-00.vsdrive"));
    const auto all = Drives(drives);
    ASSERT_EQ(all.size(), 3u);
    const fs::path& recorded = all.back();
    const std::string kept = ReadAll(recorded);
    // Everything sent, then only the dark frames that kept the link alive.
    ASSERT_GE(kept.size(), sent.size());
    EXPECT_TRUE(kept.compare(0, sent.size(), sent) == 0);
    const std::string darkText(dark.begin(), dark.end());
    for (size_t at = sent.size(); at < kept.size(); at += darkText.size()) {
        ASSERT_EQ(kept.substr(at, darkText.size()), darkText) << "at " << at;
    }

    const std::string list = Shell(std::string(VELTRA_DECODE) + " --alerts --csv " +
                                   recorded.string() + " | cut -d, -f3 | tail -n +2 | tr -d '\\r'");
    EXPECT_EQ(list, "X\nK\nKa\nLaser");
}

TEST(DriveReplay, At16xTheAlertLightsAtItsMomentAndNothingActsOnTheWorld) {
    Program program;
    program.setSetting("LogData", "True");
    program.setSetting("AutoMute", "1");
    program.setSetting("AutoMuteTime", "0");
    program.setSetting("AutoHide", "1");
    program.setSetting("AutoHideTime", "0");
    // 48 s dark, a 16 s alert, then dark: at 16x the alert shows from 3 s
    // into the replay for one second.
    std::string drive;
    auto hold = [&](const std::vector<std::uint8_t>& f, int frames) {
        for (int i = 0; i < frames; ++i) {
            drive.append(f.begin(), f.end());
        }
    };
    hold(Frame(false, Lit::None), 48 * 720 / 25);
    hold(Frame(true, Lit::All), 16 * 720 / 25);
    hold(Frame(false, Lit::None), 64 * 720 / 25);
    const fs::path file = program.scratch() / "2024-05-01_14-00-00.vsdrive";
    std::ofstream(file, std::ios::binary) << drive;

    const auto trace = program.scratch() / "ioctl.trace";
    const auto started = Clock::now();
    ASSERT_TRUE(program.start("strace -f -e trace=ioctl -o " + trace.string(),
                              "--speed 16 --replay " + file.string()));
    const fs::path shot = program.scratch() / "replay.png";
    const int dark = [&] {
        program.screenshot(shot);
        return LitPixels(shot);
    }();
    double litAt = -1;
    ASSERT_TRUE(WaitUntil(
        [&] {
            program.screenshot(shot);
            if (LitPixels(shot) > dark + 2000) {
                litAt = std::chrono::duration<double>(Clock::now() - started).count();
                return true;
            }
            return false;
        },
        std::chrono::seconds(15)));
    std::printf("alert lit %.2f s after start (due 3.0 s after the replay began)\n", litAt);
    EXPECT_GT(litAt, 2.0);
    EXPECT_LT(litAt, 6.0);
    fs::create_directories(VELTRA_SHOTS);
    program.screenshot(fs::path(VELTRA_SHOTS) / "replay-alert.png");
    // It goes dark again and the window stays: no auto-hide.
    EXPECT_TRUE(WaitUntil([&] {
        program.screenshot(shot);
        return LitPixels(shot) < dark + 2000;
    }));
    EXPECT_TRUE(program.mapped());
    ASSERT_TRUE(program.close());
    EXPECT_EQ(program.wait(), 0);
    const std::string ioctls = ReadAll(trace);
    EXPECT_EQ(ioctls.find("TIOCMBIS"), std::string::npos);
    EXPECT_EQ(ioctls.find("TIOCMBIC"), std::string::npos);
    EXPECT_FALSE(fs::exists(program.programDir() / "temp.log"));
}

TEST(DriveReplay, BadRecordingsAreToldAndTheProgramGoesOn) {
    Program program;
    program.setSetting("AutoConnect", "0");
    const fs::path empty = program.scratch() / "empty.vsdrive";
    std::ofstream(empty).close();
    ASSERT_TRUE(program.start(std::string(), "--replay " + empty.string()));
    std::string box;
    ASSERT_TRUE(WaitUntil([&] {
        for (const std::string& w : program.otherWindows()) {
            box = w;
        }
        return !box.empty();
    }));
    ASSERT_TRUE(WaitUntil([&] {
        Shell("xdotool windowactivate --sync " + box + " key --clearmodifiers Return");
        return WaitUntil([&] { return program.otherWindows().empty(); }, std::chrono::seconds(1));
    }));
    EXPECT_TRUE(program.running());
    EXPECT_TRUE(program.close());
    EXPECT_EQ(program.wait(), 0);
}

// The replay's face at an alert is the live face for the same frames: the
// same elements lit, to the pixel.
TEST(DriveReplay, TheReplayedFaceEqualsTheLiveFaceOfTheSameFrames) {
    const auto alert = Frame(true);
    DetectorPty pty;
    // The face a window shows before any frame: the live one must have left
    // it before its face counts.
    QImage designTime;
    {
        Program idle;
        idle.setSetting("AutoConnect", "0");
        ASSERT_TRUE(idle.start());
        const fs::path shot = idle.scratch() / "design.png";
        ASSERT_TRUE(WaitUntil([&] {
            if (!idle.screenshot(shot)) {
                return false;
            }
            const QImage now(QString::fromStdString(shot.string()));
            const bool settled = !designTime.isNull() && LitDifference(now, designTime) == 0;
            designTime = now;
            return settled;
        }));
        ASSERT_TRUE(idle.close());
        ASSERT_EQ(idle.wait(), 0);
    }

    pty.feed(alert);
    Program live(pty.device());
    live.setSetting("AutoMute", "0");
    live.setSetting("AutoHide", "0");
    ASSERT_TRUE(live.start());
    const fs::path liveShot = live.scratch() / "live.png";
    QImage liveFace;
    ASSERT_TRUE(WaitUntil([&] {
        if (!live.screenshot(liveShot)) {
            return false;
        }
        const QImage now(QString::fromStdString(liveShot.string()));
        const bool settled = !liveFace.isNull() && LitDifference(now, liveFace) == 0 &&
                             LitDifference(now, designTime) != 0;
        liveFace = now;
        return settled;
    })) << "the live window shows the frames";
    const int height = liveFace.height();
    ASSERT_TRUE(live.close());
    ASSERT_EQ(live.wait(), 0);
    pty.stopFeeding();

    // The same frame, recorded after two idle seconds.
    Program replay;
    replay.setSetting("AutoConnect", "0");
    std::string drive;
    const auto idle = Frame(false);
    for (int i = 0; i < 2 * 720 / 25; ++i) {
        drive.append(idle.begin(), idle.end());
    }
    for (int i = 0; i < 60 * 720 / 25; ++i) {
        drive.append(alert.begin(), alert.end());
    }
    const fs::path file = replay.scratch() / "2024-05-01_14-00-00.vsdrive";
    std::ofstream(file, std::ios::binary) << drive;
    ASSERT_TRUE(replay.start(std::string(), "--speed 16 --replay " + file.string()));
    const fs::path replayShot = replay.scratch() / "replay.png";
    // The replay reaches the alert within the first second; its face above
    // the strip must then be the live one, lit pixel for lit pixel. A replay
    // that lit other elements never matches.
    QImage face;
    EXPECT_TRUE(WaitUntil([&] {
        if (!replay.screenshot(replayShot)) {
            return false;
        }
        face = Top(replayShot, height);
        return LitDifference(face, liveFace) == 0;
    }));
    EXPECT_EQ(face.width(), liveFace.width());
    EXPECT_EQ(LitIn(face), LitIn(liveFace));
    fs::create_directories(VELTRA_SHOTS);
    fs::copy_file(replayShot, fs::path(VELTRA_SHOTS) / "replay-vs-live.png",
                  fs::copy_options::overwrite_existing);
    ASSERT_TRUE(replay.close());
    EXPECT_EQ(replay.wait(), 0);
}

}  // namespace
}  // namespace veltra::e2e
