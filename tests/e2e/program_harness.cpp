#include "e2e/program_harness.h"

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <QColor>
#include <QImage>
#include <QString>

#include "link/frame_encoder.h"

namespace veltra::e2e {

namespace fs = std::filesystem;

namespace {
// The notification-area icon is a small square window the tray holds.
bool IsTrayIcon(const std::string& window) {
    const std::string g = Shell("xdotool getwindowgeometry --shell " + window + " 2>/dev/null");
    std::smatch w, h;
    if (!std::regex_search(g, w, std::regex("WIDTH=([0-9]+)")) ||
        !std::regex_search(g, h, std::regex("HEIGHT=([0-9]+)"))) {
        return false;
    }
    return std::stoi(w[1]) <= 64 && std::stoi(w[1]) == std::stoi(h[1]);
}
}  // namespace

std::string Shell(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) {
        return out;
    }
    std::array<char, 4096> buf{};
    size_t n = 0;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) {
        out.append(buf.data(), n);
    }
    pclose(p);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) {
        out.pop_back();
    }
    return out;
}

bool CloseWindow(const std::string& window) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) != 0) {
        xcb_disconnect(c);
        return false;
    }
    auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        xcb_atom_t a = r != nullptr ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(r);
        return a;
    };
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = static_cast<xcb_window_t>(std::stoul(window));
    ev.type = atom("WM_PROTOCOLS");
    ev.data.data32[0] = atom("WM_DELETE_WINDOW");
    ev.data.data32[1] = XCB_CURRENT_TIME;
    // Checked, so that the server has handled the request before this
    // connection goes: a request flushed just before disconnecting was at
    // times never delivered.
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_send_event_checked(c, 0, ev.window, XCB_EVENT_MASK_NO_EVENT,
                                                    reinterpret_cast<const char*>(&ev)));
    const bool sent = error == nullptr;
    std::free(error);
    xcb_disconnect(c);
    return sent;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return done();
}

struct DetectorPty::Feeder {
    std::atomic<bool> stop{false};
    std::thread thread;
};

DetectorPty::DetectorPty() {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
    device_ = name;
}

DetectorPty::~DetectorPty() {
    stopFeeding();
    close(master_);
    close(slave_);
}

void DetectorPty::write(const std::vector<std::uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            throw std::runtime_error("write to the pty master failed");
        }
        done += static_cast<size_t>(n);
    }
}

void DetectorPty::feed(const std::vector<std::uint8_t>& frame) {
    stopFeeding();
    feeder_ = std::make_unique<Feeder>();
    feeder_->thread = std::thread([this, frame, f = feeder_.get()] {
        while (!f->stop) {
            ::write(master_, frame.data(), frame.size());
            std::this_thread::sleep_for(std::chrono::milliseconds(35));
        }
    });
}

void DetectorPty::stopFeeding() {
    if (feeder_ != nullptr) {
        feeder_->stop = true;
        feeder_->thread.join();
        feeder_.reset();
    }
}

Program::Program(std::string device) : device_(std::move(device)) {
    char tmpl[] = "/tmp/veltra-e2e-XXXXXX";
    scratch_ = mkdtemp(tmpl);
    fs::create_directories(scratch_ / "config" / "Veltrascope");
    fs::create_directories(scratch_ / "data");
    std::ofstream ini(configFile());
    if (!device_.empty()) {
        ini << "[Ports]\nCOM1=" << device_ << "\n\n";
    }
    ini << "[Settings]\n";
}

Program::~Program() {
    if (pid_ > 0 && running()) {
        // A wrapper killed first would leave the program running detached.
        const pid_t program = programPid();
        if (program != pid_) {
            kill(program, SIGKILL);
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    std::error_code ec;
    fs::remove_all(scratch_, ec);
}

void Program::setEnvironment(const std::string& name, std::optional<std::string> value) {
    environment_.emplace_back(name, std::move(value));
}

fs::path Program::configFile() const {
    return scratch_ / "config" / "Veltrascope" / "Veltrascope.ini";
}

void Program::setSetting(const std::string& key, const std::string& value) {
    std::ifstream in(configFile());
    std::stringstream all;
    all << in.rdbuf();
    std::string text = all.str();
    std::regex line("(^|\n)" + key + "=[^\n]*");
    if (std::regex_search(text, line)) {
        text = std::regex_replace(text, line, "$1" + key + "=" + value);
    } else {
        auto at = text.find("[Settings]\n");
        text.insert(at + 11, key + "=" + value + "\n");
    }
    std::ofstream(configFile(), std::ios::trunc) << text;
}

std::optional<std::string> Program::setting(const std::string& key) const {
    std::ifstream in(configFile());
    std::string l;
    bool inSettings = false;
    while (std::getline(in, l)) {
        if (!l.empty() && l[0] == '[') {
            inSettings = l == "[Settings]";
        } else if (inSettings && l.rfind(key + "=", 0) == 0) {
            return l.substr(key.size() + 1);
        }
    }
    return std::nullopt;
}

bool Program::start(const std::string& wrapper, const std::string& args) {
    const fs::path bin = programDir();
    fs::create_directories(bin);
    fs::copy_file(VELTRA_BINARY, bin / "veltrascope", fs::copy_options::overwrite_existing);
    const fs::path readme = fs::path(VELTRA_BINARY).parent_path() / "readme.txt";
    if (fs::exists(readme)) {
        fs::copy_file(readme, bin / "readme.txt", fs::copy_options::overwrite_existing);
    }
    const std::string program = (bin / "veltrascope").string();
    pid_ = fork();
    if (pid_ == 0) {
        setenv("XDG_CONFIG_HOME", (scratch_ / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (scratch_ / "data").c_str(), 1);
        unsetenv("QT_QPA_PLATFORM");
        for (const auto& [name, value] : environment_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        if (wrapper.empty() && args.empty()) {
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        } else {
            // LeakSanitizer cannot look at a process that is being traced
            // and fails it instead; under a tracer the leak check is off.
            const char* asan = std::getenv("ASAN_OPTIONS");
            setenv("ASAN_OPTIONS",
                   (std::string(asan != nullptr ? asan : "") + ":detect_leaks=0").c_str(), 1);
            std::string cmd = wrapper + " " + program + " " + args;
            execl("/bin/sh", "sh", "-c", ("exec " + cmd).c_str(), static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    return WaitUntil([&] {
        // The first visible top-level window titled "Veltra Scope".
        window_.clear();
        return !window().empty();
    });
}

pid_t Program::programPid() const {
    // Under a wrapper (strace) the program is the wrapper's child.
    const std::string child = Shell("pgrep -P " + std::to_string(pid_) + " -x veltrascope");
    return child.empty() ? pid_ : static_cast<pid_t>(std::stol(child));
}

bool Program::close() {
    return CloseWindow(window());
}

std::vector<std::string> Program::windows() const {
    std::vector<std::string> out;
    std::istringstream all(Shell("xdotool search --all --onlyvisible --pid " +
                                 std::to_string(programPid()) +
                                 " --name '^Veltra Scope$' 2>/dev/null"));
    for (std::string w; std::getline(all, w);) {
        if (!w.empty()) {
            out.push_back(w);
        }
    }
    return out;
}

const std::string& Program::window() const {
    // Changing the frame may give the window a new X window; a hidden
    // (minimised) window keeps the one it had.
    if (!window_.empty() &&
        Shell("xwininfo -id " + window_ + " >/dev/null 2>&1 && echo ok") == "ok") {
        const std::string state = Shell("xwininfo -id " + window_ + " 2>/dev/null");
        if (state.find("IsViewable") != std::string::npos ||
            state.find("IsUnMapped") != std::string::npos) {
            return window_;
        }
    }
    for (const std::string& w : windows()) {
        if (!IsTrayIcon(w)) {
            window_ = w;
            break;
        }
    }
    return window_;
}

std::vector<std::string> Program::otherWindows() const {
    std::vector<std::string> out;
    for (const std::string& w : windows()) {
        if (w != window() && !IsTrayIcon(w)) {
            out.push_back(w);
        }
    }
    return out;
}

std::string Program::trayIcon() const {
    // The tray holds the icon: a small square window of the program's own.
    std::istringstream all(
        Shell("xdotool search --onlyvisible --pid " + std::to_string(pid_) + " 2>/dev/null"));
    for (std::string w; std::getline(all, w);) {
        if (!w.empty() && w != window_ && IsTrayIcon(w)) {
            return w;
        }
    }
    return {};
}

bool Program::holdsOpen(const std::string& path) const {
    std::error_code ec;
    for (const auto& fd :
         fs::directory_iterator("/proc/" + std::to_string(programPid()) + "/fd", ec)) {
        std::error_code ec2;
        if (fs::read_symlink(fd.path(), ec2) == path) {
            return true;
        }
    }
    return false;
}

bool Program::screenshot(const fs::path& png) const {
    fs::create_directories(png.parent_path());
    return std::system(
               ("import -window " + window() + " " + png.string() + " 2>/dev/null").c_str()) == 0;
}

int Program::wait(std::chrono::milliseconds timeout) {
    int status = 0;
    bool ended = WaitUntil([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, timeout);
    if (!ended) {
        return -1;
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool Program::running() {
    return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0;
}

std::string Program::netWmState() const {
    return Shell("xprop -id " + window() + " _NET_WM_STATE 2>/dev/null");
}

bool Program::frameless() const {
    return Shell("xprop -id " + window() + " _NET_FRAME_EXTENTS 2>/dev/null")
               .find("= 0, 0, 0, 0") != std::string::npos;
}

bool Program::mapped() const {
    return Shell("xwininfo -id " + window() + " 2>/dev/null | grep 'Map State'")
               .find("IsViewable") != std::string::npos;
}

Program::Geometry Program::geometry() const {
    Geometry g;
    const std::string out = Shell("xwininfo -id " + window() + " 2>/dev/null");
    auto num = [&](const char* key) {
        std::smatch m;
        std::regex re(std::string(key) + ":\\s+(-?[0-9]+)");
        return std::regex_search(out, m, re) ? std::stoi(m[1]) : 0;
    };
    g.x = num("Absolute upper-left X");
    g.y = num("Absolute upper-left Y");
    g.width = num("Width");
    g.height = num("Height");
    return g;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') {
            l.pop_back();
        }
        if (!l.empty()) {
            out.push_back(l);
        }
    }
    return out;
}

int LitPixels(const fs::path& png) {
    const QImage image(QString::fromStdString(png.string()));
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            lit += c.red() > 200 && c.green() < 90 && c.blue() < 90 ? 1 : 0;
        }
    }
    return lit;
}

std::vector<std::uint8_t> Frame(bool alert, Lit lit) {
    DisplayState state;
    if (lit != Lit::Some) {
        const bool on = lit == Lit::All;
        state.FrontArrow = state.SideArrow = state.RearArrow = on;
        state.Segment.fill(on);
        state.Segment[0] = false;
        state.Signal.fill(on);
        state.Band.fill(on);
        const auto f = EncodeFrame(state);
        return {f.begin(), f.end()};
    }
    // An idle display shows a mode letter; an alert lights Ka, two dots and
    // the front arrow.
    const auto segments = SegmentsFor(alert ? '2' : 'A');
    state.Segment = *segments;
    if (alert) {
        state.Band[kKa] = true;
        state.Signal[0] = state.Signal[1] = true;
        state.FrontArrow = true;
    }
    const auto f = EncodeFrame(state);
    return {f.begin(), f.end()};
}

}  // namespace veltra::e2e
