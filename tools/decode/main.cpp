// veltrascope-decode: turns a recorded raw stream from the detector into the
// alert log the program would have written for it.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alert_command.h"
#include "shell/version.h"
#include "stream_decoder.h"

namespace {

constexpr std::size_t kMaxChunk = std::size_t{1} << 24;

constexpr const char* kUsage =
    "Usage: veltrascope-decode [--chunk N] [--events] [FILE]\n"
    "       veltrascope-decode --alerts [--csv] FILE\n";

constexpr const char* kHelp =
    "Reads the raw bytes the detector sent (from FILE, or standard input when\n"
    "FILE is absent or \"-\") and prints every line Veltra Scope would append to\n"
    "its alert log for them, running the program's own receive, decode and log\n"
    "code with logging on. The time of day is replaced by the time into the\n"
    "stream at 720 bytes per second (H:MM:SS.mmm) at which the sync byte that\n"
    "completes the frame arrives. Lines end in a line feed.\n"
    "\n"
    "  --chunk N   hand the bytes over in receive events of N bytes (default 16,\n"
    "              1 to 16777216); the output does not depend on it\n"
    "  --events    also print \"BeginAlert\" and \"EndAlert\" where alerts begin\n"
    "              and end\n"
    "  --alerts    print the drive's alerts instead: start time of day, duration,\n"
    "              bands seen, peak signal dots and arrows seen, one per line.\n"
    "              The time of day comes from the recording's name\n"
    "              (YYYY-MM-DD_HH-MM-SS.vsdrive); for other names it is the time\n"
    "              into the drive, marked \"+\"\n"
    "  --csv       with --alerts: the same list as CSV\n"
    "  --help      show this text\n"
    "  --version   show the version and exit\n"
    "\n"
    "Exit status: 0 on success, 2 on a bad argument or when the input cannot be\n"
    "read or the output cannot be written.\n";

struct Options {
    std::size_t chunk = 16;
    bool events = false;
    bool alerts = false;
    bool csv = false;
    std::string file;  // empty: standard input
    bool help = false;
    bool version = false;
};

int Usage(const std::string& problem) {
    std::cerr << "veltrascope-decode: " << problem << "\n" << kUsage;
    return 2;
}

std::optional<std::size_t> ParseChunk(std::string_view text) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    std::size_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        n = n * 10 + static_cast<std::size_t>(c - '0');
    }
    if (n < 1 || n > kMaxChunk) {
        return std::nullopt;
    }
    return n;
}

// Empty on success, else the message for the user.
std::optional<std::string> ParseArgs(int argc, char** argv, Options& o) {
    bool haveFile = false;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnd && (arg == "--help" || arg == "-h")) {
            o.help = true;
        } else if (!optionsEnd && arg == "--version") {
            o.version = true;
        } else if (!optionsEnd && arg == "--events") {
            o.events = true;
        } else if (!optionsEnd && arg == "--alerts") {
            o.alerts = true;
        } else if (!optionsEnd && arg == "--csv") {
            o.csv = true;
        } else if (!optionsEnd && (arg == "--chunk" || arg.starts_with("--chunk="))) {
            std::string_view value;
            if (arg == "--chunk") {
                if (i + 1 >= argc) {
                    return "--chunk needs a number of bytes";
                }
                value = argv[++i];
            } else {
                value = arg.substr(8);
            }
            auto n = ParseChunk(value);
            if (!n) {
                return "--chunk wants a whole number from 1 to " + std::to_string(kMaxChunk) +
                       ", not \"" + std::string(value) + "\"";
            }
            o.chunk = *n;
        } else if (!optionsEnd && arg == "--") {
            optionsEnd = true;
        } else if (!optionsEnd && arg.size() > 1 && arg[0] == '-') {
            return "unknown option \"" + std::string(arg) + "\"";
        } else if (haveFile) {
            return "only one FILE can be read, got \"" + o.file + "\" and \"" + std::string(arg) +
                   "\"";
        } else {
            haveFile = true;
            o.file = arg == "-" && !optionsEnd ? "" : std::string(arg);
        }
    }
    if (o.help) {
        return std::nullopt;
    }
    if (o.csv && !o.alerts) {
        return "--csv goes with --alerts";
    }
    if (o.alerts && o.file.empty()) {
        return "--alerts needs a recording FILE";
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (auto problem = ParseArgs(argc, argv, o)) {
        return Usage(*problem);
    }
    if (o.help) {
        std::cout << kUsage << "\n" << kHelp;
        return std::cout.flush() ? 0 : 2;
    }
    if (o.version) {
        std::cout << veltra::VersionBanner("veltrascope-decode");
        return std::cout.flush() ? 0 : 2;
    }
    if (o.alerts) {
        return veltra::decode::PrintAlerts(o.file, o.csv, std::cout, std::cerr);
    }

    struct Closer {
        void operator()(std::FILE* f) const {
            if (f != stdin) {
                std::fclose(f);
            }
        }
    };
    const std::string name = o.file.empty() ? "standard input" : "\"" + o.file + "\"";
    std::unique_ptr<std::FILE, Closer> in(o.file.empty() ? stdin
                                                         : std::fopen(o.file.c_str(), "rb"));
    if (!in) {
        std::cerr << "veltrascope-decode: cannot open " << name << ": " << std::strerror(errno)
                  << "\n";
        return 2;
    }

    std::ios::sync_with_stdio(false);
    veltra::decode::StreamDecoder decoder(std::cout, std::cerr, o.events);
    std::vector<std::uint8_t> chunk(o.chunk);
    for (;;) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in.get());
        if (n > 0) {
            decoder.Receive(std::span(chunk.data(), n));
        }
        if (n < chunk.size()) {
            break;
        }
    }
    if (std::ferror(in.get())) {
        std::cerr << "veltrascope-decode: cannot read " << name << ": " << std::strerror(errno)
                  << "\n";
        return 2;
    }
    decoder.Drain();
    if (!std::cout.flush()) {
        std::cerr << "veltrascope-decode: cannot write the output\n";
        return 2;
    }
    return 0;
}
