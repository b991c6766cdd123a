include "program_harness.h"
#include "link/frame_encoder.h"

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

    namespace veltra::e2e {

    namespace fs = std::filesystem;

    std::string Run(const std::string& command) {
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
        feeder_ = new Feeder;
        feeder_->thread = std::thread([this, frame, f = feeder_] {
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
            delete feeder_;
            feeder_ = nullptr;
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
        ini << "[Settings]\nCommPort=1\n";
    }

    Program::~Program() {
        if (pid_ > 0 && running()) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        std::error_code ec;
        fs::remove_all(scratch_, ec);
    }

    fs::path Program::configFile() const {
        return scratch_ / "config" / "Veltrascope" / "Veltrascope.ini";
    }

    fs::path Program::binaryDir() const {
        return fs::path(VELTRA_BINARY).parent_path();
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

    bool Program::start(const std::string& wrapper) {
        pid_ = fork();
        if (pid_ == 0) {
            setenv("XDG_CONFIG_HOME", (scratch_ / "config").c_str(), 1);
            setenv("XDG_DATA_HOME", (scratch_ / "data").c_str(), 1);
            unsetenv("QT_QPA_PLATFORM");
            if (wrapper.empty()) {
                execl(VELTRA_BINARY, VELTRA_BINARY, static_cast<char*>(nullptr));
            } else {
                std::string cmd = wrapper + " " + VELTRA_BINARY;
                execl("/bin/sh", "sh", "-c", ("exec " + cmd).c_str(), static_cast<char*>(nullptr));
            }
            _exit(127);
        }
        return WaitUntil([&] {
            // The first visible top-level window titled "Veltra Scope".
            window_ =
                Run("xdotool search --onlyvisible --name '^Veltra Scope$' 2>/dev/null | head -1");
            return !window_.empty();
        });
    }

    void Program::close() {
        // What the window manager's close button sends.
        Run("xdotool search --name '^Veltra Scope$' 2>/dev/null | while read w; do "
            "xdotool windowclose $w 2>/dev/null || wmctrl -i -c $w 2>/dev/null; done");
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
        return Run("xprop -id " + window_ + " _NET_WM_STATE 2>/dev/null");
    }

    bool Program::mapped() const {
        return Run("xwininfo -id " + window_ + " 2>/dev/null | grep 'Map State'")
                   .find("IsViewable") != std::string::npos;
    }

    Program::Geometry Program::geometry() const {
        Geometry g;
        std::string out = Run("xdotool getwindowgeometry --shell " + window_ + " 2>/dev/null");
        std::smatch m;
        auto num = [&](const char* key) {
            std::regex re(std::string(key) + "=(-?[0-9]+)");
            return std::regex_search(out, m, re) ? std::stoi(m[1]) : 0;
        };
        g.x = num("X");
        g.y = num("Y");
        g.width = num("WIDTH");
        g.height = num("HEIGHT");
        return g;
    }

    std::vector<std::uint8_t> Frame(bool alert) {
        DisplayState state;
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
