#include "alerts/qt/qt_time_of_day.h"

#include <QRegularExpression>
#include <ctime>

namespace veltra {

std::string QtTimeOfDay::longTime() const {
    const QLocale locale;
    const std::time_t second = std::time(nullptr);
    if (format_.isEmpty() || locale != formatLocale_) {
        formatLocale_ = locale;
        format_ = LongFormatWithoutZone(locale);
        textSecond_.reset();
    } else if (textSecond_ == second) {
        // A busy alert logs thirty lines a second; formatting the time for
        // each cost more than decoding and writing the line.
        return text_;
    }
    text_ = locale.toString(QTime::currentTime(), format_).toStdString();
    // A format that shows fractions of a second is formatted every time.
    if (!format_.contains(u'z')) {
        textSecond_ = second;
    }
    return text_;
}

QString QtTimeOfDay::Format(const QTime& time, const QLocale& locale) {
    return locale.toString(time, LongFormatWithoutZone(locale));
}

QString QtTimeOfDay::LongFormatWithoutZone(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    // Mark every run of 't' outside quoted text; quoted text is literal.
    constexpr QChar kZone(0x0001);
    QString marked;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'') {
            quoted = !quoted;
        } else if (!quoted && c == u't') {
            while (i + 1 < format.size() && format[i + 1] == u't') {
                ++i;
            }
            marked += kZone;
            continue;
        }
        marked += c;
    }
    // "h:mm:ss AP t", "t HH:mm:ss", "H:mm:ss (t)": the field goes with its
    // brackets and blanks; one blank stays between whatever was around it.
    static const QRegularExpression zone(QStringLiteral("\\s*(\\(\\s*)?\\x{0001}(\\s*\\))?\\s*"));
    return marked.replace(zone, QStringLiteral(" ")).trimmed();
}

}  // namespace veltra
