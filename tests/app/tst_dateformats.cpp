#include "app/Clock.h"
#include "app/DateFormats.h"

#include <QLocale>
#include <QTest>

class TestDateFormats : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        SetDateFormats(DateFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
        PinClock(QDateTime(QDate(2026, 12, 11), QTime(9, 5, 7)));
    }
    void cleanup() { UnpinClock(); }

    void widenYearFormat_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("widened");
        QTest::newRow("two letters") << "M/d/yy" << "/" << "M/d/yyyy";
        QTest::newRow("dotted") << "dd.MM.yy" << "." << "dd.MM.yyyy";
        QTest::newRow("single letter") << "d/M/y" << "/" << "d/M/yyyy";
        QTest::newRow("already four") << "dd.MM.yyyy" << "." << "dd.MM.yyyy";
        QTest::newRow("iso stays") << "yyyy-MM-dd" << "-" << "yyyy-MM-dd";
        QTest::newRow("no year") << "MM/dd" << "/" << "MM/dd/YYYY";
        QTest::newRow("three letters") << "yyy/M/d" << "/" << "yyyy/M/d";
        QTest::newRow("case copied") << "YY-M-d" << "-" << "YYYY-M-d";
        QTest::newRow("year first, text after") << "yy'年'M'月'd'日'" << "/" << "yyyy'年'M'月'd'日'";
    }
    void widenYearFormat()
    {
        QFETCH(QString, format);
        QFETCH(QString, separator);
        QFETCH(QString, widened);
        QCOMPARE(WidenYearFormat(format, separator.at(0)), widened);
    }

    void stod_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        const QDate today(2026, 12, 11);
        QTest::newRow("plain") << "19990305" << QDate(1999, 3, 5);
        QTest::newRow("leap day") << "20240229" << QDate(2024, 2, 29);
        QTest::newRow("year 999") << "09990101" << QDate(999, 1, 1);
        QTest::newRow("no leap day") << "20230229" << today;
        QTest::newRow("month 13") << "20231301" << today;
        QTest::newRow("day 0") << "20230100" << today;
        QTest::newRow("name") << "NOTES" << today;
        QTest::newRow("short") << "2024" << today;
        QTest::newRow("letters in month") << "2024ab01" << today;
        QTest::newRow("year 0") << "00000101" << today;
        QTest::newRow("empty") << "" << today;
    }
    void stod()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(STOD(text), date);
    }

    void digits()
    {
        QCOMPARE(DateToDigits(QDate(1999, 3, 5)), QStringLiteral("19990305"));
        QCOMPARE(DateToDigits(QDate(999, 12, 31)), QStringLiteral("09991231"));
    }

    void formatDateTime_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("text");
        const QDateTime friday(QDate(1999, 3, 5), QTime(14, 7, 9));
        QTest::newRow("heading") << QString::fromLatin1(HeadingDatePattern) << friday
                                 << "Friday, March 5, 1999";
        QTest::newRow("letters ignore case") << "DDDD, MMMM D, YYYY" << friday << "Friday, March 5, 1999";
        QTest::newRow("short names") << "ddd mmm dd yy" << friday << "Fri Mar 05 99";
        QTest::newRow("minutes after hours") << "hh:mm:ss" << friday << "14:07:09";
        QTest::newRow("n is minutes") << "h:nn" << friday << "14:07";
        QTest::newRow("twelve hours") << "h:nn am/pm" << friday << "2:07 pm";
        QTest::newRow("ampm") << "h:nn ampm" << friday << "2:07 PM";
        QTest::newRow("quoted") << "'day' d \"of\" m" << friday << "day 5 of 3";
        QTest::newRow("separator") << "m/d/yyyy" << friday << "3/5/1999";
    }
    void formatDateTime()
    {
        QFETCH(QString, pattern);
        QFETCH(QDateTime, moment);
        QFETCH(QString, text);
        QCOMPARE(FormatDateTime(pattern, moment), text);
    }

    void shortDateFormatAfterWidening()
    {
        DateFormatSettings s = DateFormats();
        s.ShortDateFormat = QStringLiteral("M/d/yy");
        s.ShortDateFormat = WidenYearFormat(s.ShortDateFormat, s.DateSeparator);
        SetDateFormats(s);
        QCOMPARE(FormatDate(QStringLiteral("ddddd"), QDate(1999, 3, 5)), QStringLiteral("3/5/1999"));
    }
};

QTEST_GUILESS_MAIN(TestDateFormats)
#include "tst_dateformats.moc"
