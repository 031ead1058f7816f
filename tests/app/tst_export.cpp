#include "MainScreenFixture.h"

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

    std::unique_ptr<MainScreenFixture> f;
    QTemporaryDir out;

    static QByteArray rtf(const QByteArray &text) { return MainScreenFixture::rtfOf(QString::fromLatin1(text)); }
    void entry(const QDate &date, const QByteArray &text, const QString &password = QString())
    {
        QVERIFY(f->writeEntry(date, QString::fromLatin1(text), password));
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
        f->screen->Export1Click();
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
        f = std::make_unique<MainScreenFixture>();
        for (const QString &name : QDir(out.path()).entryList(QDir::Files))
            QFile::remove(out.filePath(name));
    }
    void cleanup() { f.reset(); }

    void currentEntryOnly()
    {
        entry(QDate(1998, 10, 15), "October");
        entry(QDate(1998, 10, 16), "the day after");
        QVERIFY(f->start(QDate(1998, 10, 15)));
        f->screen->WPRichText1->setFocus();
        QTest::keyClicks(f->screen->WPRichText1, "Pending ");
        exportTo(out.path(), Range::Current);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{"19981015.RTF"});
        // The pending change was saved first and is in the export.
        QCOMPARE(exported("19981015.RTF"), f->folder.read("Entries/19981015.QYE"));
        QVERIFY(exported("19981015.RTF").contains("Pending"));
        QCOMPARE(f->messages.last(), QStringLiteral("Saved 1 file(s) as Rich Text Format (RTF)\nto directory: ")
                                       + out.path() + "/");
        QCOMPARE(f->screen->CurrentDate, QDate(1998, 10, 15));
        QVERIFY(f->screen->WPRichText1->toPlainText().startsWith("Pending"));
    }

    void allEntriesWithAPassword()
    {
        f->storePassword("PW");
        entry(QDate(2001, 1, 1), "one", "PW");
        entry(QDate(2001, 5, 5), "two", "PW");
        entry(QDate(2002, 2, 2), "after today", "PW");
        QVERIFY(f->start(QDate(2001, 6, 1)));
        exportTo(out.path(), Range::All);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files),
                 (QStringList{"20010101.RTF", "20010505.RTF", "20020202.RTF"}));
        QCOMPARE(exported("20010505.RTF"), rtf("two"));
        QVERIFY(f->messages.last().startsWith("Saved 3 file(s)"));
        // A second export overwrites the first.
        QVERIFY(WriteEntryFile(EntryFileName(QDate(2001, 5, 5)), rtf("changed"), "PW", nullptr));
        exportTo(out.path(), Range::All);
        QCOMPARE(exported("20010505.RTF"), rtf("changed"));
        // No plain text went to the program folder.
        QCOMPARE(QDir(f->folder.path()).entryList(QDir::Files), QStringList{"QY.INI"});
    }

    void unwritableFolderIsReportedHonestly()
    {
        entry(QDate(2001, 1, 1), "one");
        QVERIFY(f->start(QDate(2001, 1, 1)));
        // A folder that vanished after it was chosen.
        QDir().mkpath(f->folder.file("gone"));
        WhenModal<TSaveOptions>([&](TSaveOptions *dialog) {
            dialog->PrintAll->click();
            dialog->DirectoryListBox1->SetDirectory(f->folder.file("gone"));
            QDir(f->folder.file("gone")).removeRecursively();
            dialog->OKButton->click();
        });
        f->screen->Export1Click();
        QVERIFY2(f->messages.last().startsWith("Saved 0 file(s)"), qPrintable(f->messages.last()));
        QVERIFY(f->messages.last().contains("1 file(s) could not be written"));
        QVERIFY(f->messages.last().contains("20010101.RTF"));
        QCOMPARE(f->messages.messages.last().first, MessageKind::Error);
    }
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"
