#include "app/Clock.h"
#include <QRegularExpression>
#include "app/DateFormats.h"
#include "app/DateReader.h"

#include <QLocale>
#include <QTest>

class TestDateReader : public QObject
{
    Q_OBJECT

private slots:
    void readsTheShortDateFormat_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");

        const QString mdy = QStringLiteral("M/d/yyyy");
        const QString dmy = QStringLiteral("dd.MM.yyyy");
        const QDate y2024(2024, 6, 15);
        const QDate y1999(1999, 6, 15);
        const QDate none;

        QTest::newRow("mdy full") << mdy << y2024 << "5/3/1998" << QDate(1998, 5, 3);
        QTest::newRow("mdy leading zeros") << mdy << y2024 << "05/03/1998" << QDate(1998, 5, 3);
        QTest::newRow("mdy two numbers: current year") << mdy << y2024 << "5/3" << QDate(2024, 5, 3);
        QTest::newRow("mdy blanks around the numbers") << mdy << y2024 << "  5 / 3 /1998 "
                                                       << QDate(1998, 5, 3);
        QTest::newRow("mdy 98 in the 1900s") << mdy << y1999 << "5/3/98" << QDate(1998, 5, 3);
        QTest::newRow("mdy 98 in the 2000s") << mdy << y2024 << "5/3/98" << QDate(2098, 5, 3);
        QTest::newRow("mdy leap day 2000") << mdy << y2024 << "2/29/2000" << QDate(2000, 2, 29);
        QTest::newRow("mdy no leap day 1900") << mdy << y2024 << "2/29/1900" << none;
        QTest::newRow("mdy 30 February") << mdy << y2024 << "2/30/2024" << none;
        QTest::newRow("mdy month 13") << mdy << y2024 << "13/1/2024" << none;
        QTest::newRow("mdy day 0") << mdy << y2024 << "1/0/2024" << none;
        QTest::newRow("mdy with a time") << mdy << y2024 << "5/3/1998 10:00" << none;
        QTest::newRow("mdy other separator") << mdy << y2024 << "5-3-1998" << none;
        QTest::newRow("mdy one number") << mdy << y2024 << "5" << none;
        QTest::newRow("mdy trailing separator") << mdy << y2024 << "5/3/" << none;
        QTest::newRow("mdy four numbers") << mdy << y2024 << "5/3/1998/1" << none;
        QTest::newRow("mdy sign") << mdy << y2024 << "+5/3/1998" << none;
        QTest::newRow("mdy month name") << mdy << y2024 << "May/3/1998" << none;
        QTest::newRow("mdy blank inside a number") << mdy << y2024 << "5/3/19 98" << none;
        QTest::newRow("mdy empty") << mdy << y2024 << "" << none;
        QTest::newRow("mdy blanks only") << mdy << y2024 << "   " << none;

        QTest::newRow("dmy full") << dmy << y2024 << "03.05.1998" << QDate(1998, 5, 3);
        QTest::newRow("dmy short") << dmy << y2024 << "3.5.1998" << QDate(1998, 5, 3);
        QTest::newRow("dmy two numbers: day first") << dmy << y2024 << "3.5" << QDate(2024, 5, 3);
        QTest::newRow("dmy two-digit year") << dmy << y1999 << "31.12.05" << QDate(1905, 12, 31);
        QTest::newRow("dmy leap day 2004") << dmy << y2024 << "29.02.2004" << QDate(2004, 2, 29);
        QTest::newRow("dmy 31 April") << dmy << y2024 << "31.04.2004" << none;
        QTest::newRow("dmy slashes") << dmy << y2024 << "3/5/1998" << none;

        // A format that names the month reads back what it writes.
        const QString named = QStringLiteral("d MMM yyyy");
        QTest::newRow("named month") << named << y2024 << "11 Dec 2026" << QDate(2026, 12, 11);
        QTest::newRow("named month, long, any case") << named << y2024 << "11 DECEMBER 2026"
                                                     << QDate(2026, 12, 11);
        QTest::newRow("named month as a number") << named << y2024 << "11 12 26" << QDate(2026, 12, 11);
        QTest::newRow("named month, two parts") << named << y2024 << "3 May" << QDate(2024, 5, 3);
        QTest::newRow("named month out of place") << named << y2024 << "Dec 11 2026" << none;
        QTest::newRow("no such month") << named << y2024 << "11 Dez 2026" << none;
        QTest::newRow("named month with a time") << named << y2024 << "11 Dec 2026 10:00" << none;

        QTest::newRow("ymd full") << "yyyy-MM-dd" << y2024 << "1998-05-03" << QDate(1998, 5, 3);
        QTest::newRow("ymd two numbers: month first") << "yyyy-MM-dd" << y2024 << "5-3"
                                                      << QDate(2024, 5, 3);
    }
    void readsTheShortDateFormat()
    {
        QFETCH(QString, format);
        QFETCH(QDate, today);
        QFETCH(QString, text);
        QFETCH(QDate, expected);

        DateFormatSettings formats =
            DateFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        formats.ShortDateFormat = format;
        formats.DateSeparator = format.at(format.indexOf(QRegularExpression("[^dMy]")));
        QCOMPARE(ReadShortDate(text, formats, today), expected);
    }

    void followsTheProgramsFormatsAndClock()
    {
        const DateFormatSettings saved = DateFormats();
        DateFormatSettings formats = saved;
        formats.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
        formats.DateSeparator = QLatin1Char('.');
        SetDateFormats(formats);
        PinClock(QDateTime(QDate(1998, 10, 15), QTime(23, 59)));

        QCOMPARE(ReadShortDate(QStringLiteral("3.5")), QDate(1998, 5, 3));
        QVERIFY(IsShortDate(QStringLiteral("1.1.01")));
        QCOMPARE(ReadShortDate(QStringLiteral("1.1.01")), QDate(1901, 1, 1));
        QVERIFY(!IsShortDate(QStringLiteral("1/1/2001")));

        UnpinClock();
        SetDateFormats(saved);
    }
};

QTEST_GUILESS_MAIN(TestDateReader)
#include "tst_datereader.moc"
