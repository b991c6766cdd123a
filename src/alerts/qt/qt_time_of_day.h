#pragma once
// The time of day for log lines, in the locale's long time format but
// without its time-zone part ("9:41:07 PM" in en_US).

#include <QLocale>
#include <QString>
#include <QTime>
#include <ctime>
#include <optional>
#include <string>

#include "platform/clock.h"

namespace veltra {

class QtTimeOfDay : public TimeOfDay {
public:
    // UTF-8 text of the current local time in the default locale.
    std::string longTime() const override;

    // `time` in `locale`'s long time format with the time zone left out.
    static QString Format(const QTime& time, const QLocale& locale);
    // The long time format of `locale` without its time-zone field and the
    // blanks or brackets around it.
    static QString LongFormatWithoutZone(const QLocale& locale);

private:
    // The zone-less format of the locale it was made for. Working it out
    // runs a regular expression; a line is written per display change, and
    // the default locale changes only when the program sets one.
    mutable QLocale formatLocale_{QLocale::c()};
    mutable QString format_;
    // The last text and the second it was made in (std::time).
    mutable std::string text_;
    mutable std::optional<std::time_t> textSecond_;
};

}  // namespace veltra
