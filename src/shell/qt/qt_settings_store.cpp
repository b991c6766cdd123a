#include "shell/qt/qt_settings_store.h"

#include <QDir>
#include <QFile>

#include "shell/qt/ini_text_format.h"

namespace veltra {

namespace {

QString KeyPath(std::string_view section, std::string_view key) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + u'/' +
           QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

// Whether the file on disk holds `text` under `path`. QSettings keeps the first
// error it met for the rest of its life, so its status cannot tell whether
// this write, rather than an earlier one, failed.
bool FileHolds(const QString& fileName, const QString& path, const QString& text) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QSettings::SettingsMap map;
    ReadIniText(file, map);
    auto it = map.constFind(path);
    return it != map.cend() && it->toString() == text;
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(IniTextFormat(), QSettings::UserScope, QStringLiteral("Veltrascope"),
                QStringLiteral("Veltrascope")) {}

std::optional<std::string> QtSettingsStore::value(std::string_view section,
                                                  std::string_view key) const {
    // sync() takes in a hand edit made while the program runs (QSettings
    // re-reads a file whose size or time stamp changed).
    settings_.sync();
    QVariant v = settings_.value(KeyPath(section, key));
    if (!v.isValid()) {
        return std::nullopt;
    }
    return v.toString().toStdString();
}

void QtSettingsStore::setValue(std::string_view section, std::string_view key,
                               std::string_view text) {
    const QString path = KeyPath(section, key);
    const QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    settings_.setValue(path, value);
    settings_.sync();
    if (onWriteFailed_ && !FileHolds(settings_.fileName(), path, value)) {
        onWriteFailed_("Veltra Scope cannot save its settings to " +
                       QDir::toNativeSeparators(settings_.fileName()).toStdString() +
                       " (the setting \"" + std::string(key) +
                       "\" was not kept).\n\nOptions changed now last only until Veltra Scope "
                       "ends. Check that this file and its folder can be written.");
    }
}

QString QtSettingsStore::fileName() const {
    return settings_.fileName();
}

void QtSettingsStore::setOnWriteFailed(std::function<void(const std::string&)> handler) {
    onWriteFailed_ = std::move(handler);
}

}  // namespace veltra
