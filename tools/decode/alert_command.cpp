#include "alert_command.h"

#include <variant>

#include "recorder/drive_alerts.h"
#include "recorder/drive_file.h"

namespace veltra::decode {

int PrintAlerts(const std::string& file, bool csv, std::ostream& out, std::ostream& errors) {
    auto loaded = recorder::LoadDrive(file);
    if (auto* problem = std::get_if<std::string>(&loaded)) {
        errors << "veltrascope-decode: " << *problem << "\n";
        return 2;
    }
    auto& drive = std::get<recorder::LoadedDrive>(loaded);
    const auto start = drive.start;
    const recorder::DriveIndex index(std::move(drive.bytes));
    if (index.frames().empty()) {
        // Not an error: an empty list is the answer, but say why it is empty.
        errors << "veltrascope-decode: \"" << file << "\" holds no display frames (" << index.size()
               << " bytes)\n";
    }
    const auto rows = recorder::DescribeAlerts(recorder::FindAlerts(index), start);
    out << (csv ? recorder::AlertCsv(rows) : recorder::AlertTable(rows));
    if (!out.flush()) {
        errors << "veltrascope-decode: cannot write the output\n";
        return 2;
    }
    return 0;
}

}  // namespace veltra::decode
