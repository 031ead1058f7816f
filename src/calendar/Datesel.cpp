#include "calendar/Datesel.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "calendar/Calglyph.h"
#include "controls/Graphp.h"

#include <QPainter>
#include <QPushButton>
#include <QStyle>

TDateSelector::TDateSelector(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("DateSelector"));
    setWindowTitle(QStringLiteral("Select Date"));
    setFixedSize(360, 303);
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(11);
    setFont(formFont);

    ShowDatePanel = new TGraphicPanel(this);
    ShowDatePanel->setObjectName(QStringLiteral("ShowDatePanel"));
    ShowDatePanel->setGeometry(0, 0, width(), 25);
    ShowDatePanel->SetBevelOuter(TGraphicPanel::Bevel::None);
    ShowDatePanel->SetBevelInner(TGraphicPanel::Bevel::None);
    QFont panelFont(QStringLiteral("Arial"));
    panelFont.setPixelSize(13);
    panelFont.setBold(true);
    ShowDatePanel->setFont(panelFont);
    QPalette panelPalette = ShowDatePanel->palette();
    panelPalette.setColor(QPalette::WindowText, Qt::black);
    panelPalette.setColor(QPalette::ButtonText, Qt::black);
    ShowDatePanel->setPalette(panelPalette);

    Calendar = new TCalendarWithGlyphs(this);
    Calendar->setObjectName(QStringLiteral("Calendar"));
    Calendar->setGeometry(22, 31, 316, 187);
    Calendar->SetStartOfWeek(0);
    Calendar->DrawCalendarCellEvent = [this](QPainter &can, int col, int row, const QRect &rect,
                                             GridDrawState state, const QString &text) {
        CalendarDrawCalendarCellEvent(can, col, row, rect, state, text);
    };
    connect(Calendar, &TCalendar::Changed, this, &TDateSelector::CalendarChange);
    connect(Calendar, &TCalendar::DoubleClicked, this, &TDateSelector::CalendarDblClick);

    auto button = [this](QPushButton *&b, const char *name, const QString &caption,
                         const QString &hint, const QRect &geometry) {
        b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(geometry);
        b->setToolTip(hint);
        b->setAutoDefault(false);
    };
    // The paging row under the calendar, as wide as the calendar.
    const int pagingTop = 226;
    button(PrevYear, "PrevYear", QStringLiteral("Year-"), QStringLiteral("Show the previous year"),
           QRect(22, pagingTop, 60, 25));
    button(PrevMonth, "PrevMonth", QStringLiteral("Month-"),
           QStringLiteral("Show the previous month"), QRect(86, pagingTop, 60, 25));
    button(DoCurrentDate, "DoCurrentDate", QStringLiteral("Today"),
           QStringLiteral("Show today's date"), QRect(150, pagingTop, 60, 25));
    button(NextMonth, "NextMonth", QStringLiteral("Month +"), QStringLiteral("Show the next month"),
           QRect(214, pagingTop, 60, 25));
    button(NextYear, "NextYear", QStringLiteral("Year+"), QStringLiteral("Show the next year"),
           QRect(278, pagingTop, 60, 25));
    button(OKButton, "OKButton", QStringLiteral("Ok"), QString(), QRect(22, 264, 89, 29));
    button(CancelButton, "CancelButton", QStringLiteral("Cancel"), QString(),
           QRect(249, 264, 89, 29));
    OKButton->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    CancelButton->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    PrevYear->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
    PrevMonth->setIcon(style()->standardIcon(QStyle::SP_MediaSeekBackward));
    NextMonth->setIcon(style()->standardIcon(QStyle::SP_MediaSeekForward));
    NextYear->setIcon(style()->standardIcon(QStyle::SP_MediaSkipForward));
    NextMonth->setLayoutDirection(Qt::RightToLeft);
    NextYear->setLayoutDirection(Qt::RightToLeft);
    OKButton->setDefault(true); // Enter

    connect(OKButton, &QPushButton::clicked, this, &TDateSelector::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TDateSelector::CancelButtonClick);
    connect(PrevYear, &QPushButton::clicked, this, &TDateSelector::PrevYearClick);
    connect(PrevMonth, &QPushButton::clicked, this, &TDateSelector::PrevMonthClick);
    connect(DoCurrentDate, &QPushButton::clicked, this, &TDateSelector::DoCurrentDateClick);
    connect(NextMonth, &QPushButton::clicked, this, &TDateSelector::NextMonthClick);
    connect(NextYear, &QPushButton::clicked, this, &TDateSelector::NextYearClick);

    InitialDate = Today();
    Calendar->setFocus();
}

void TDateSelector::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TDateSelector::FormActivate()
{
    if (!FirstShow)
        return;
    Calendar->SetCalendarDate(InitialDate); // its change does nothing yet
    FirstShow = false;
    CalendarChange();
}

void TDateSelector::CalendarChange()
{
    if (FirstShow)
        return;
    ShownDate_ = Calendar->CalendarDate();
    ShowDatePanel->SetCaption(FormatDate(QString::fromLatin1(HeadingDatePattern), ShownDate_));
    // Entry files are tested once per shown month, never while painting.
    if (Calendar->Month() != ShownMonth_ || Calendar->Year() != ShownYear_) {
        EntryDays_.clear();
        if (OnMarkDays)
            OnMarkDays(EntryDays_, Calendar->Year(), Calendar->Month());
    }
    ShownMonth_ = Calendar->Month();
    ShownYear_ = Calendar->Year();
}

void TDateSelector::CalendarDrawCalendarCellEvent(QPainter &can, int, int, const QRect &ARect,
                                                  GridDrawState, const QString &Celltext)
{
    // The day number in the top right corner, on the cell's own background.
    can.fillRect(ARect, can.brush());
    const QFontMetrics metrics(can.font());
    const int right = ARect.left() + ARect.width();
    can.drawText(QPoint(right - metrics.horizontalAdvance(Celltext), ARect.top() + metrics.ascent()),
                 Celltext);

    if (!EntryDays_.contains(Celltext))
        return;
    // A solid 8-by-8 square just right of the middle, 2 pixels above it.
    const int x1 = ARect.left() + (ARect.width() - 6) / 2;
    const int y1 = ARect.top() + (ARect.height() - 8) / 2 - 2;
    const QColor red(255, 0, 0);
    can.setBrush(red);
    can.setPen(red);
    can.fillRect(QRect(x1, y1, 8, 8), red);
    can.setBrush(Qt::white);
}

void TDateSelector::OKButtonClick()
{
    done(mrOk);
}

void TDateSelector::CancelButtonClick()
{
    done(mrCancel);
}

void TDateSelector::reject()
{
    done(mrCancel);
}

void TDateSelector::PrevYearClick()
{
    Calendar->PrevYear();
}

void TDateSelector::PrevMonthClick()
{
    Calendar->PrevMonth();
}

void TDateSelector::DoCurrentDateClick()
{
    Calendar->SetCalendarDate(Today());
}

void TDateSelector::NextMonthClick()
{
    Calendar->NextMonth();
}

void TDateSelector::NextYearClick()
{
    Calendar->NextYear();
}
