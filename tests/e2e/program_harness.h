#pragma once
// Drives the real veltrascope binary on a real X server: a throwaway settings
// store, a pseudo-terminal as its serial port, and the window inspected with
// xdotool and xprop as a user's desktop would see it.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace veltra::e2e {

// Sends WM_DELETE_WINDOW to `window` (a decimal X window id); false when
// the X server refused it.
bool CloseWindow(const std::string& window);

// Runs a shell command and returns its standard output (trailing newline
// trimmed); empty on failure.
std::string Shell(const std::string& command);

// Polls `done` until it holds or `timeout` passes.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A pseudo-terminal standing in for the detector: the program opens the
// slave as its serial port, the test writes detector bytes to the master.
class DetectorPty {
public:
    DetectorPty();
    ~DetectorPty();
    const std::string& device() const { return device_; }
    void write(const std::vector<std::uint8_t>& bytes);
    // Keeps writing one frame of `frame` every 35 ms from a background
    // thread until stopFeeding(), so the link watchdog sees a live link.
    void feed(const std::vector<std::uint8_t>& frame);
    void stopFeeding();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string device_;
    struct Feeder;
    std::unique_ptr<Feeder> feeder_;
};

class Program {
public:
    // A fresh settings store in a temporary XDG_CONFIG_HOME; COM 1 maps to
    // `device` when given.
    explicit Program(std::string device = {});
    ~Program();

    std::filesystem::path configFile() const;
    // Sets (a value) or removes (nullopt) a variable in the environment the
    // program starts with, and in no other process.
    void setEnvironment(const std::string& name, std::optional<std::string> value);
    void setSetting(const std::string& key, const std::string& value);
    std::optional<std::string> setting(const std::string& key) const;

    // Starts the binary (optionally under strace) and waits for its window.
    // `args` (shell words) follow the program's name.
    bool start(const std::string& wrapper = {}, const std::string& args = {});
    // Asks the program to close its window the way the window manager's
    // close button does (WM_DELETE_WINDOW).
    bool close();
    // Waits for the process to end; its exit status, or -1 on timeout.
    int wait(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    bool running();

    pid_t pid() const { return pid_; }
    // The program's own process (a wrapper's child when started under one).
    pid_t programPid() const;
    // Where the program runs from: a private copy, so that its working log
    // ("temp.log" beside the program) belongs to this test alone.
    std::filesystem::path programDir() const { return scratch_ / "bin"; }
    // Shown windows of the program titled "Veltra Scope": the main window,
    // the notification-area icon, message boxes.
    std::vector<std::string> windows() const;
    // Those other than the main window and the icon (message boxes).
    std::vector<std::string> otherWindows() const;
    // The notification-area icon's window; empty when there is none.
    std::string trayIcon() const;
    // Whether the program holds `path` open.
    bool holdsOpen(const std::string& path) const;
    // The main window, found again when its X window changed.
    const std::string& window() const;
    std::filesystem::path scratch() const { return scratch_; }

    // What the window manager says of the window.
    std::string netWmState() const;
    bool mapped() const;
    // The window manager draws no frame around the window.
    bool frameless() const;
    struct Geometry {
        int x = 0, y = 0, width = 0, height = 0;
    };
    Geometry geometry() const;  // the client area, root coordinates
    // The window as it is on the screen now, as a PNG.
    bool screenshot(const std::filesystem::path& png) const;

private:
    std::filesystem::path scratch_;
    pid_t pid_ = -1;
    mutable std::string window_;
    std::string device_;
    std::vector<std::pair<std::string, std::optional<std::string>>> environment_;
};

// One display frame: an idle mode letter, or an alert (Ka, two signal dots,
// the front arrow, a count on the digit).
// How many bright-red pixels (lit elements of the face) a PNG holds.
int LitPixels(const std::filesystem::path& png);

// The whole of a file, empty when it cannot be read.
std::string ReadAll(const std::filesystem::path& path);
// The non-empty lines of a text, without their CR LF.
std::vector<std::string> Lines(const std::string& text);

// `Lit::All` lights every element, `Lit::None` none.
enum class Lit { Some, All, None };
std::vector<std::uint8_t> Frame(bool alert, Lit lit = Lit::Some);

}  // namespace veltra::e2e
