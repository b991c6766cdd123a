#include "alerts/qt/working_log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace veltra {
namespace {

// Tried, not judged from permission bits: as root those say nothing, and a
// read-only mount or a full disk would not show in them either.
bool CanWriteLogIn(const QString& dir) {
    QFile existing(QDir(dir).filePath(kWorkingLogName));
    if (existing.exists()) {
        return existing.open(QIODevice::WriteOnly | QIODevice::Append);
    }
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".temp.log-probe-XXXXXX")));
    return probe.open();
}

}  // namespace

QString WorkingLogPath() {
    return WorkingLogPathFor(QCoreApplication::applicationDirPath());
}

QString WorkingLogPathFor(const QString& programDir) {
    if (!programDir.isEmpty() && CanWriteLogIn(programDir)) {
        return QDir(programDir).filePath(kWorkingLogName);
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(data);
    return QDir(data).filePath(kWorkingLogName);
}

}  // namespace veltra
