#include "MainScreenFixture.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "app/IniFile.h"
#include "app/MainScreen.h"
#include "app/Placement.h"
#include "output/Lookfor.h"
#include "richtext/WPRichText.h"
#include "store/EntryFiles.h"
#include "store/PasswordCodec.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

class TestSearch : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainScreenFixture> f;
    const QDate today{2020, 6, 15};

    void entry(const QDate &date, const QByteArray &text, const QString &password = QString())
    {
        QVERIFY(f->writeEntry(date, QString::fromLatin1(text), password));
    }
    // Find Any with the dialog answered: a text and OK, or Cancel when the
    // text is null.
    void findAny(const QString &text)
    {
        bool answered = false;
        WhenModal<TLookForAll>([&](TLookForAll *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Find text from any entry"));
            QVERIFY(dialog->LookForText->text().isEmpty());
            answered = true;
            if (text.isNull()) {
                dialog->BitBtn2->click();
            } else {
                dialog->LookForText->setText(text);
                dialog->BitBtn1->click();
            }
        });
        f->screen->mnuFindentrycontainingClick();
        QVERIFY(answered);
    }
    bool findNextEnabled() const { return f->screen->MenuItem("mnuFindNextBig")->isEnabled(); }
    QString selection() const { return f->screen->WPRichText1->textCursor().selectedText(); }

private slots:
    void init()
    {
        f = std::make_unique<MainScreenFixture>();
    }
    void cleanup() { f.reset(); }

    void findAnyThenFindNextWalksTheMatches()
    {
        entry(QDate(2019, 1, 1), "Nothing to see");
        entry(QDate(2019, 5, 2), "Dear Diary, it rained");
        entry(QDate(2021, 2, 3), "DIARY after today");
        QVERIFY(f->start(today));
        QVERIFY(!findNextEnabled());

        findAny("diary");
        QCOMPARE(f->screen->CurrentDate, QDate(2019, 5, 2));
        QCOMPARE(selection(), QStringLiteral("Diary"));
        QVERIFY(findNextEnabled());
        QCOMPARE(f->screen->SearchText, QStringLiteral("diary"));

        f->screen->mnuFindNextBigClick(); // entries after today are searched too
        QCOMPARE(f->screen->CurrentDate, QDate(2021, 2, 3));
        QCOMPARE(selection(), QStringLiteral("DIARY"));

        f->screen->mnuFindNextBigClick(); // none left: back to the date shown
        QCOMPARE(f->messages.last(), QStringLiteral("No matches"));
        QCOMPARE(f->screen->CurrentDate, QDate(2021, 2, 3));
        QVERIFY(!findNextEnabled());
        QVERIFY(!f->screen->SearchFound);
    }

    void findNextStartsAfterTheShownDate()
    {
        entry(QDate(2020, 1, 1), "apple one");
        entry(QDate(2020, 3, 1), "apple two");
        entry(QDate(2020, 5, 1), "apple three");
        QVERIFY(f->start(today));
        findAny("apple");
        QCOMPARE(f->screen->CurrentDate, QDate(2020, 1, 1));
        f->screen->GoToDate(QDate(2020, 3, 1)); // the user moves on meanwhile
        f->screen->mnuFindNextBigClick();
        QCOMPARE(f->screen->CurrentDate, QDate(2020, 5, 1));
    }

    void stateTable()
    {
        entry(QDate(2020, 6, 1), "the word is here");
        QVERIFY(f->start(today));
        // OK with an empty box before any scan: no scan, "No matches".
        findAny(QString(""));
        QCOMPARE(f->messages.last(), QStringLiteral("No matches"));
        QCOMPARE(f->screen->CurrentDate, today);
        QVERIFY(f->screen->SearchText.isEmpty());

        // Not found: the text is kept, the date comes back, Find Next is off.
        f->messages.messages.clear();
        findAny("absent");
        QCOMPARE(f->screen->SearchText, QStringLiteral("absent"));
        QCOMPARE(f->screen->CurrentDate, today);
        QCOMPARE(f->messages.texts(), QStringList{"No matches"});
        QVERIFY(!findNextEnabled());

        findAny("word");
        QCOMPARE(f->screen->CurrentDate, QDate(2020, 6, 1));
        QVERIFY(findNextEnabled());

        // Cancel changes nothing.
        f->screen->GoToDate(today);
        f->messages.messages.clear();
        findAny(QString());
        QCOMPARE(f->screen->CurrentDate, today);
        QCOMPARE(f->screen->SearchText, QStringLiteral("word"));
        QVERIFY(findNextEnabled());
        QVERIFY(f->messages.messages.isEmpty());

        // OK with an empty box after a find: the shown entry is reloaded and
        // the old text looked for in it again.
        findAny(QString(""));
        QCOMPARE(f->screen->CurrentDate, today);
        QVERIFY(findNextEnabled());
        QVERIFY(f->messages.messages.isEmpty());
    }

    void pendingChangeIsSavedAndTheShownEntryReloaded()
    {
        QVERIFY(f->start(today));
        f->screen->WPRichText1->setFocus();
        QTest::keyClicks(f->screen->WPRichText1, "A Needle in today");
        QVERIFY(f->screen->EntryChanged());
        findAny("needle");
        QVERIFY(!f->screen->EntryChanged());
        QCOMPARE(f->screen->CurrentDate, today);
        QCOMPARE(selection(), QStringLiteral("Needle"));
        QVERIFY(QFileInfo::exists(EntryFileName(today)));
    }

    void passwordLeavesNoPlainTextOnDisk()
    {
        f->storePassword("PW");
        entry(QDate(2020, 2, 2), "secret garden", "PW");
        QVERIFY(f->start(today));
        findAny("GARDEN");
        QCOMPARE(f->screen->CurrentDate, QDate(2020, 2, 2));
        QCOMPARE(QDir(f->folder.path()).entryList(QDir::Files), QStringList{"QY.INI"});
    }

    void unreadableEntryIsReportedAndTheStateIsRight()
    {
        entry(QDate(2020, 2, 2), "findable");
        QVERIFY(QFile::link("/proc/self/mem", EntriesFolder() + "20200101.QYE"));
        QVERIFY(f->start(today));
        findAny("findable");
        QCOMPARE(f->screen->CurrentDate, QDate(2020, 2, 2));
        QVERIFY(findNextEnabled());
        QVERIFY(f->messages.texts().join(" ").contains("1/1/2020"));
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
