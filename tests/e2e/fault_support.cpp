#include "e2e/fault_support.h"

#include <fstream>
#include <sstream>

namespace veltra::e2e {

std::vector<std::string> WindowsTitled(const Program& program, const std::string& titleRegex) {
    std::vector<std::string> out;
    std::istringstream all(Shell("xdotool search --all --onlyvisible --pid " +
                                 std::to_string(program.programPid()) + " --name '" + titleRegex +
                                 "' 2>/dev/null"));
    for (std::string w; std::getline(all, w);) {
        if (!w.empty()) {
            out.push_back(w);
        }
    }
    return out;
}

void PressKeys(const Program& program, const std::string& keys) {
    Shell("xdotool windowactivate --sync " + program.window() + " key --clearmodifiers " + keys);
}

void Dismiss(const std::string& box) {
    Shell("xdotool windowactivate --sync " + box + " key --clearmodifiers Return");
}

long PeakRssKb(const Program& program) {
    std::ifstream status("/proc/" + std::to_string(program.programPid()) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

std::vector<std::string> RawLines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            out.push_back(text.substr(at));
            break;
        }
        out.push_back(text.substr(at, end + 1 - at));
        at = end + 1;
    }
    return out;
}

}  // namespace veltra::e2e
