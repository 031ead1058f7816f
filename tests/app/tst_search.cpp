#include "TestSupport.h"

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

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<MessageRecorder> messages;
    std::unique_ptr<TMainScreen> screen;
    const QDate today{2020, 6, 15};

    void entry(const QDate &date, const QByteArray &text, const QString &password = QString())
    {
        CreateFolderPath(EntriesFolder());
        QVERIFY(WriteEntryFile(EntryFileName(date), "{\\rtf1\\ansi " + text + "\\par}", password, nullptr));
    }
    void start()
    {
        PinClock(QDateTime(today, QTime(9, 0)));
        screen = std::make_unique<TMainScreen>();
        QVERIFY(screen->FormCreate());
        screen->show();
        screen->FormActivate();
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
        screen->mnuFindentrycontainingClick();
        QVERIFY(answered);
    }
    bool findNextEnabled() const { return screen->MenuItem("mnuFindNextBig")->isEnabled(); }
    QString selection() const { return screen->WPRichText1->textCursor().selectedText(); }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        messages = std::make_unique<MessageRecorder>();
        SetDateFormats(DateFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
        SetScreenFacts(QSize(1280, 1024), 96);
        QVERIFY(IniFile(folder->file("QY.INI")).WriteBool("Opening Screen", "show", false));
    }
    void cleanup()
    {
        screen.reset();
        messages.reset();
        folder.reset();
        UnpinClock();
        SetScreenFacts(QSize(), 0);
    }

    void findAnyThenFindNextWalksTheMatches()
    {
        entry(QDate(2019, 1, 1), "Nothing to see");
        entry(QDate(2019, 5, 2), "Dear Diary, it rained");
        entry(QDate(2021, 2, 3), "DIARY after today");
        start();
        QVERIFY(!findNextEnabled());

        findAny("diary");
        QCOMPARE(screen->CurrentDate, QDate(2019, 5, 2));
        QCOMPARE(selection(), QStringLiteral("Diary"));
        QVERIFY(findNextEnabled());
        QCOMPARE(screen->SearchText, QStringLiteral("diary"));

        screen->mnuFindNextBigClick(); // entries after today are searched too
        QCOMPARE(screen->CurrentDate, QDate(2021, 2, 3));
        QCOMPARE(selection(), QStringLiteral("DIARY"));

        screen->mnuFindNextBigClick(); // none left: back to the date shown
        QCOMPARE(messages->last(), QStringLiteral("No matches"));
        QCOMPARE(screen->CurrentDate, QDate(2021, 2, 3));
        QVERIFY(!findNextEnabled());
        QVERIFY(!screen->SearchFound);
    }

    void findNextStartsAfterTheShownDate()
    {
        entry(QDate(2020, 1, 1), "apple one");
        entry(QDate(2020, 3, 1), "apple two");
        entry(QDate(2020, 5, 1), "apple three");
        start();
        findAny("apple");
        QCOMPARE(screen->CurrentDate, QDate(2020, 1, 1));
        screen->GoToDate(QDate(2020, 3, 1)); // the user moves on meanwhile
        screen->mnuFindNextBigClick();
        QCOMPARE(screen->CurrentDate, QDate(2020, 5, 1));
    }

    void stateTable()
    {
        entry(QDate(2020, 6, 1), "the word is here");
        start();
        // OK with an empty box before any scan: no scan, "No matches".
        findAny(QString(""));
        QCOMPARE(messages->last(), QStringLiteral("No matches"));
        QCOMPARE(screen->CurrentDate, today);
        QVERIFY(screen->SearchText.isEmpty());

        // Not found: the text is kept, the date comes back, Find Next is off.
        messages->messages.clear();
        findAny("absent");
        QCOMPARE(screen->SearchText, QStringLiteral("absent"));
        QCOMPARE(screen->CurrentDate, today);
        QCOMPARE(messages->texts(), QStringList{"No matches"});
        QVERIFY(!findNextEnabled());

        findAny("word");
        QCOMPARE(screen->CurrentDate, QDate(2020, 6, 1));
        QVERIFY(findNextEnabled());

        // Cancel changes nothing.
        screen->GoToDate(today);
        messages->messages.clear();
        findAny(QString());
        QCOMPARE(screen->CurrentDate, today);
        QCOMPARE(screen->SearchText, QStringLiteral("word"));
        QVERIFY(findNextEnabled());
        QVERIFY(messages->messages.isEmpty());

        // OK with an empty box after a find: the shown entry is reloaded and
        // the old text looked for in it again.
        findAny(QString(""));
        QCOMPARE(screen->CurrentDate, today);
        QVERIFY(findNextEnabled());
        QVERIFY(messages->messages.isEmpty());
    }

    void pendingChangeIsSavedAndTheShownEntryReloaded()
    {
        start();
        screen->WPRichText1->setFocus();
        QTest::keyClicks(screen->WPRichText1, "A Needle in today");
        QVERIFY(screen->EntryChanged());
        findAny("needle");
        QVERIFY(!screen->EntryChanged());
        QCOMPARE(screen->CurrentDate, today);
        QCOMPARE(selection(), QStringLiteral("Needle"));
        QVERIFY(QFileInfo::exists(EntryFileName(today)));
    }

    void passwordLeavesNoPlainTextOnDisk()
    {
        QVERIFY(IniFile(folder->file("QY.INI")).WriteString("Security", "Password", EncryptString("PW")));
        entry(QDate(2020, 2, 2), "secret garden", "PW");
        start();
        findAny("GARDEN");
        QCOMPARE(screen->CurrentDate, QDate(2020, 2, 2));
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList{"QY.INI"});
    }

    void unreadableEntryIsReportedAndTheStateIsRight()
    {
        entry(QDate(2020, 2, 2), "findable");
        QVERIFY(QFile::link("/proc/self/mem", EntriesFolder() + "20200101.QYE"));
        start();
        findAny("findable");
        QCOMPARE(screen->CurrentDate, QDate(2020, 2, 2));
        QVERIFY(findNextEnabled());
        QVERIFY(messages->texts().join(" ").contains("1/1/2020"));
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
