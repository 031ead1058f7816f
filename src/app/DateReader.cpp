#include "app/DateReader.h"

#include "app/Clock.h"
#include "app/DateFormats.h"

#include <QStringList>

namespace {

enum class DateOrder { MDY, DMY, YMD };

// The order of the first day, month and year letters of the format; text in
// quotes is no part of it.  A format that names no order reads month first.
DateOrder orderOf(const QString &format)
{
    int day = -1;
    int month = -1;
    int year = -1;
    QChar quote;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            continue;
        }
        switch (c.toLower().unicode()) {
        case 'd':
            if (day < 0)
                day = i;
            break;
        case 'm':
            if (month < 0)
                month = i;
            break;
        case 'y':
            if (year < 0)
                year = i;
            break;
        default:
            break;
        }
    }
    if (year >= 0 && (day < 0 || year < day) && (month < 0 || year < month))
        return DateOrder::YMD;
    if (day >= 0 && (month < 0 || day < month))
        return DateOrder::DMY;
    return DateOrder::MDY;
}

// One number of a date: one to four ASCII digits with blanks around them.
bool readNumber(const QString &part, int *value)
{
    const QString t = part.trimmed();
    if (t.isEmpty() || t.size() > 4)
        return false;
    int n = 0;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        n = n * 10 + (c.unicode() - '0');
    }
    *value = n;
    return true;
}

// The format's literal characters outside quotes, and whether it writes the
// month as a name ("MMM" or longer).
void scanFormat(const QString &format, QString *literals, bool *monthNames)
{
    *monthNames = false;
    QChar quote;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c.toLower() == QLatin1Char('m')) {
            int n = 0;
            while (i + n < format.size() && format.at(i + n).toLower() == QLatin1Char('m'))
                ++n;
            if (n >= 3)
                *monthNames = true;
            i += n - 1;
        } else if (!c.isLetterOrNumber() && !literals->contains(c)) {
            *literals += c;
        }
    }
}

int monthOfName(const QString &part, const DateFormatSettings &formats)
{
    const QString t = part.trimmed();
    for (int m = 0; m < 12; ++m) {
        if (t.compare(formats.ShortMonthNames.value(m), Qt::CaseInsensitive) == 0
            || t.compare(formats.LongMonthNames.value(m), Qt::CaseInsensitive) == 0)
            return m + 1;
    }
    return 0;
}

} // namespace

QDate ReadShortDate(const QString &text, const DateFormatSettings &formats, const QDate &today)
{
    // A format that names the month ("d MMM yyyy") writes no date
    // separator; its own blanks and punctuation separate the parts then, and
    // the month may be its name, so that a box reads back what it shows.
    QString literals;
    bool monthNames = false;
    scanFormat(formats.ShortDateFormat, &literals, &monthNames);
    QStringList parts;
    if (monthNames) {
        QString current;
        for (const QChar c : text) {
            if (c == formats.DateSeparator || literals.contains(c) || c.isSpace()) {
                if (!current.isEmpty())
                    parts << current;
                current.clear();
            } else {
                current += c;
            }
        }
        if (!current.isEmpty())
            parts << current;
    } else {
        parts = text.split(formats.DateSeparator);
    }
    if (parts.size() < 2 || parts.size() > 3)
        return QDate();

    const DateOrder order = orderOf(formats.ShortDateFormat);
    // The position of the month among the parts given.
    const int monthAt = parts.size() == 2 ? (order == DateOrder::DMY ? 1 : 0)
                                          : (order == DateOrder::MDY ? 0 : 1);
    int numbers[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        if (readNumber(parts.at(i), &numbers[i]))
            continue;
        if (!monthNames || i != monthAt || (numbers[i] = monthOfName(parts.at(i), formats)) == 0)
            return QDate();
    }

    int year = today.year();
    int month = 0;
    int day = 0;
    if (parts.size() == 2) {
        const bool dayFirst = order == DateOrder::DMY;
        day = dayFirst ? numbers[0] : numbers[1];
        month = dayFirst ? numbers[1] : numbers[0];
    } else {
        switch (order) {
        case DateOrder::MDY:
            month = numbers[0];
            day = numbers[1];
            year = numbers[2];
            break;
        case DateOrder::DMY:
            day = numbers[0];
            month = numbers[1];
            year = numbers[2];
            break;
        case DateOrder::YMD:
            year = numbers[0];
            month = numbers[1];
            day = numbers[2];
            break;
        }
        if (year < 100)
            year += today.year() / 100 * 100;
    }
    if (year < 1 || year > 9999)
        return QDate();
    return QDate(year, month, day); // invalid for a month or day out of range
}

QDate ReadShortDate(const QString &text)
{
    return ReadShortDate(text, DateFormats(), Today());
}

bool IsShortDate(const QString &text)
{
    return ReadShortDate(text).isValid();
}
