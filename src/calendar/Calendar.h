#pragma once

#include <QDate>
#include <QFlags>
#include <QRect>
#include <QString>
#include <QWidget>

class QPainter;

// How the grid draws one cell: the selected day, that day while the grid has
// the focus, and the fixed row of day names.
enum class GridDrawFlag { Selected = 0x1, Focused = 0x2, Fixed = 0x4 };
Q_DECLARE_FLAGS(GridDrawState, GridDrawFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(GridDrawState)

// A month as a 7-by-7 grid: row 0 holds the short day names, the first column
// being StartOfWeek (0 = Sunday); rows 1 to 6 hold the day numbers, and the
// cells outside the month stay blank and cannot be selected.  One day is
// always selected; every change of the date emits Changed.
class TCalendar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ColCount = 7;
    static constexpr int RowCount = 7;

    explicit TCalendar(QWidget *parent = nullptr);

    QDate CalendarDate() const { return date_; }
    // Shows the date's month with the date's day selected and emits Changed,
    // also when the date is the one shown.  An invalid date changes nothing.
    void SetCalendarDate(const QDate &date);
    int Year() const { return date_.year(); }
    int Month() const { return date_.month(); }
    int Day() const { return date_.day(); }

    int StartOfWeek() const { return startOfWeek_; }
    void SetStartOfWeek(int day); // 0 (Sunday) to 6 (Saturday)

    // The day stays, or becomes the last day of a shorter month.
    void PrevMonth();
    void NextMonth();
    // 29 February becomes 28 February.
    void PrevYear();
    void NextYear();

    // The day name in row 0, the day number without a leading zero in a day
    // cell, an empty text in a blank cell.
    QString CellText(int ACol, int ARow) const;
    // The day in a cell; 0 for the day names and the blank cells.
    int DayOfCell(int ACol, int ARow) const;
    // The cell of a day of the shown month.
    QPoint CellOfDay(int day) const;
    // A cell's rectangle inside the grid lines; (-1, -1) for a point outside.
    QRect CellRect(int ACol, int ARow) const;
    QPoint CellAt(const QPoint &pos) const;

    QSize sizeHint() const override;

signals:
    void Changed();
    void DoubleClicked();

protected:
    // Draws one cell with the painter's font, pen and brush set for it; this
    // one fills the cell and centres its text.
    virtual void DrawCell(QPainter &painter, int ACol, int ARow, const QRect &ARect,
                          GridDrawState AState);

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int firstColumn() const; // column of the first day of the shown month
    void moveTo(const QDate &date);
    void selectCellAt(const QPoint &pos);

    QDate date_;
    int startOfWeek_ = 0;
};
