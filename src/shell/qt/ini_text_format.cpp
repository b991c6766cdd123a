#include "shell/qt/ini_text_format.h"

#include <QIODevice>
#include <QMap>
#include <QStringList>

namespace veltra {

namespace {

bool NeedsQuotes(const QString& value) {
    if (value.isEmpty()) {
        return false;
    }
    if (value.front().isSpace() || value.back().isSpace() || value.front() == u'"') {
        return true;
    }
    for (QChar c : value) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            return true;
        }
    }
    return false;
}

QString Quote(const QString& value) {
    QString out = QStringLiteral("\"");
    for (QChar c : value) {
        switch (c.unicode()) {
            case '\\':
                out += QStringLiteral("\\\\");
                break;
            case '"':
                out += QStringLiteral("\\\"");
                break;
            case '\n':
                out += QStringLiteral("\\n");
                break;
            case '\r':
                out += QStringLiteral("\\r");
                break;
            case '\t':
                out += QStringLiteral("\\t");
                break;
            default:
                if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
                    out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
                } else {
                    out += c;
                }
        }
    }
    out += u'"';
    return out;
}

int HexDigit(QChar c) {
    if (c >= u'0' && c <= u'9') {
        return c.unicode() - '0';
    }
    if (c >= u'a' && c <= u'f') {
        return c.unicode() - 'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c.unicode() - 'A' + 10;
    }
    return -1;
}

// The inside of a quoted value; an escape it does not know is kept as written.
QString Unquote(QStringView inner) {
    QString out;
    for (qsizetype i = 0; i < inner.size(); ++i) {
        QChar c = inner[i];
        if (c != u'\\' || i + 1 == inner.size()) {
            out += c;
            continue;
        }
        QChar e = inner[i + 1];
        if (e == u'\\' || e == u'"') {
            out += e;
        } else if (e == u'n') {
            out += u'\n';
        } else if (e == u'r') {
            out += u'\r';
        } else if (e == u't') {
            out += u'\t';
        } else if (e == u'x' && i + 3 < inner.size() && HexDigit(inner[i + 2]) >= 0 &&
                   HexDigit(inner[i + 3]) >= 0) {
            out += QChar(HexDigit(inner[i + 2]) * 16 + HexDigit(inner[i + 3]));
            i += 2;
        } else {
            out += c;
            out += e;
        }
        ++i;
    }
    return out;
}

}  // namespace

QString FormatIniValue(const QString& value) {
    return NeedsQuotes(value) ? Quote(value) : value;
}

QString ParseIniValue(const QString& written) {
    QString t = written.trimmed();
    if (t.size() >= 2 && t.front() == u'"' && t.back() == u'"') {
        return Unquote(QStringView(t).sliced(1, t.size() - 2));
    }
    return t;
}

bool ReadIniText(QIODevice& device, QSettings::SettingsMap& map) {
    QString text = QString::fromUtf8(device.readAll());
    if (text.startsWith(QChar(0xfeff))) {
        text.remove(0, 1);
    }
    QString section;
    const QStringList lines = text.split(u'\n');
    for (const QString& raw : lines) {
        QString line = raw.trimmed();
        if (line.isEmpty() || line.front() == u';' || line.front() == u'#') {
            continue;
        }
        if (line.front() == u'[' && line.back() == u']') {
            section = line.sliced(1, line.size() - 2).trimmed();
            continue;
        }
        qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) {
            continue;
        }
        QString key = line.left(eq).trimmed();
        if (key.isEmpty()) {
            continue;
        }
        QString full = section.isEmpty() ? key : section + u'/' + key;
        map.insert(full, ParseIniValue(line.sliced(eq + 1)));
    }
    return true;
}

bool WriteIniText(QIODevice& device, const QSettings::SettingsMap& map) {
    // Section name -> its lines, sections in name order; "" holds the keys
    // that have no section and is written first.
    QMap<QString, QStringList> sections;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        qsizetype slash = it.key().lastIndexOf(u'/');
        QString section = slash < 0 ? QString() : it.key().left(slash);
        QString key = slash < 0 ? it.key() : it.key().sliced(slash + 1);
        sections[section].append(key + u'=' + FormatIniValue(it.value().toString()));
    }
    QString out;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        if (!out.isEmpty()) {
            out += u'\n';
        }
        if (!it.key().isEmpty()) {
            out += u'[' + it.key() + QStringLiteral("]\n");
        }
        for (const QString& line : it.value()) {
            out += line + u'\n';
        }
    }
    QByteArray bytes = out.toUtf8();
    return device.write(bytes) == bytes.size();
}

QSettings::Format IniTextFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("ini"), ReadIniText, WriteIniText);
    return format;
}

}  // namespace veltra
