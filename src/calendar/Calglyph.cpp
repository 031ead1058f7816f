#include "calendar/Calglyph.h"

void TCalendarWithGlyphs::DrawCell(QPainter &painter, int ACol, int ARow, const QRect &ARect,
                                   GridDrawState AState)
{
    const QString text = CellText(ACol, ARow);
    if (DrawCalendarCellEvent && !text.isEmpty() && text.at(0) >= QLatin1Char('0')
        && text.at(0) <= QLatin1Char('9')) {
        DrawCalendarCellEvent(painter, ACol, ARow, ARect, AState, text);
        return;
    }
    TCalendar::DrawCell(painter, ACol, ARow, ARect, AState);
}
