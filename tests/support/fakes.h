#pragma once
// Hand-driven stand-ins for the platform, shared by the unit tests.

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "platform/task_queue.h"
#include "platform/timer.h"
#include "platform/window.h"

namespace veltra::test {

class FakeTimer : public Timer {
public:
    void start() override {
        if (!active_) {
            active_ = true;
            ++starts;
        }
    }
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }
    void setOnTick(std::function<void()> handler) override { onTick_ = std::move(handler); }
    // One interval has passed: ticks only while running, like a real timer.
    void tick() {
        if (active_ && onTick_) {
            onTick_();
        }
    }
    int starts = 0;

private:
    bool active_ = false;
    std::function<void()> onTick_;
};

class FakeClock : public MonotonicClock {
public:
    std::chrono::nanoseconds now() const override { return now_; }
    void advance(std::chrono::nanoseconds d) { now_ += d; }

private:
    std::chrono::nanoseconds now_{std::chrono::seconds(1000)};
};

class FakeTimeOfDay : public TimeOfDay {
public:
    std::string longTime() const override { return text; }
    std::string text = "9:41:07 PM";
};

// Each processEvents() runs the hook (if any), so a test can inject events
// that arrive during a nested wait.
class FakeEventPump : public EventPump {
public:
    void processEvents() override {
        ++calls;
        if (hook) {
            hook();
        }
    }
    std::function<void()> hook;
    int calls = 0;
};

// Holds posted tasks until the test runs them, as the event loop would once
// the current event has returned.
class FakeTaskQueue : public TaskQueue {
public:
    void Post(std::function<void()> task) override { tasks.push_back(std::move(task)); }
    // Runs what is queued, including what those tasks post.
    void RunAll() {
        while (!tasks.empty()) {
            auto task = std::move(tasks.front());
            tasks.erase(tasks.begin());
            task();
        }
    }
    std::vector<std::function<void()>> tasks;
};

class FakePrompt : public Prompt {
public:
    struct Shown {
        std::string title;
        std::string text;
        PromptIcon icon;
        PromptButtons buttons;
    };
    PromptAnswer show(const std::string& title, const std::string& text, PromptIcon icon,
                      PromptButtons buttons) override {
        shown.push_back({title, text, icon, buttons});
        if (duringShow) {
            duringShow();
        }
        return buttons == PromptButtons::YesNo ? answer : PromptAnswer::Ok;
    }
    std::vector<Shown> shown;
    PromptAnswer answer = PromptAnswer::Yes;
    std::function<void()> duringShow;
};

class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::string> value(std::string_view section,
                                     std::string_view key) const override {
        auto it = values.find({std::string(section), std::string(key)});
        if (it == values.end()) {
            return std::nullopt;
        }
        return it->second;
    }
    void setValue(std::string_view section, std::string_view key, std::string_view text) override {
        values[{std::string(section), std::string(key)}] = std::string(text);
        writes.push_back(std::string(key));
    }
    void set(std::string_view key, std::string_view text) {
        values[{std::string(kSettingsSection), std::string(key)}] = std::string(text);
    }
    std::string get(std::string_view key) const {
        return value(kSettingsSection, key).value_or("<absent>");
    }
    std::map<std::pair<std::string, std::string>, std::string> values;
    std::vector<std::string> writes;
};

class FakeWindow : public MainWindowOps, public TopMostOps {
public:
    WindowState windowState() const override { return state; }
    void setWindowState(WindowState s) override {
        state = s;
        log.push_back(s == WindowState::Minimised ? "minimise"
                      : s == WindowState::Normal  ? "normal"
                                                  : "maximise");
    }
    void bringToFront() override { log.push_back("front"); }
    void show() override { log.push_back("show"); }
    void SetTopMost() override {
        topMost = true;
        log.push_back("topmost");
    }
    void SetNotTopMost() override {
        topMost = false;
        log.push_back("nottopmost");
    }
    WindowState state = WindowState::Normal;
    bool topMost = false;
    std::vector<std::string> log;
};

}  // namespace veltra::test
