#pragma once

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The system's date and time formats in the picture letters of the older
// Windows program (d, m, y, h, n, s, t; "mm" after an hour means minutes),
// filled from the system locale and settable by tests.
struct DateFormatSettings
{
    QString ShortDateFormat;   // "M/d/yy"
    QString LongDateFormat;    // "dddd, MMMM d, yyyy"
    QString ShortTimeFormat;   // "h:mm AMPM"
    QString LongTimeFormat;    // "h:mm:ss AMPM"
    QChar DateSeparator = QLatin1Char('/');
    QChar TimeSeparator = QLatin1Char(':');
    QString TimeAMString = QStringLiteral("AM");
    QString TimePMString = QStringLiteral("PM");
    QStringList ShortDayNames;   // Sunday first, 7 names
    QStringList LongDayNames;
    QStringList ShortMonthNames; // January first, 12 names
    QStringList LongMonthNames;

    static DateFormatSettings FromLocale(const QLocale &locale);
};

// The program's settings object, filled from QLocale::system() on first use.
DateFormatSettings &DateFormats();
void SetDateFormats(const DateFormatSettings &settings);

// Makes a date format show a four-digit year ("M/d/yy" -> "M/d/yyyy";
// without any year the separator and "YYYY" are appended).
QString WidenYearFormat(const QString &format, QChar dateSeparator);

// Formats a moment with a picture of the older program: d dd ddd dddd ddddd
// dddddd, m mm mmm mmmm (minutes right after h or hh), yy yyyy, h hh, n nn,
// s ss, z zzz, t tt, am/pm a/p ampm, / and :, quoted text.  Letters compare
// without regard to case.
QString FormatDateTime(const QString &pattern, const QDateTime &moment);
QString FormatDate(const QString &pattern, const QDate &date);

// The heading pattern of the main window, the calendar and printed pages.
inline constexpr const char *HeadingDatePattern = "dddd, mmmm d, yyyy";

// An eight-digit "yyyymmdd" text as a date; today when it is no valid date.
QDate STOD(const QString &text);
// The same, but an invalid date when the text is no date.
QDate ReadDateDigits(const QString &text);

// A date as the eight digits of an entry file name ("0999" for year 999).
QString DateToDigits(const QDate &date);
