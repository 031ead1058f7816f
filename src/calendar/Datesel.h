#pragma once

#include <QDate>
#include <QDialog>
#include <QStringList>
#include <functional>

#include "calendar/Calendar.h"

class QPushButton;
class TCalendarWithGlyphs;
class TGraphicPanel;

// Fills the list with the day numbers ("1" to "31", ascending) of the month
// that have an entry file: (list, year, month).
using TMarkDaysEvent = std::function<void(QStringList &list, int year, int month)>;

// The modal results the program's dialogs close with.
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

// "Select Date": one month of the calendar, each day with an entry carrying
// a small red square.  The caller sets InitialDate and OnMarkDays, shows it
// modally and, on Ok, reads Calendar->CalendarDate().
class TDateSelector : public QDialog
{
    Q_OBJECT
public:
    explicit TDateSelector(QWidget *parent = nullptr);

    TGraphicPanel *ShowDatePanel = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *PrevYear = nullptr;
    QPushButton *PrevMonth = nullptr;
    QPushButton *DoCurrentDate = nullptr;
    QPushButton *NextMonth = nullptr;
    QPushButton *NextYear = nullptr;
    TCalendarWithGlyphs *Calendar = nullptr;

    TMarkDaysEvent OnMarkDays;
    QDate InitialDate;

    // The marked days of the month last shown, for the month and year below.
    const QStringList &EntryDays() const { return EntryDays_; }
    int ShownMonth() const { return ShownMonth_; }
    int ShownYear() const { return ShownYear_; }
    QDate ShownDate() const { return ShownDate_; }

    // Sets the calendar up on the first activation; later ones do nothing.
    void FormActivate();
    void CalendarChange();
    void CalendarDrawCalendarCellEvent(QPainter &can, int ACol, int ARow, const QRect &ARect,
                                       GridDrawState AState, const QString &Celltext);

    void OKButtonClick();
    void CancelButtonClick();
    void CalendarDblClick() { OKButtonClick(); }
    void PrevYearClick();
    void PrevMonthClick();
    void DoCurrentDateClick();
    void NextMonthClick();
    void NextYearClick();

    // Esc and closing give Cancel (2), not Qt's 0.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool FirstShow = true;
    QStringList EntryDays_;
    QDate ShownDate_;
    int ShownMonth_ = -1;
    int ShownYear_ = -1;
};
