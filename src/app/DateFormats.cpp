#include "app/DateFormats.h"

#include "app/Clock.h"

#include <QLocale>

namespace {

// Qt's locale patterns use the same letters for dates; times differ in the
// am/pm marker ("AP", "ap", "A", "a") and in "m" meaning minutes.
QString timeFromQtPattern(QString pattern)
{
    QString out;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\'')) {
            const int end = pattern.indexOf(QLatin1Char('\''), i + 1);
            const int stop = end < 0 ? int(pattern.size()) : end;
            out += QLatin1Char('"') + pattern.mid(i + 1, stop - i - 1) + QLatin1Char('"');
            i = stop;
        } else if (c == QLatin1Char('A') || c == QLatin1Char('a')) {
            if (i + 1 < pattern.size() && pattern.at(i + 1).toLower() == QLatin1Char('p'))
                ++i;
            out += QStringLiteral("AMPM");
        } else if (c == QLatin1Char('m')) {
            out += QLatin1Char('n');
        } else if (c == QLatin1Char('H')) {
            out += QLatin1Char('h');
        } else if (c == QLatin1Char('t')) {
            // time zone: not shown
        } else {
            out += c;
        }
    }
    return out.trimmed();
}

QChar firstSeparator(const QString &format, const QString &letters, QChar fallback)
{
    for (const QChar c : format) {
        if (!c.isLetterOrNumber() && !letters.contains(c) && c != QLatin1Char('\'')
            && !c.isSpace())
            return c;
    }
    return fallback;
}

bool isYear(QChar c)
{
    return c == QLatin1Char('y') || c == QLatin1Char('Y');
}

int runLength(const QString &s, int from, QChar letter)
{
    int n = 0;
    while (from + n < s.size() && s.at(from + n).toLower() == letter)
        ++n;
    return n;
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

class Formatter
{
public:
    Formatter(const DateFormatSettings &s, const QDateTime &m) : s_(s), m_(m) {}

    QString run(const QString &pattern, int depth = 0)
    {
        QString out;
        const bool twelveHour = usesAmPm(pattern);
        bool afterHour = false;
        int i = 0;
        while (i < pattern.size()) {
            const QChar c = pattern.at(i);
            const QChar lower = c.toLower();
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                const int end = pattern.indexOf(c, i + 1);
                const int stop = end < 0 ? int(pattern.size()) : end;
                out += pattern.mid(i + 1, stop - i - 1);
                i = stop + 1;
                continue;
            }
            if (startsWithCi(pattern, i, QStringLiteral("am/pm"))) {
                out += amPm(QStringLiteral("am"), QStringLiteral("pm"), pattern.mid(i, 5));
                i += 5;
                continue;
            }
            if (startsWithCi(pattern, i, QStringLiteral("a/p"))) {
                out += amPm(QStringLiteral("a"), QStringLiteral("p"), pattern.mid(i, 3));
                i += 3;
                continue;
            }
            if (startsWithCi(pattern, i, QStringLiteral("ampm"))) {
                out += m_.time().hour() < 12 ? s_.TimeAMString : s_.TimePMString;
                i += 4;
                continue;
            }
            const int n = runLength(pattern, i, lower);
            switch (lower.unicode()) {
            case 'd':
                out += day(n, depth);
                afterHour = false;
                break;
            case 'm':
                if (afterHour && n <= 2)
                    out += n == 1 ? QString::number(m_.time().minute()) : twoDigits(m_.time().minute());
                else
                    out += month(n);
                afterHour = false;
                break;
            case 'y':
                out += n <= 2 ? twoDigits(m_.date().year() % 100)
                              : QStringLiteral("%1").arg(m_.date().year(), 4, 10, QLatin1Char('0'));
                afterHour = false;
                break;
            case 'h': {
                int h = m_.time().hour();
                if (twelveHour) {
                    h %= 12;
                    if (h == 0)
                        h = 12;
                }
                out += n == 1 ? QString::number(h) : twoDigits(h);
                afterHour = true;
                i += qMin(n, 2);
                continue;
            }
            case 'n':
                out += n == 1 ? QString::number(m_.time().minute()) : twoDigits(m_.time().minute());
                afterHour = false;
                i += qMin(n, 2);
                continue;
            case 's':
                out += n == 1 ? QString::number(m_.time().second()) : twoDigits(m_.time().second());
                i += qMin(n, 2);
                continue;
            case 'z':
                out += n < 3 ? QString::number(m_.time().msec())
                             : QStringLiteral("%1").arg(m_.time().msec(), 3, 10, QLatin1Char('0'));
                i += n < 3 ? 1 : 3;
                continue;
            case 't':
                if (depth < 2)
                    out += run(n == 1 ? s_.ShortTimeFormat : s_.LongTimeFormat, depth + 1);
                i += qMin(n, 2);
                continue;
            default:
                if (c == QLatin1Char('/'))
                    out += s_.DateSeparator;
                else if (c == QLatin1Char(':'))
                    out += s_.TimeSeparator;
                else
                    out += c;
                i += 1;
                continue;
            }
            i += n;
        }
        return out;
    }

private:
    static bool startsWithCi(const QString &s, int at, const QString &what)
    {
        return QStringView(s).mid(at, what.size()).compare(what, Qt::CaseInsensitive) == 0;
    }

    static bool usesAmPm(const QString &pattern)
    {
        const QString lower = pattern.toLower();
        return lower.contains(QStringLiteral("am/pm")) || lower.contains(QStringLiteral("a/p"))
            || lower.contains(QStringLiteral("ampm"));
    }

    QString amPm(const QString &am, const QString &pm, const QString &written) const
    {
        const bool morning = m_.time().hour() < 12;
        // The marker copies the case of the letters as written.
        const QString shown = morning ? am : pm;
        const QChar first = written.at(morning ? 0 : written.indexOf(QLatin1Char('/')) + 1);
        return first.isUpper() ? shown.toUpper() : shown;
    }

    QString day(int n, int depth)
    {
        const QDate d = m_.date();
        const int weekday = d.dayOfWeek() % 7; // Sunday first
        switch (n) {
        case 1: return QString::number(d.day());
        case 2: return twoDigits(d.day());
        case 3: return s_.ShortDayNames.value(weekday);
        case 4: return s_.LongDayNames.value(weekday);
        case 5: return depth < 2 ? run(s_.ShortDateFormat, depth + 1) : QString();
        default: return depth < 2 ? run(s_.LongDateFormat, depth + 1) : QString();
        }
    }

    QString month(int n)
    {
        const int m = m_.date().month();
        switch (n) {
        case 1: return QString::number(m);
        case 2: return twoDigits(m);
        case 3: return s_.ShortMonthNames.value(m - 1);
        default: return s_.LongMonthNames.value(m - 1);
        }
    }

    const DateFormatSettings &s_;
    const QDateTime &m_;
};

DateFormatSettings &settings()
{
    static DateFormatSettings current = DateFormatSettings::FromLocale(QLocale::system());
    return current;
}

} // namespace

DateFormatSettings DateFormatSettings::FromLocale(const QLocale &locale)
{
    DateFormatSettings s;
    s.ShortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    s.LongDateFormat = locale.dateFormat(QLocale::LongFormat);
    s.ShortTimeFormat = timeFromQtPattern(locale.timeFormat(QLocale::ShortFormat));
    s.LongTimeFormat = timeFromQtPattern(locale.timeFormat(QLocale::LongFormat));
    s.DateSeparator = firstSeparator(s.ShortDateFormat, QStringLiteral("dMy"), QLatin1Char('/'));
    s.TimeSeparator = firstSeparator(s.ShortTimeFormat, QStringLiteral("hnsAMP"), QLatin1Char(':'));
    s.TimeAMString = locale.amText();
    s.TimePMString = locale.pmText();
    for (int d = 0; d < 7; ++d) {
        const int qtDay = d == 0 ? 7 : d;
        s.ShortDayNames << locale.dayName(qtDay, QLocale::ShortFormat);
        s.LongDayNames << locale.dayName(qtDay, QLocale::LongFormat);
    }
    for (int m = 1; m <= 12; ++m) {
        s.ShortMonthNames << locale.monthName(m, QLocale::ShortFormat);
        s.LongMonthNames << locale.monthName(m, QLocale::LongFormat);
    }
    return s;
}

DateFormatSettings &DateFormats()
{
    return settings();
}

void SetDateFormats(const DateFormatSettings &s)
{
    settings() = s;
}

QString WidenYearFormat(const QString &format, QChar dateSeparator)
{
    // Runs of year letters; the longest decides, the first of that length is
    // widened.
    int bestAt = -1;
    int bestLength = 0;
    for (int i = 0; i < format.size();) {
        if (!isYear(format.at(i))) {
            ++i;
            continue;
        }
        int n = 0;
        while (i + n < format.size() && isYear(format.at(i + n)))
            ++n;
        if (n > bestLength) {
            bestLength = n;
            bestAt = i;
        }
        i += n;
    }
    if (bestLength >= 4)
        return format;
    if (bestLength == 0)
        return format + dateSeparator + QStringLiteral("YYYY");
    const QChar letter = format.at(bestAt);
    const int end = bestAt + bestLength;
    // What followed the year part follows it again, at most 100 characters.
    return format.left(end) + QString(4 - bestLength, letter) + format.mid(end, 100);
}

QString FormatDateTime(const QString &pattern, const QDateTime &moment)
{
    return Formatter(DateFormats(), moment).run(pattern);
}

QString FormatDate(const QString &pattern, const QDate &date)
{
    return FormatDateTime(pattern, QDateTime(date, QTime(0, 0)));
}

namespace {
// An integer as the older program read it: optional blanks and sign, then
// digits only.
bool readInteger(const QString &text, int *value)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    int i = 0;
    if (t.at(0) == QLatin1Char('+') || t.at(0) == QLatin1Char('-'))
        i = 1;
    if (i >= t.size())
        return false;
    for (int k = i; k < t.size(); ++k) {
        if (!t.at(k).isDigit() || t.at(k).unicode() > 127)
            return false;
    }
    bool ok = false;
    *value = t.toInt(&ok, 10);
    return ok;
}
} // namespace

QDate ReadDateDigits(const QString &text)
{
    int year = 0;
    if (!readInteger(text.mid(0, 4), &year))
        return QDate();
    auto part = [&](int from) {
        QString digits = text.mid(from, 2);
        if (digits.startsWith(QLatin1Char('0')))
            digits.remove(0, 1);
        int value = 0;
        return readInteger(digits, &value) ? value : 0;
    };
    const int month = part(4);
    const int day = part(6);
    if (year < 1 || year > 9999)
        return QDate();
    return QDate(year, month, day);
}

QDate STOD(const QString &text)
{
    const QDate date = ReadDateDigits(text);
    return date.isValid() ? date : Today();
}

QString DateToDigits(const QDate &date)
{
    return QStringLiteral("%1%2%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}
