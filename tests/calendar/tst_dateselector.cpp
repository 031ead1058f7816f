#include "DriveModal.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "calendar/Calglyph.h"
#include "calendar/Datesel.h"
#include "controls/Graphp.h"

#include <QImage>
#include <QLocale>
#include <QPushButton>
#include <QTest>

namespace {
const QRgb kRed = qRgb(255, 0, 0);

// The marked days' squares: every pure red pixel of the rendered grid.
QList<QPoint> redPixels(const QImage &image)
{
    QList<QPoint> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (kRed & 0xFFFFFF))
                out << QPoint(x, y);
    return out;
}
} // namespace

class TestDateSelector : public QObject
{
    Q_OBJECT

    DateFormatSettings saved_;

private slots:
    void initTestCase()
    {
        saved_ = DateFormats();
        SetDateFormats(DateFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
        PinClock(QDateTime(QDate(1999, 3, 5), QTime(14, 30)));
    }
    void cleanupTestCase()
    {
        UnpinClock();
        SetDateFormats(saved_);
    }

    void hasItsButtons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::newRow("PrevYear") << "PrevYear" << "Year-" << "Show the previous year";
        QTest::newRow("PrevMonth") << "PrevMonth" << "Month-" << "Show the previous month";
        QTest::newRow("DoCurrentDate") << "DoCurrentDate" << "Today" << "Show today's date";
        QTest::newRow("NextMonth") << "NextMonth" << "Month +" << "Show the next month";
        QTest::newRow("NextYear") << "NextYear" << "Year+" << "Show the next year";
        QTest::newRow("OKButton") << "OKButton" << "Ok" << "";
        QTest::newRow("CancelButton") << "CancelButton" << "Cancel" << "";
    }
    void hasItsButtons()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        TDateSelector selector;
        auto *button = selector.findChild<QPushButton *>(name);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->toolTip(), hint);
        QCOMPARE(button->isDefault(), name == "OKButton");
    }

    void formSetUp()
    {
        TDateSelector selector;
        QCOMPARE(selector.windowTitle(), QStringLiteral("Select Date"));
        QCOMPARE(selector.size(), QSize(360, 303));
        QCOMPARE(selector.Calendar->size(), QSize(316, 187));
        QCOMPARE(selector.Calendar->StartOfWeek(), 0);
        QCOMPARE(selector.ShowDatePanel->height(), 25);
        QCOMPARE(selector.ShownMonth(), -1);
        QCOMPARE(selector.ShownYear(), -1);
        // The paging row in its order, under the calendar.
        const QList<QPushButton *> row{selector.PrevYear, selector.PrevMonth, selector.DoCurrentDate,
                                       selector.NextMonth, selector.NextYear};
        for (int i = 0; i < row.size(); ++i) {
            QVERIFY(row[i]->y() >= selector.Calendar->geometry().bottom());
            if (i > 0)
                QVERIFY(row[i]->x() > row[i - 1]->x());
        }
        QVERIFY(selector.OKButton->x() < selector.CancelButton->x());
    }

    // Each showing fills the marks, also for the month of the previous use.
    void firstShowingFillsTheMarks()
    {
        QList<QPair<int, int>> calls;
        for (int use = 0; use < 2; ++use) {
            TDateSelector selector;
            selector.InitialDate = QDate(1998, 10, 15);
            selector.OnMarkDays = [&](QStringList &list, int year, int month) {
                calls.append({year, month});
                list = QStringList{"5", "15"};
            };
            selector.Calendar->SetCalendarDate(QDate(1998, 1, 1)); // before showing: no change run
            QVERIFY(calls.size() == use);
            selector.show();
            QCOMPARE(selector.Calendar->CalendarDate(), QDate(1998, 10, 15));
            QCOMPARE(selector.ShowDatePanel->Caption(), QStringLiteral("Thursday, October 15, 1998"));
            QCOMPARE(selector.EntryDays(), (QStringList{"5", "15"}));
            QCOMPARE(selector.ShownMonth(), 10);
            QCOMPARE(selector.ShownYear(), 1998);
            selector.hide();
            selector.show(); // a later activation changes nothing
        }
        QCOMPARE(calls, (QList<QPair<int, int>>{{1998, 10}, {1998, 10}}));
    }

    void refillsOnlyForAnotherMonth()
    {
        TDateSelector selector;
        selector.InitialDate = QDate(2000, 1, 31);
        QList<QPair<int, int>> calls;
        selector.OnMarkDays = [&](QStringList &, int year, int month) { calls.append({year, month}); };
        selector.show();
        QTest::mouseClick(selector.Calendar, Qt::LeftButton, {},
                          selector.Calendar->CellRect(3, 3).center()); // 12 January 2000
        QCOMPARE(selector.ShowDatePanel->Caption(), QStringLiteral("Wednesday, January 12, 2000"));
        QTest::mouseClick(selector.NextMonth, Qt::LeftButton);
        QCOMPARE(selector.Calendar->CalendarDate(), QDate(2000, 2, 12));
        QTest::mouseClick(selector.PrevYear, Qt::LeftButton);
        QTest::mouseClick(selector.PrevMonth, Qt::LeftButton);
        QTest::mouseClick(selector.NextMonth, Qt::LeftButton);
        QTest::mouseClick(selector.NextYear, Qt::LeftButton);
        QTest::mouseClick(selector.DoCurrentDate, Qt::LeftButton);
        QCOMPARE(selector.Calendar->CalendarDate(), QDate(1999, 3, 5));
        QCOMPARE(selector.ShownDate(), QDate(1999, 3, 5));
        QCOMPARE(calls, (QList<QPair<int, int>>{{2000, 1}, {2000, 2}, {1999, 2}, {1999, 1},
                                                {1999, 2}, {2000, 2}, {1999, 3}}));
    }

    // The square sits at Left + (width - 6) div 2, Top + (height - 8) div 2 - 2,
    // 8 by 8 pixels, in the cell of each listed day and nowhere else.
    void marksTheListedDays()
    {
        TDateSelector selector;
        selector.InitialDate = QDate(1998, 10, 15);
        selector.OnMarkDays = [](QStringList &list, int, int) { list = QStringList{"5", "31"}; };
        selector.show();
        const QImage image = selector.Calendar->grab().toImage();

        QList<QPoint> expected;
        for (int day : {5, 31}) {
            const QPoint cell = selector.Calendar->CellOfDay(day);
            const QRect r = selector.Calendar->CellRect(cell.x(), cell.y());
            const int x1 = r.left() + (r.width() - 6) / 2;
            const int y1 = r.top() + (r.height() - 8) / 2 - 2;
            for (int y = y1; y < y1 + 8; ++y)
                for (int x = x1; x < x1 + 8; ++x)
                    expected << QPoint(x, y);
        }
        std::sort(expected.begin(), expected.end(),
                  [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
        QCOMPARE(redPixels(image), expected);
    }

    // "05" names no cell: the cells hold "5".  Day names and blank cells never
    // reach the drawing of the marks.
    void marksOnlyCellsWhoseTextIsListed()
    {
        TDateSelector selector;
        selector.InitialDate = QDate(1998, 10, 15);
        selector.OnMarkDays = [](QStringList &list, int, int) {
            list = QStringList{"05", "", "Sun", "0"};
        };
        selector.show();
        QVERIFY(redPixels(selector.Calendar->grab().toImage()).isEmpty());
    }

    void closes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::newRow("Ok") << "Ok" << mrOk;
        QTest::newRow("Enter") << "Enter" << mrOk;
        QTest::newRow("double click") << "double click" << mrOk;
        QTest::newRow("Cancel") << "Cancel" << mrCancel;
        QTest::newRow("Esc") << "Esc" << mrCancel;
    }
    void closes()
    {
        QFETCH(QString, how);
        QFETCH(int, result);
        TDateSelector selector;
        selector.InitialDate = QDate(1998, 10, 15);
        WhenModal([how](QWidget *modal) {
            auto *s = qobject_cast<TDateSelector *>(modal);
            QVERIFY(s);
            s->Calendar->setFocus();
            QTest::mouseClick(s->Calendar, Qt::LeftButton, {}, s->Calendar->CellRect(6, 3).center());
            if (how == "Ok")
                QTest::mouseClick(s->OKButton, Qt::LeftButton);
            else if (how == "Enter")
                QTest::keyClick(s->Calendar, Qt::Key_Return);
            else if (how == "double click")
                QTest::mouseDClick(s->Calendar, Qt::LeftButton, {}, s->Calendar->CellRect(6, 3).center());
            else if (how == "Cancel")
                QTest::mouseClick(s->CancelButton, Qt::LeftButton);
            else
                QTest::keyClick(s->Calendar, Qt::Key_Escape);
        });
        QCOMPARE(selector.exec(), result);
        QCOMPARE(selector.Calendar->CalendarDate(), QDate(1998, 10, 17));
    }

    void todayGivesAWholeDay()
    {
        TDateSelector selector;
        selector.InitialDate = QDate(2010, 7, 7);
        WhenModal([](QWidget *modal) {
            auto *s = qobject_cast<TDateSelector *>(modal);
            QTest::mouseClick(s->DoCurrentDate, Qt::LeftButton);
            QTest::mouseClick(s->OKButton, Qt::LeftButton);
        });
        QCOMPARE(selector.exec(), mrOk);
        QCOMPARE(selector.Calendar->CalendarDate(), Today());
    }
};

QTEST_MAIN(TestDateSelector)
#include "tst_dateselector.moc"
