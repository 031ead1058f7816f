#include "TestSupport.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "app/IniFile.h"
#include "app/MainScreen.h"
#include "app/Placement.h"
#include "output/DirectoryListBox.h"
#include "output/Saveopt.h"
#include "richtext/WPRichText.h"
#include "store/EntryFiles.h"
#include "store/PasswordCodec.h"

#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

class TestExport : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<MessageRecorder> messages;
    std::unique_ptr<TMainScreen> screen;
    QTemporaryDir out;

    static QByteArray rtf(const QByteArray &text) { return "{\\rtf1\\ansi " + text + "\\par}"; }
    void entry(const QDate &date, const QByteArray &text, const QString &password = QString())
    {
        CreateFolderPath(EntriesFolder());
        QVERIFY(WriteEntryFile(EntryFileName(date), rtf(text), password, nullptr));
    }
    void start(const QDate &today)
    {
        PinClock(QDateTime(today, QTime(9, 0)));
        screen = std::make_unique<TMainScreen>();
        QVERIFY(screen->FormCreate());
        screen->show();
        screen->FormActivate();
    }
    enum class Range { Current, All };
    void exportTo(const QString &target, Range range)
    {
        bool answered = false;
        WhenModal<TSaveOptions>([&](TSaveOptions *dialog) {
            QCOMPARE(dialog->DirectoryListBox1->Directory() + "/", ProgramFolder());
            (range == Range::Current ? dialog->PrintCurrentOnly : dialog->PrintAll)->click();
            dialog->DirectoryListBox1->SetDirectory(target);
            dialog->OKButton->click();
            answered = true;
        });
        screen->Export1Click();
        QVERIFY(answered);
    }
    QByteArray exported(const QString &name) const
    {
        QFile f(out.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        messages = std::make_unique<MessageRecorder>();
        SetDateFormats(DateFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
        SetScreenFacts(QSize(1280, 1024), 96);
        QVERIFY(IniFile(folder->file("QY.INI")).WriteBool("Opening Screen", "show", false));
        for (const QString &name : QDir(out.path()).entryList(QDir::Files))
            QFile::remove(out.filePath(name));
    }
    void cleanup()
    {
        screen.reset();
        messages.reset();
        folder.reset();
        UnpinClock();
        SetScreenFacts(QSize(), 0);
    }

    void currentEntryOnly()
    {
        entry(QDate(1998, 10, 15), "October");
        entry(QDate(1998, 10, 16), "the day after");
        start(QDate(1998, 10, 15));
        screen->WPRichText1->setFocus();
        QTest::keyClicks(screen->WPRichText1, "Pending ");
        exportTo(out.path(), Range::Current);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{"19981015.RTF"});
        // The pending change was saved first and is in the export.
        QCOMPARE(exported("19981015.RTF"), folder->read("Entries/19981015.QYE"));
        QVERIFY(exported("19981015.RTF").contains("Pending"));
        QCOMPARE(messages->last(), QStringLiteral("Saved 1 file(s) as Rich Text Format (RTF)\nto directory: ")
                                       + out.path() + "/");
        QCOMPARE(screen->CurrentDate, QDate(1998, 10, 15));
        QVERIFY(screen->WPRichText1->toPlainText().startsWith("Pending"));
    }

    void allEntriesWithAPassword()
    {
        QVERIFY(IniFile(folder->file("QY.INI")).WriteString("Security", "Password", EncryptString("PW")));
        entry(QDate(2001, 1, 1), "one", "PW");
        entry(QDate(2001, 5, 5), "two", "PW");
        entry(QDate(2002, 2, 2), "after today", "PW");
        start(QDate(2001, 6, 1));
        exportTo(out.path(), Range::All);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files),
                 (QStringList{"20010101.RTF", "20010505.RTF", "20020202.RTF"}));
        QCOMPARE(exported("20010505.RTF"), rtf("two"));
        QVERIFY(messages->last().startsWith("Saved 3 file(s)"));
        // A second export overwrites the first.
        QVERIFY(WriteEntryFile(EntryFileName(QDate(2001, 5, 5)), rtf("changed"), "PW", nullptr));
        exportTo(out.path(), Range::All);
        QCOMPARE(exported("20010505.RTF"), rtf("changed"));
        // No plain text went to the program folder.
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList{"QY.INI"});
    }

    void unwritableFolderIsReportedHonestly()
    {
        entry(QDate(2001, 1, 1), "one");
        start(QDate(2001, 1, 1));
        // A folder that vanished after it was chosen.
        QDir().mkpath(folder->file("gone"));
        WhenModal<TSaveOptions>([&](TSaveOptions *dialog) {
            dialog->PrintAll->click();
            dialog->DirectoryListBox1->SetDirectory(folder->file("gone"));
            QDir(folder->file("gone")).removeRecursively();
            dialog->OKButton->click();
        });
        screen->Export1Click();
        QVERIFY2(messages->last().startsWith("Saved 0 file(s)"), qPrintable(messages->last()));
        QVERIFY(messages->last().contains("1 file(s) could not be written"));
        QVERIFY(messages->last().contains("20010101.RTF"));
        QCOMPARE(messages->messages.last().first, MessageKind::Error);
    }
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"
