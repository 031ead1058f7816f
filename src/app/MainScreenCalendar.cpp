// The main window's calendar: jumping to a date picked in the date selector,
// and telling the selector which days of a month have entries.

#include "app/MainScreen.h"

#include "app/Placement.h"
#include "calendar/Calglyph.h"
#include "calendar/Datesel.h"
#include "store/EntryFiles.h"

#include <QApplication>

namespace {
bool isLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int daysInMonth(int year, int month)
{
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}
} // namespace

void TMainScreen::MarkEntryDays(QStringList &list, int year, int month)
{
    list.clear();
    const int days = daysInMonth(year, month);
    for (int day = 1; day <= days; ++day) {
        const QDate date(year, month, day);
        if (EntryDayExists ? EntryDayExists(date) : EntryFileExists(date))
            list << QString::number(day);
    }
}

void TMainScreen::CalendarButtonClick()
{
    // A change that cannot be written keeps the date where it is.
    if (!SaveButtonClick())
        return;
    TDateSelector selector(this);
    PlaceDialog(&selector);
    selector.InitialDate = CurrentDate;
    selector.OnMarkDays = [this](QStringList &list, int year, int month) {
        MarkEntryDays(list, year, month);
    };
    if (selector.exec() == mrOk)
        GoToDate(selector.Calendar->CalendarDate());
}
