#include "gui/shell/temp_config_home.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace veltra::test {

namespace {

struct PrivateConfigHome {
    std::string dir;
    PrivateConfigHome() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/veltra-config-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("cannot create a private XDG_CONFIG_HOME");
            std::abort();
        }
        dir = pattern;
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    }
    ~PrivateConfigHome() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

const PrivateConfigHome& Home() {
    static PrivateConfigHome home;
    return home;
}

// Runs during static initialisation, before main() creates the application.
[[maybe_unused]] const PrivateConfigHome& kEarly = Home();

}  // namespace

QString TempConfigHome() {
    return QString::fromStdString(Home().dir);
}

}  // namespace veltra::test
