#pragma once

#include <QDate>
#include <QString>

struct DateFormatSettings;

// Reads a date as the user types it into a date box, in the short date
// format: day, month and year as numbers between date separators, in the
// order the format gives them.  Two numbers are the first two of day and
// month in that order, in the current year; a year below 100 lies in the
// current century; blanks around the numbers are allowed.  Anything else (a
// time of day, names, a missing or extra part) gives an invalid date.
QDate ReadShortDate(const QString &text);
QDate ReadShortDate(const QString &text, const DateFormatSettings &formats, const QDate &today);

// True when the text reads as a date in the short date format.
bool IsShortDate(const QString &text);
