#pragma once
// The settings file's format: INI sections and "key=value" lines whose values
// are plain text.
//
// QSettings' own INI format reads an unquoted comma as a list separator, a ';'
// as the start of a comment and a leading '@' as a typed value, and on its next
// write saves those conversions back over what the user typed ("1,2" becomes
// "1, 2", an unknown "@Variant(...)" is lost). The file can be edited by hand,
// so here a value is exactly the text after the first '=', blanks around it
// removed. Only a value wrapped in double quotes is unquoted and unescaped, so
// that text with surrounding blanks or line breaks can be kept on one line.

#include <QSettings>

class QIODevice;

namespace veltra {

// Reads every "section/key" of the file; never fails: lines that are neither
// a section, a setting nor a comment are skipped.
bool ReadIniText(QIODevice& device, QSettings::SettingsMap& map);
// Writes the map, keys without a section first, then one block per section.
bool WriteIniText(QIODevice& device, const QSettings::SettingsMap& map);

// The value as it appears after "key=" in the file.
QString FormatIniValue(const QString& value);
// The text of a value as it appears after "key=", blanks around it removed.
QString ParseIniValue(const QString& written);

// The format registered with QSettings (once per process). Its file has the
// same name and place as QSettings::IniFormat's.
QSettings::Format IniTextFormat();

}  // namespace veltra
