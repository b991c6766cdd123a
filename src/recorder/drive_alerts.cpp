#include "recorder/drive_alerts.h"

#include <algorithm>
#include <cstdio>

#include "link/display_decoder.h"

namespace veltra::recorder {

namespace {

// Collects alerts as the decoder reports them. The window operations are
// inert: a recording never restores or hides anything.
class AlertCollector : public DisplayView, public AlertHooks, public MainWindowOps {
public:
    void ShowState(const DisplayState& s) override { state = s; }
    void BeginAlert() override {
        alerts.push_back({});
        alerts.back().startAt = now;
    }
    void EndAlert() override {
        alerts.back().endAt = now;
        alerts.back().ended = true;
    }
    WindowState windowState() const override { return WindowState::Normal; }
    void setWindowState(WindowState) override {}
    void bringToFront() override {}
    void show() override {}

    void Accumulate() {
        DriveAlert& a = alerts.back();
        for (std::size_t b = 0; b < a.bands.size(); ++b) {
            a.bands[b] = a.bands[b] || state.Band[b];
        }
        a.peakDots =
            std::max(a.peakDots,
                     static_cast<int>(std::count(state.Signal.begin(), state.Signal.end(), true)));
        a.front = a.front || state.FrontArrow;
        a.side = a.side || state.SideArrow;
        a.rear = a.rear || state.RearArrow;
    }

    std::uint64_t now = 0;
    DisplayState state;
    std::vector<DriveAlert> alerts;
};

std::string Join(std::initializer_list<std::pair<bool, const char*>> parts) {
    std::string text;
    for (const auto& [on, name] : parts) {
        if (on) {
            text += text.empty() ? "" : " ";
            text += name;
        }
    }
    return text;
}

// Quotes a CSV field only when it needs it.
std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) {
        return s;
    }
    std::string q = "\"";
    for (char c : s) {
        q += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return q + "\"";
}

}  // namespace

std::vector<DriveAlert> FindAlerts(const DriveIndex& drive) {
    AlertCollector c;
    DisplayDecoder decoder(c, c, c);
    for (std::size_t i = 0; i < drive.frames().size(); ++i) {
        c.now = drive.frames()[i].at;
        decoder.Process(drive.frameText(i));
        if (decoder.InAlert) {
            c.Accumulate();
        }
    }
    if (!c.alerts.empty() && !c.alerts.back().ended) {
        c.alerts.back().endAt = drive.size();
    }
    return c.alerts;
}

AlertRow DescribeAlert(const DriveAlert& a, const std::optional<DriveStart>& start) {
    AlertRow row;
    row.start = TimeAtByte(a.startAt, start);
    const std::uint64_t tenths = (a.endAt - a.startAt) * 10 / kBytesPerSecond;
    row.duration = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    row.bands = Join(
        {{a.bands[kX], "X"}, {a.bands[kK], "K"}, {a.bands[kKa], "Ka"}, {a.bands[kLaser], "Laser"}});
    row.peakDots = a.peakDots;
    row.arrows = Join({{a.front, "front"}, {a.side, "side"}, {a.rear, "rear"}});
    return row;
}

std::vector<AlertRow> DescribeAlerts(const std::vector<DriveAlert>& alerts,
                                     const std::optional<DriveStart>& start) {
    std::vector<AlertRow> rows;
    rows.reserve(alerts.size());
    for (const DriveAlert& a : alerts) {
        rows.push_back(DescribeAlert(a, start));
    }
    return rows;
}

std::string AlertTable(const std::vector<AlertRow>& rows) {
    if (rows.empty()) {
        return "No alerts.\n";
    }
    std::string text;
    char line[256];
    std::snprintf(line, sizeof line, "%-10s %9s  %-14s %4s  %s\n", "Start", "Duration", "Bands",
                  "Peak", "Arrows");
    text += line;
    for (const AlertRow& r : rows) {
        std::snprintf(line, sizeof line, "%-10s %9s  %-14s %4d  %s\n", r.start.c_str(),
                      (r.duration + " s").c_str(), r.bands.empty() ? "-" : r.bands.c_str(),
                      r.peakDots, r.arrows.empty() ? "-" : r.arrows.c_str());
        text += line;
    }
    return text;
}

std::string AlertCsv(const std::vector<AlertRow>& rows) {
    std::string text = "Start,Duration (s),Bands,Peak dots,Arrows\r\n";
    for (const AlertRow& r : rows) {
        text += CsvField(r.start) + "," + r.duration + "," + CsvField(r.bands) + "," +
                std::to_string(r.peakDots) + "," + CsvField(r.arrows) + "\r\n";
    }
    return text;
}

std::uint64_t SeekBefore(const DriveAlert& alert) {
    return alert.startAt > kBytesPerSecond ? alert.startAt - kBytesPerSecond : 0;
}

}  // namespace veltra::recorder
