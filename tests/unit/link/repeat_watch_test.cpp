// The watch must wake the program for exactly the reads that make the
// receive path hand on a changed frame, however the line cuts its bytes.
#include "link/repeat_watch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "link/frame_receiver.h"

namespace veltra {
namespace {

using Bytes = std::vector<std::uint8_t>;

class FramesSeen : public FrameSink {
public:
    bool ShowRawChecked() const override { return false; }
    void ShowRawFrame(std::string_view) override {}
    void Process(std::string_view frame) override { frames.emplace_back(frame); }
    bool LogDataChecked() const override { return false; }
    void LogData() override {}
    std::vector<std::string> frames;
};

Bytes Frame(std::uint8_t a, std::uint8_t b = 0) {
    Bytes f(kFrameBytes, 0);
    f[0] = kSyncByte;
    f[5] = a;
    f[24] = b;
    return f;
}

void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// A drive's worth of line: long runs of one display, changes, and what a bad
// line adds (a frame cut short, one too long, noise between frames).
Bytes Line(std::mt19937& random) {
    Bytes line;
    std::uniform_int_distribution<int> pick(0, 99);
    std::uint8_t shown = 1;
    for (int i = 0; i < 400; ++i) {
        const int p = pick(random);
        if (p < 12) {
            shown = static_cast<std::uint8_t>(1 + pick(random) % 4);
        }
        Bytes f = Frame(shown, p == 12 ? 7 : 0);  // a change in the frame's last byte
        if (p == 13) {
            f.resize(17);  // cut short
        } else if (p == 14) {
            f.push_back(3);  // one byte too many
        } else if (p == 15) {
            Append(line, Bytes{9, 8, 7});
        }
        Append(line, f);
    }
    return line;
}

TEST(RepeatWatch, WakesForExactlyTheReadsThatHandOnAChangedFrame) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        const Bytes line = Line(random);
        FramesSeen seen;
        FrameReceiver receiver(seen);
        RepeatWatch watch;
        std::uniform_int_distribution<std::size_t> size(1, seed % 2 ? 60 : 12);
        std::size_t urgent = 0;
        for (std::size_t at = 0; at < line.size();) {
            const std::size_t n = std::min(size(random), line.size() - at);
            const std::span<const std::uint8_t> read(line.data() + at, n);
            at += n;
            const std::size_t before = seen.frames.size();
            const std::string last = before > 0 ? seen.frames.back() : std::string();
            receiver.onBytesReceived(kCommEventReceive, read);
            bool changed = false;
            for (std::size_t i = before; i < seen.frames.size(); ++i) {
                changed |= i == 0 || seen.frames[i] != seen.frames[i - 1];
            }
            const bool woken = watch.Feed(read);
            ASSERT_EQ(woken, changed) << "seed " << seed << ", read ending at byte " << at;
            urgent += woken ? 1 : 0;
        }
        // The line changes often enough that a watch waking for nothing, or
        // for everything, would have been caught above.
        EXPECT_GT(urgent, 10U);
    }
}

TEST(RepeatWatch, RepeatsWakeWhenTheyAreNotQuietAndOnceAfterForget) {
    RepeatWatch watch;
    const Bytes a = Frame(1);
    EXPECT_FALSE(watch.Feed(a)) << "nothing is complete before the next sync byte";
    EXPECT_TRUE(watch.Feed(a)) << "the first frame is always news";
    EXPECT_FALSE(watch.Feed(a));

    watch.Forget();
    EXPECT_TRUE(watch.Feed(a));
    EXPECT_FALSE(watch.Feed(a));

    watch.SetRepeatsQuiet(false);
    EXPECT_TRUE(watch.Feed(a));
    EXPECT_TRUE(watch.Feed(Bytes(a.begin(), a.begin() + 10)));
    EXPECT_FALSE(watch.Feed(Bytes(a.begin() + 10, a.end()))) << "completes no frame";
    watch.SetRepeatsQuiet(true);
    EXPECT_FALSE(watch.Feed(a));
}

}  // namespace
}  // namespace veltra
