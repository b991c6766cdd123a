// Finding the frames and alerts of a recorded drive.

#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "link/frame_receiver.h"
#include "recorder/drive_alerts.h"
#include "recorder/drive_index.h"
#include "support/frames.h"

namespace veltra::recorder {
namespace {

using test::Append;
using test::Bytes;
using test::FrameBytes;

DisplayState Alert(std::initializer_list<Band> bands, int dots, bool front, bool rear) {
    DisplayState s;
    for (Band b : bands) {
        s.Band[b] = true;
    }
    for (int i = 0; i < dots; ++i) {
        s.Signal[i] = true;
    }
    s.FrontArrow = front;
    s.RearArrow = rear;
    return s;
}

void Hold(Bytes& stream, const DisplayState& s, int frames) {
    for (int i = 0; i < frames; ++i) {
        Append(stream, FrameBytes(s));
    }
}

// The program's receiver fed one byte per event: what it takes, and when.
struct ReceiverLog : FrameSink {
    bool ShowRawChecked() const override { return false; }
    void ShowRawFrame(std::string_view) override {}
    void Process(std::string_view frame) override {
        taken.push_back({std::string(frame), received});
    }
    bool LogDataChecked() const override { return false; }
    void LogData() override {}
    std::vector<std::pair<std::string, std::uint64_t>> taken;
    std::uint64_t received = 0;
};

TEST(DriveIndex, TakesTheFramesTheProgramTakesAtTheSameBytes) {
    std::mt19937 rng(7);
    Bytes stream = {0x01, 0x02};  // a partial frame before the first sync byte
    for (int i = 0; i < 400; ++i) {
        Bytes f = FrameBytes(test::RandomState(rng));
        switch (rng() % 6) {
            case 0:
                f.pop_back();
                break;  // lost byte
            case 1:
                f.push_back(0x00);
                break;  // extra byte
            case 2:
                f[5] = kSyncByte;
                break;  // sync inside
            default:
                break;
        }
        Append(stream, f);
    }
    ReceiverLog log;
    FrameReceiver receiver(log);
    for (std::uint8_t b : stream) {
        ++log.received;
        receiver.onBytesReceived(kCommEventReceive, std::span(&b, 1));  // the receive event
    }
    const DriveIndex index(stream);
    ASSERT_EQ(index.frames().size(), log.taken.size());
    ASSERT_GT(index.frames().size(), 200u);
    EXPECT_GT(index.rejected(), 50u);
    for (std::size_t i = 0; i < log.taken.size(); ++i) {
        EXPECT_EQ(index.frameText(i), log.taken[i].first) << i;
        EXPECT_EQ(index.frames()[i].at, log.taken[i].second) << i;
    }
    EXPECT_EQ(index.framesTakenBy(0), 0u);
    EXPECT_EQ(index.framesTakenBy(index.frames()[3].at), 4u);
    EXPECT_EQ(index.framesTakenBy(index.frames()[3].at - 1), 3u);
}

TEST(DriveAlerts, FourPassesGiveFourAlertsInOrderWithTheirDetails) {
    Bytes stream;
    const DisplayState idle;
    Hold(stream, idle, 30);
    const std::vector<std::pair<Band, int>> passes = {{kX, 3}, {kK, 5}, {kKa, 2}, {kLaser, 8}};
    for (const auto& [band, peak] : passes) {
        Hold(stream, Alert({band}, 1, true, false), 10);
        Hold(stream, Alert({band}, peak, true, false), 10);
        Hold(stream, Alert({band}, 1, false, true), 16);  // 36 frames: 900 bytes, 1.25 s
        Hold(stream, idle, 50);
    }
    const DriveIndex index(stream);
    const auto alerts = FindAlerts(index);
    ASSERT_EQ(alerts.size(), 4u);
    const DriveStart start{2024, 5, 1, 14, 0, 0, 0};
    const auto rows = DescribeAlerts(alerts, start);
    EXPECT_EQ(rows[0].bands, "X");
    EXPECT_EQ(rows[1].bands, "K");
    EXPECT_EQ(rows[2].bands, "Ka");
    EXPECT_EQ(rows[3].bands, "Laser");
    EXPECT_EQ(rows[1].peakDots, 5);
    EXPECT_EQ(rows[3].peakDots, 8);
    EXPECT_EQ(rows[0].arrows, "front rear");
    // The first alert frame is frame 30; the program takes it when the sync
    // byte of frame 31 arrives.
    EXPECT_EQ(alerts[0].startAt, 31u * 25 + 1);
    EXPECT_EQ(alerts[0].endAt - alerts[0].startAt, 36u * 25);
    EXPECT_EQ(rows[0].duration, "1.2");
    EXPECT_EQ(rows[0].start, "14:00:01");
    EXPECT_TRUE(alerts[3].ended);
    EXPECT_EQ(SeekBefore(alerts[1]), alerts[1].startAt - 720);
    EXPECT_EQ(SeekBefore(alerts[0]), 56u);
}

TEST(DriveAlerts, AnAlertStillOnAtTheEndLastsToTheEnd) {
    Bytes stream;
    Hold(stream, Alert({kKa, kK}, 4, false, false), 40);
    const auto alerts = FindAlerts(DriveIndex(stream));
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_FALSE(alerts[0].ended);
    EXPECT_EQ(alerts[0].endAt, stream.size());
    EXPECT_EQ(DescribeAlert(alerts[0], std::nullopt).bands, "K Ka");
}

TEST(DriveAlerts, BadRecordingsGiveEmptyLists) {
    std::mt19937 rng(3);
    Bytes random(200000);
    for (auto& b : random) {
        b = static_cast<std::uint8_t>(rng());
    }
    Bytes truncated = FrameBytes(Alert({kX}, 3, true, false));
    truncated.resize(20);
    const Bytes syncs(5000, kSyncByte);
    for (const Bytes* b : {&std::as_const(truncated), &syncs}) {
        EXPECT_TRUE(FindAlerts(DriveIndex(*b)).empty());
    }
    // Noise now and then holds 25 bytes between two sync bytes, which the
    // program would take as a frame too; whatever it finds stays in bounds.
    const DriveIndex noise(random);
    for (const DriveAlert& a : FindAlerts(noise)) {
        EXPECT_LE(a.startAt, a.endAt);
        EXPECT_LE(a.endAt, noise.size());
    }
    EXPECT_TRUE(DriveIndex(Bytes{}).frames().empty());
    EXPECT_EQ(AlertTable({}), "No alerts.\n");
}

TEST(DriveAlerts, TableAndCsvCarryTheSameRows) {
    const std::vector<AlertRow> rows = {{"14:00:01", "1.2", "X", 3, "front rear"},
                                        {"14:05:00", "12.0", "K Ka", 5, ""}};
    EXPECT_EQ(AlertCsv(rows),
              "Start,Duration (s),Bands,Peak dots,Arrows\r\n"
              "14:00:01,1.2,X,3,front rear\r\n"
              "14:05:00,12.0,K Ka,5,\r\n");
    const std::string table = AlertTable(rows);
    EXPECT_NE(table.find("14:00:01       1.2 s  X                 3  front rear\n"),
              std::string::npos)
        << table;
    EXPECT_NE(table.find("14:05:00      12.0 s  K Ka              5  -\n"), std::string::npos)
        << table;
}

}  // namespace
}  // namespace veltra::recorder
