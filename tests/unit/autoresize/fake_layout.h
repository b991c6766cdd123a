#pragma once
// A window and controls held in memory, for driving the layout code by hand.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "autoresize/layout_parent.h"

namespace veltra::test {

class FakeControl : public LayoutControl {
public:
    FakeControl(std::string type, std::map<std::string, double, std::less<>> props)
        : type(std::move(type)), props(std::move(props)) {}

    std::string TypeName() const override { return type; }
    std::optional<std::string> ContainerTypeName() const override { return container; }
    std::optional<std::string> Tag() const override { return tag; }
    std::optional<double> Get(std::string_view name) const override {
        auto it = props.find(name);
        if (it == props.end()) {
            return std::nullopt;
        }
        return it->second;
    }
    bool Set(std::string_view name, double value) override {
        auto it = props.find(name);
        if (it == props.end() || readOnly.count(std::string(name))) {
            return false;
        }
        it->second = value;
        sets.emplace_back(name);
        return true;
    }
    double operator[](const std::string& name) const { return props.at(name); }

    std::string type;
    std::map<std::string, double, std::less<>> props;
    std::optional<std::string> container;
    std::optional<std::string> tag;
    std::set<std::string> readOnly;
    std::vector<std::string> sets;
};

// Sizes in twips, with the client area in the same units (like a window in
// twips scale mode): inner = outer - the frame.
class FakeParent : public LayoutParent {
public:
    FakeParent(double width, double height) : outerWidth(width), outerHeight(height) {}

    double InnerWidth() const override { return outerWidth - frameWidth; }
    double InnerHeight() const override { return outerHeight - frameHeight; }
    double OuterWidth() const override { return outerWidth; }
    double OuterHeight() const override { return outerHeight; }
    // Like a real window, a size that does not change raises no resize event.
    bool SetOuterWidth(double twips) override {
        if (twips == outerWidth) {
            return true;
        }
        outerWidth = twips;
        log.push_back("width " + std::to_string(static_cast<int>(twips)));
        Resized();
        return true;
    }
    bool SetOuterHeight(double twips) override {
        if (twips == outerHeight) {
            return true;
        }
        outerHeight = twips;
        log.push_back("height " + std::to_string(static_cast<int>(twips)));
        Resized();
        return true;
    }
    WindowState State() const override { return state; }
    int ControlCount() override { return static_cast<int>(controls.size()); }
    LayoutControl* Control(int index) override {
        if (index < 0 || index >= static_cast<int>(controls.size())) {
            return nullptr;
        }
        return controls[index].get();
    }
    bool SetControlVisible(std::string_view name, bool visible) override {
        if (!hasFrame || name != "displayPanel") {
            return false;
        }
        frameVisible = visible;
        log.push_back(visible ? "show" : "hide");
        return true;
    }

    FakeControl& Add(std::string type, std::map<std::string, double, std::less<>> props) {
        controls.push_back(std::make_unique<FakeControl>(std::move(type), std::move(props)));
        return *controls.back();
    }
    // A user (or the window manager) resizes the window: the resize event
    // follows at once.
    void DragTo(double width, double height) {
        outerWidth = width;
        outerHeight = height;
        Resized();
    }
    // The resize event of a size change, delivered now or held back, as the
    // window system does it.
    void Resized() {
        if (!onResize) {
            return;
        }
        if (deferResizeEvents) {
            ++pendingResizeEvents;
        } else {
            onResize();
        }
    }
    // Delivers the events held back so far; those raised meanwhile wait.
    void DeliverPendingResizeEvents() {
        for (int n = std::exchange(pendingResizeEvents, 0); n > 0; --n) {
            onResize();
        }
    }

    double outerWidth;
    double outerHeight;
    double frameWidth = 120;
    double frameHeight = 690;
    WindowState state = WindowState::Normal;
    std::vector<std::unique_ptr<FakeControl>> controls;
    bool hasFrame = true;
    bool frameVisible = true;
    std::function<void()> onResize;
    bool deferResizeEvents = false;
    int pendingResizeEvents = 0;
    std::vector<std::string> log;
};

}  // namespace veltra::test
