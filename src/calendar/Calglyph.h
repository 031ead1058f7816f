#pragma once

#include "calendar/Calendar.h"

#include <functional>

// Draws one day cell in place of the grid: (canvas, column, row, rectangle,
// draw state, the cell's text).
using TDrawCalendarCellEvent = std::function<void(QPainter &can, int ACol, int ARow,
                                                  const QRect &ARect, GridDrawState AState,
                                                  const QString &Celltext)>;

// The calendar grid whose day cells its owner draws; the day names and the
// blank cells stay the grid's own.
class TCalendarWithGlyphs : public TCalendar
{
    Q_OBJECT
public:
    using TCalendar::TCalendar;

    TDrawCalendarCellEvent DrawCalendarCellEvent;

protected:
    void DrawCell(QPainter &painter, int ACol, int ARow, const QRect &ARect,
                  GridDrawState AState) override;
};
