#pragma once
// This test program keeps its settings file below a private directory that
// it sets as XDG_CONFIG_HOME before main() runs, ahead of the first QSettings
// (which reads the variable once per process). The user's own settings are
// never touched.

#include <QString>

namespace veltra::test {

QString TempConfigHome();

}  // namespace veltra::test
