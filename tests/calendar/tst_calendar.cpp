#include "app/Clock.h"
#include "app/DateFormats.h"
#include "calendar/Calglyph.h"

#include <QLocale>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

class TestCalendar : public QObject
{
    Q_OBJECT

    DateFormatSettings saved_;

    static void clickCell(TCalendar &calendar, int col, int row)
    {
        QTest::mouseClick(&calendar, Qt::LeftButton, {}, calendar.CellRect(col, row).center());
    }

private slots:
    void initTestCase()
    {
        saved_ = DateFormats();
        SetDateFormats(DateFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
    }
    void cleanupTestCase() { SetDateFormats(saved_); }

    void laysOutTheMonth_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("firstColumn");
        QTest::newRow("September 2024 starts on Sunday") << QDate(2024, 9, 15) << 0;
        QTest::newRow("October 2024 starts on Tuesday") << QDate(2024, 10, 31) << 2;
        QTest::newRow("February 2009 fills four rows") << QDate(2009, 2, 1) << 0;
        QTest::newRow("March 2025 starts on Saturday, needs six rows") << QDate(2025, 3, 1) << 6;
    }
    void laysOutTheMonth()
    {
        QFETCH(QDate, date);
        QFETCH(int, firstColumn);
        TCalendar calendar;
        calendar.SetCalendarDate(date);

        const QStringList names{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
        for (int col = 0; col < 7; ++col)
            QCOMPARE(calendar.CellText(col, 0), names.at(col));
        // Every cell of rows 1 to 6: the days in order, blank elsewhere.
        int day = 1;
        for (int index = 0; index < 42; ++index) {
            const int col = index % 7;
            const int row = 1 + index / 7;
            const bool inMonth = index >= firstColumn && day <= date.daysInMonth();
            QCOMPARE(calendar.CellText(col, row), inMonth ? QString::number(day) : QString());
            QCOMPARE(calendar.DayOfCell(col, row), inMonth ? day : 0);
            if (inMonth) {
                QCOMPARE(calendar.CellOfDay(day), QPoint(col, row));
                ++day;
            }
        }
        QCOMPARE(day, date.daysInMonth() + 1);
    }

    void startOfWeekTurnsTheColumns()
    {
        TCalendar calendar;
        calendar.SetStartOfWeek(1);
        calendar.SetCalendarDate(QDate(2024, 9, 1)); // a Sunday: the last column
        QCOMPARE(calendar.CellText(0, 0), QStringLiteral("Mon"));
        QCOMPARE(calendar.CellOfDay(1), QPoint(6, 1));
    }

    void pages_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("31 Jan + month, common year") << QDate(2001, 1, 31) << "NextMonth" << QDate(2001, 2, 28);
        QTest::newRow("31 Jan + month, leap year") << QDate(2000, 1, 31) << "NextMonth" << QDate(2000, 2, 29);
        QTest::newRow("31 Mar - month, leap year") << QDate(2004, 3, 31) << "PrevMonth" << QDate(2004, 2, 29);
        QTest::newRow("31 May - month") << QDate(1999, 5, 31) << "PrevMonth" << QDate(1999, 4, 30);
        QTest::newRow("31 Dec + month") << QDate(1999, 12, 31) << "NextMonth" << QDate(2000, 1, 31);
        QTest::newRow("15 Jan - month") << QDate(2000, 1, 15) << "PrevMonth" << QDate(1999, 12, 15);
        QTest::newRow("29 Feb 2000 + year") << QDate(2000, 2, 29) << "NextYear" << QDate(2001, 2, 28);
        QTest::newRow("29 Feb 2000 - year") << QDate(2000, 2, 29) << "PrevYear" << QDate(1999, 2, 28);
        QTest::newRow("28 Feb 2003 + year") << QDate(2003, 2, 28) << "NextYear" << QDate(2004, 2, 28);
        QTest::newRow("last year shown stays") << QDate(9999, 6, 1) << "NextYear" << QDate(9999, 6, 1);
    }
    void pages()
    {
        QFETCH(QDate, start);
        QFETCH(QString, step);
        QFETCH(QDate, expected);
        TCalendar calendar;
        calendar.SetCalendarDate(start);
        QSignalSpy changes(&calendar, &TCalendar::Changed);
        if (step == "NextMonth")
            calendar.NextMonth();
        else if (step == "PrevMonth")
            calendar.PrevMonth();
        else if (step == "NextYear")
            calendar.NextYear();
        else
            calendar.PrevYear();
        QCOMPARE(calendar.CalendarDate(), expected);
        QCOMPARE(changes.count(), expected == start ? 0 : 1);
    }

    void mouseSelectsOnlyDayCells()
    {
        TCalendar calendar;
        calendar.resize(316, 187);
        calendar.SetCalendarDate(QDate(2024, 10, 9)); // October 1 in column 2
        QSignalSpy changes(&calendar, &TCalendar::Changed);

        clickCell(calendar, 3, 4); // 1 + (3 * 7 + 3) - 2 = day 23
        QCOMPARE(calendar.CalendarDate(), QDate(2024, 10, 23));
        QCOMPARE(changes.count(), 1);

        clickCell(calendar, 0, 1); // blank before the month
        clickCell(calendar, 6, 6); // blank after it
        clickCell(calendar, 2, 0); // a day name
        clickCell(calendar, 3, 4); // the day already selected
        QCOMPARE(calendar.CalendarDate(), QDate(2024, 10, 23));
        QCOMPARE(changes.count(), 1);
    }

    void doubleClickSelectsAndReports()
    {
        TCalendar calendar;
        calendar.resize(316, 187);
        calendar.SetCalendarDate(QDate(2024, 10, 9));
        QSignalSpy doubles(&calendar, &TCalendar::DoubleClicked);
        QTest::mouseDClick(&calendar, Qt::LeftButton, {}, calendar.CellRect(1, 1).center());
        QCOMPARE(doubles.count(), 0); // blank cell
        QTest::mouseDClick(&calendar, Qt::LeftButton, {}, calendar.CellRect(5, 2).center());
        QCOMPARE(doubles.count(), 1);
        QCOMPARE(calendar.CalendarDate(), QDate(2024, 10, 11));
    }

    void keysMoveWithinTheMonth_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("right") << QDate(2024, 10, 9) << int(Qt::Key_Right) << QDate(2024, 10, 10);
        QTest::newRow("left") << QDate(2024, 10, 9) << int(Qt::Key_Left) << QDate(2024, 10, 8);
        QTest::newRow("down") << QDate(2024, 10, 9) << int(Qt::Key_Down) << QDate(2024, 10, 16);
        QTest::newRow("up") << QDate(2024, 10, 9) << int(Qt::Key_Up) << QDate(2024, 10, 2);
        QTest::newRow("left of the 1st") << QDate(2024, 10, 1) << int(Qt::Key_Left) << QDate(2024, 10, 1);
        QTest::newRow("below the 30th") << QDate(2024, 9, 30) << int(Qt::Key_Down) << QDate(2024, 9, 30);
        QTest::newRow("right of the 29th of February") << QDate(2024, 2, 29) << int(Qt::Key_Right)
                                                       << QDate(2024, 2, 29);
    }
    void keysMoveWithinTheMonth()
    {
        QFETCH(QDate, start);
        QFETCH(int, key);
        QFETCH(QDate, expected);
        TCalendar calendar;
        calendar.SetCalendarDate(start);
        QTest::keyClick(&calendar, Qt::Key(key));
        QCOMPARE(calendar.CalendarDate(), expected);
    }

    void glyphEventDrawsExactlyTheDayCells()
    {
        TCalendarWithGlyphs calendar;
        calendar.resize(316, 187);
        calendar.SetCalendarDate(QDate(2000, 2, 10));
        struct Call { int col, row; QRect rect; GridDrawState state; QString text; };
        QList<Call> calls;
        calendar.DrawCalendarCellEvent = [&](QPainter &, int col, int row, const QRect &rect,
                                             GridDrawState state, const QString &text) {
            calls.append({col, row, rect, state, text});
        };
        calendar.grab();

        QCOMPARE(calls.size(), 29);
        for (const Call &c : calls) {
            QCOMPARE(c.text, calendar.CellText(c.col, c.row));
            QCOMPARE(c.rect, calendar.CellRect(c.col, c.row));
            QCOMPARE(bool(c.state & GridDrawFlag::Selected), c.text == QStringLiteral("10"));
            QVERIFY(!(c.state & GridDrawFlag::Fixed));
        }
    }
};

QTEST_MAIN(TestCalendar)
#include "tst_calendar.moc"
