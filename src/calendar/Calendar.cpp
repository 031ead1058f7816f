#include "calendar/Calendar.h"

#include "app/Clock.h"
#include "app/DateFormats.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

TCalendar::TCalendar(QWidget *parent) : QWidget(parent), date_(Today())
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TCalendar::SetCalendarDate(const QDate &date)
{
    if (!date.isValid())
        return;
    date_ = date;
    update();
    emit Changed();
}

void TCalendar::SetStartOfWeek(int day)
{
    startOfWeek_ = qBound(0, day, 6);
    update();
}

void TCalendar::moveTo(const QDate &date)
{
    // The entry file names hold four-digit years.
    if (date.isValid() && date.year() >= 1 && date.year() <= 9999)
        SetCalendarDate(date);
}

void TCalendar::PrevMonth()
{
    moveTo(date_.addMonths(-1));
}

void TCalendar::NextMonth()
{
    moveTo(date_.addMonths(1));
}

void TCalendar::PrevYear()
{
    moveTo(date_.addYears(-1));
}

void TCalendar::NextYear()
{
    moveTo(date_.addYears(1));
}

int TCalendar::firstColumn() const
{
    const int weekday = QDate(date_.year(), date_.month(), 1).dayOfWeek() % 7; // Sunday 0
    return (weekday - startOfWeek_ + 7) % 7;
}

int TCalendar::DayOfCell(int ACol, int ARow) const
{
    if (ACol < 0 || ACol >= ColCount || ARow < 1 || ARow >= RowCount)
        return 0;
    const int day = (ARow - 1) * ColCount + ACol - firstColumn() + 1;
    return day >= 1 && day <= date_.daysInMonth() ? day : 0;
}

QPoint TCalendar::CellOfDay(int day) const
{
    const int index = day - 1 + firstColumn();
    return QPoint(index % ColCount, 1 + index / ColCount);
}

QString TCalendar::CellText(int ACol, int ARow) const
{
    if (ARow == 0) {
        if (ACol < 0 || ACol >= ColCount)
            return QString();
        return DateFormats().ShortDayNames.value((startOfWeek_ + ACol) % 7);
    }
    const int day = DayOfCell(ACol, ARow);
    return day > 0 ? QString::number(day) : QString();
}

QRect TCalendar::CellRect(int ACol, int ARow) const
{
    // Each cell keeps one pixel of grid line at its right and bottom.
    const int left = ACol * width() / ColCount;
    const int right = (ACol + 1) * width() / ColCount - 1;
    const int top = ARow * height() / RowCount;
    const int bottom = (ARow + 1) * height() / RowCount - 1;
    return QRect(left, top, right - left, bottom - top);
}

QPoint TCalendar::CellAt(const QPoint &pos) const
{
    if (pos.x() < 0 || pos.y() < 0 || pos.x() >= width() || pos.y() >= height())
        return QPoint(-1, -1);
    return QPoint(qMin(pos.x() * ColCount / width(), ColCount - 1),
                  qMin(pos.y() * RowCount / height(), RowCount - 1));
}

QSize TCalendar::sizeHint() const
{
    return QSize(316, 187);
}

void TCalendar::DrawCell(QPainter &painter, int ACol, int ARow, const QRect &ARect, GridDrawState)
{
    painter.fillRect(ARect, painter.brush());
    painter.drawText(ARect, Qt::AlignCenter, CellText(ACol, ARow));
}

void TCalendar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Midlight)); // the grid lines
    const QPoint selected = CellOfDay(date_.day());
    for (int row = 0; row < RowCount; ++row) {
        for (int col = 0; col < ColCount; ++col) {
            GridDrawState state;
            QPalette::ColorRole background = QPalette::Base;
            QPalette::ColorRole text = QPalette::Text;
            if (row == 0) {
                state |= GridDrawFlag::Fixed;
                background = QPalette::Button;
                text = QPalette::ButtonText;
            } else if (QPoint(col, row) == selected) {
                state |= GridDrawFlag::Selected;
                if (hasFocus())
                    state |= GridDrawFlag::Focused;
                background = QPalette::Highlight;
                text = QPalette::HighlightedText;
            }
            const QRect cell = CellRect(col, row);
            painter.save();
            painter.setClipRect(cell);
            painter.setFont(font());
            painter.setBrush(palette().color(background));
            painter.setPen(palette().color(text));
            DrawCell(painter, col, row, cell, state);
            painter.restore();
            if (state & GridDrawFlag::Focused) {
                QStyleOptionFocusRect option;
                option.initFrom(this);
                option.rect = cell;
                option.backgroundColor = palette().color(background);
                style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
            }
        }
    }
}

void TCalendar::selectCellAt(const QPoint &pos)
{
    const QPoint cell = CellAt(pos);
    const int day = DayOfCell(cell.x(), cell.y());
    if (day > 0 && day != date_.day())
        SetCalendarDate(QDate(date_.year(), date_.month(), day));
}

void TCalendar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        selectCellAt(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void TCalendar::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint cell = CellAt(event->position().toPoint());
    if (DayOfCell(cell.x(), cell.y()) == 0)
        return;
    selectCellAt(event->position().toPoint());
    emit DoubleClicked();
}

void TCalendar::keyPressEvent(QKeyEvent *event)
{
    // The arrows move between the day cells of the shown month.
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left: step = -1; break;
    case Qt::Key_Right: step = 1; break;
    case Qt::Key_Up: step = -ColCount; break;
    case Qt::Key_Down: step = ColCount; break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    const int day = date_.day() + step;
    if (day >= 1 && day <= date_.daysInMonth())
        SetCalendarDate(QDate(date_.year(), date_.month(), day));
    event->accept();
}
