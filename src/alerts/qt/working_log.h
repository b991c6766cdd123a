#pragma once
// Where the working log "temp.log" lives: beside the program when that
// directory can be written, otherwise in the per-user data directory.

#include <QString>

namespace veltra {

inline constexpr const char* kWorkingLogName = "temp.log";

// The working log for this program.
QString WorkingLogPath();
// The same rule for a given program directory.
QString WorkingLogPathFor(const QString& programDir);

}  // namespace veltra
