// The main window's calendar: the marked days of a month and jumping to a
// date chosen in the date selector.

#include "DriveModal.h"
#include "MainScreenFixture.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "app/IniFile.h"
#include "app/MainScreen.h"
#include "app/Placement.h"
#include "calendar/Calglyph.h"
#include "calendar/Datesel.h"
#include "richtext/RtfReader.h"
#include "richtext/WPRichText.h"
#include "store/EntryFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <memory>


class TestCalendarButton : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainScreenFixture> f;

    void start() { QVERIFY(f->start(QDate(1999, 3, 5))); }
    void writeEntry(const QDate &date, const QString &text) { QVERIFY(f->writeEntry(date, text)); }
    QString shownText() const { return f->screen->WPRichText1->document()->toPlainText().trimmed(); }
    static void clickDay(TDateSelector *s, int day, bool twice = false)
    {
        const QPoint cell = s->Calendar->CellOfDay(day);
        const QPoint at = s->Calendar->CellRect(cell.x(), cell.y()).center();
        if (twice)
            QTest::mouseDClick(s->Calendar, Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(s->Calendar, Qt::LeftButton, {}, at);
    }

private slots:
    void init()
    {
        f = std::make_unique<MainScreenFixture>();
    }
    void cleanup() { f.reset(); }

    void testsEachDayOfTheMonth_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("days");
        QTest::newRow("February 1900") << 1900 << 2 << 28;
        QTest::newRow("February 2000") << 2000 << 2 << 29;
        QTest::newRow("February 2004") << 2004 << 2 << 29;
        QTest::newRow("February 1999") << 1999 << 2 << 28;
        QTest::newRow("April 1999") << 1999 << 4 << 30;
        QTest::newRow("December 1999") << 1999 << 12 << 31;
    }
    void testsEachDayOfTheMonth()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, days);
        TMainScreen main;
        QList<QDate> tested;
        main.EntryDayExists = [&](const QDate &date) {
            tested << date;
            return false;
        };
        QStringList list{"stale"};
        main.MarkEntryDays(list, year, month);
        QVERIFY(list.isEmpty());
        QCOMPARE(tested.size(), days);
        for (int i = 0; i < days; ++i)
            QCOMPARE(tested.at(i), QDate(year, month, i + 1));
    }

    void listsTheDaysWithEntryFiles()
    {
        for (int day : {29, 5, 1, 10})
            writeEntry(QDate(2000, 2, day), "x");
        writeEntry(QDate(2000, 3, 1), "next month");
        writeEntry(QDate(2000, 1, 31), "last month");
        TMainScreen main;
        QStringList list;
        main.MarkEntryDays(list, 2000, 2);
        QCOMPARE(list, (QStringList{"1", "5", "10", "29"}));
        QDir(EntriesFolder()).removeRecursively();
        main.MarkEntryDays(list, 2000, 2);
        QVERIFY(list.isEmpty()); // no Entries folder: nothing marked
    }

    // Files are tested once per day of each month the selector comes to, and
    // never for a move within the shown month.
    void testsFilesOncePerMonthShown()
    {
        start();
        int tests = 0;
        f->screen->EntryDayExists = [&](const QDate &) {
            ++tests;
            return false;
        };
        QList<int> counts;
        WhenModal([&](QWidget *modal) {
            auto *s = qobject_cast<TDateSelector *>(modal);
            counts << tests;                                 // March 1999 shown
            clickDay(s, 20);
            QTest::keyClick(s->Calendar, Qt::Key_Left);
            counts << tests;                                 // still March
            QTest::mouseClick(s->PrevMonth, Qt::LeftButton); // February 1999
            counts << tests;
            QTest::mouseClick(s->PrevYear, Qt::LeftButton);  // February 1998
            counts << tests;
            QTest::mouseClick(s->DoCurrentDate, Qt::LeftButton); // March 1999
            counts << tests;
            s->update();
            QCoreApplication::processEvents(); // painting tests nothing
            counts << tests;
            QTest::mouseClick(s->CancelButton, Qt::LeftButton);
        });
        f->screen->CalendarButtonClick();
        QCOMPARE(counts, (QList<int>{31, 31, 59, 87, 118, 118}));
    }

    // A pending change is saved before the selector opens; Ok moves to the
    // chosen date and shows its entry.
    void jumpsToTheChosenDate()
    {
        writeEntry(QDate(1999, 4, 20), "April entry");
        start();
        f->screen->WPRichText1->setFocus();
        QTest::keyClicks(f->screen->WPRichText1, "typed today");
        QVERIFY(f->screen->EntryChanged());

        QStringList marks;
        bool savedFirst = false;
        WhenModal([&](QWidget *modal) {
            auto *s = qobject_cast<TDateSelector *>(modal);
            savedFirst = QFileInfo::exists(EntryFileName(QDate(1999, 3, 5)));
            QCOMPARE(s->Calendar->CalendarDate(), QDate(1999, 3, 5));
            QCOMPARE(s->EntryDays(), QStringList{"5"});
            QTest::mouseClick(s->NextMonth, Qt::LeftButton);
            marks = s->EntryDays();
            clickDay(s, 20, true);
        });
        QTest::mouseClick(f->screen->CalendarButton, Qt::LeftButton);
        QVERIFY(savedFirst);
        QCOMPARE(marks, QStringList{"20"});
        QCOMPARE(f->screen->CurrentDate, QDate(1999, 4, 20));
        QCOMPARE(f->screen->DateLabel->text(), QStringLiteral("Tuesday, April 20, 1999"));
        QCOMPARE(shownText(), QStringLiteral("April entry"));
        QVERIFY(!f->screen->EntryChanged());
    }

    void cancelKeepsTheDateAndThePage_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Esc") << true;
    }
    void cancelKeepsTheDateAndThePage()
    {
        QFETCH(bool, escape);
        writeEntry(QDate(1999, 3, 5), "today's entry");
        start();
        WhenModal([&](QWidget *modal) {
            auto *s = qobject_cast<TDateSelector *>(modal);
            QTest::mouseClick(s->NextYear, Qt::LeftButton);
            clickDay(s, 9);
            if (escape)
                QTest::keyClick(s->Calendar, Qt::Key_Escape);
            else
                QTest::mouseClick(s->CancelButton, Qt::LeftButton);
        });
        f->screen->CalendarButtonClick();
        QCOMPARE(f->screen->CurrentDate, QDate(1999, 3, 5));
        QCOMPARE(shownText(), QStringLiteral("today's entry"));
        QVERIFY(!f->screen->EntryChanged());
    }
};

QTEST_MAIN(TestCalendarButton)
#include "tst_calendarbutton.moc"
