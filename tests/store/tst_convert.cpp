#include "store/Convert.h"

#include "TestSupport.h"
#include "app/Clock.h"
#include "app/DateFormats.h"
#include "app/IniFile.h"
#include "app/MainScreen.h"
#include "app/Placement.h"
#include "richtext/WPRichText.h"
#include "store/Convnot.h"
#include "store/Crypt.h"
#include "store/EntryFiles.h"
#include "store/PasswordCodec.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QtEndian>

namespace {
const QString kQuestion = QStringLiteral(
    "Old file format detected. Would you like to\rconvert to the new file format now? (Press No\r"
    "if you wish to make backups of your datafiles\rfirst)");

// What the fixtures' records must become (see data/make-old-tables.py).
QMap<QString, QByteArray> expectedEntries()
{
    QByteArray longEntry = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (int i = 0; i < 12; ++i)
        longEntry += "Dear diary, today was a long day. ";
    longEntry += "Caf\xe9.\\par}";
    return {
        {"19990305.QYE", longEntry},
        {"19991305.QYE", "{\\rtf1\\ansi month thirteen\\par}"},
        {"20000101.QYE", "{\\rtf1\\ansi The later record of the same date.\\par}"},
    };
}

QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList allFiles(const QString &folder)
{
    QStringList names;
    QDir dir(folder);
    for (const QFileInfo &info : dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        names << info.fileName();
        if (info.isDir()) {
            for (const QString &inner : allFiles(info.filePath()))
                names << info.fileName() + "/" + inner;
        }
    }
    return names;
}
} // namespace

class TestConvert : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<MessageRecorder> messages;

    void copyFixture(const QString &name)
    {
        for (const char *file : {"QUILLRY.DBF", "QUILLRY.FPT"}) {
            QVERIFY(QFile::copy(QStringLiteral(QUILLARY_TEST_DATA "/") + name + "/" + file, folder->file(file)));
            QFile(folder->file(file)).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        }
    }
    QByteArray fixture(const QString &name, const char *file)
    {
        return readFile(QStringLiteral(QUILLARY_TEST_DATA "/") + name + "/" + file);
    }
    void verifyOldFilesUntouched(const QString &name)
    {
        QCOMPARE(folder->read("QUILLRY.DBF"), fixture(name, "QUILLRY.DBF"));
        QCOMPARE(folder->read("QUILLRY.FPT"), fixture(name, "QUILLRY.FPT"));
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        messages = std::make_unique<MessageRecorder>();
        DateFormatSettings formats = DateFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        formats.ShortDateFormat = QStringLiteral("M/d/yyyy");
        SetDateFormats(formats);
        PinClock(QDateTime(QDate(2001, 2, 3), QTime(10, 0)));
        SetScreenFacts(QSize(1280, 1024), 96);
    }
    void cleanup()
    {
        messages.reset();
        folder.reset();
        UnpinClock();
        SetScreenFacts(QSize(), 0);
    }

    void convertsEveryLiveRecord_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("password");
        QTest::newRow("FoxPro, no password") << "fox" << QString();
        QTest::newRow("FoxPro, password") << "fox" << QStringLiteral("Open 12");
        QTest::newRow("Visual FoxPro, no password") << "vfp" << QString();
        QTest::newRow("Visual FoxPro, password") << "vfp" << QStringLiteral("abc");
    }
    void convertsEveryLiveRecord()
    {
        QFETCH(QString, table);
        QFETCH(QString, password);
        copyFixture(table);
        messages->answers << true;

        // What the progress window shows, seen whenever the run lets events through.
        QStringList progress;
        QTimer watch;
        bool windowRight = false;
        connect(&watch, &QTimer::timeout, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *notify = qobject_cast<TConvertNotify *>(w);
                if (!notify || !notify->isVisible())
                    continue;
                windowRight = notify->WhatAmIdoing->text() == "Converting to new Quillary! file format...."
                    && notify->windowTitle().isEmpty() && (notify->windowFlags() & Qt::WindowStaysOnTopHint)
                    && notify->pos() == QPoint((1280 - notify->width()) / 2, (1024 - notify->height()) / 2);
                if (progress.isEmpty() || progress.last() != notify->Status->text())
                    progress << notify->Status->text();
            }
        });
        watch.start(0);
        QVERIFY(PerformConversion(password));
        watch.stop();

        QCOMPARE(messages->texts(), QStringList{kQuestion});
        QVERIFY(windowRight);
        QStringList wantedProgress;
        for (const char *date : {"3/5/1999", "2/3/2001", "1/1/2000", "1/1/2000"}) {
            QStringList texts{QStringLiteral("Processing entry for ") + date};
            if (!password.isEmpty())
                texts << QStringLiteral("Encrypting entry for ") + date;
            for (const QString &text : texts) {
                if (wantedProgress.isEmpty() || wantedProgress.last() != text)
                    wantedProgress << text; // as the watch records them
            }
        }
        QCOMPARE(progress.mid(progress.indexOf(wantedProgress.first())), wantedProgress);

        const auto expected = expectedEntries();
        QStringList wantedFiles{"Entries", "QUILLRY.DBF", "QUILLRY.FPT"};
        for (const QString &name : expected.keys())
            wantedFiles << "Entries/" + name;
        wantedFiles.sort();
        QStringList files = allFiles(folder->path());
        files.sort();
        QCOMPARE(files, wantedFiles);
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            const QByteArray bytes = folder->read("Entries/" + it.key());
            QCOMPARE(bytes, password.isEmpty() ? it.value() : EncipherBytes(it.value(), password));
        }
        verifyOldFilesUntouched(table);
        QVERIFY(QTest::qWaitFor([] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (qobject_cast<TConvertNotify *>(w))
                    return false;
            }
            return true;
        }));
    }

    void emptyTableMakesAnEmptyDiary()
    {
        copyFixture("empty");
        messages->answers << true;
        QVERIFY(PerformConversion(QString()));
        QVERIFY(QFileInfo(folder->file("Entries")).isDir());
        QVERIFY(QDir(folder->file("Entries")).isEmpty());
    }

    void declinedTouchesNothing()
    {
        copyFixture("fox");
        messages->answers << false;
        QVERIFY(!PerformConversion(QString()));
        QCOMPARE(messages->texts(), QStringList{kQuestion});
        QStringList files = allFiles(folder->path());
        QCOMPARE(files, (QStringList{"QUILLRY.DBF", "QUILLRY.FPT"}));
    }

    // A damaged table converts nothing and says what is wrong.
    void damagedTableConvertsNothing_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reported");
        QTest::newRow("no table at all") << "garbage" << "QUILLRY.DBF is not a dBase or FoxPro table.";
        QTest::newRow("records cut off") << "truncate" << "QUILLRY.DBF is damaged: it holds fewer records than its header says.";
        QTest::newRow("memo beyond the end") << "block" << "QUILLRY.FPT is damaged: a memo lies beyond its end.";
        QTest::newRow("absurd memo length") << "length" << "QUILLRY.FPT is damaged: a memo is longer than the file.";
        QTest::newRow("memo reference no number") << "digits" << "QUILLRY.DBF is damaged: a memo reference is no number.";
    }
    void damagedTableConvertsNothing()
    {
        QFETCH(QString, damage);
        QFETCH(QString, reported);
        copyFixture("fox");
        QByteArray dbf = folder->read("QUILLRY.DBF");
        QByteArray fpt = folder->read("QUILLRY.FPT");
        const int headerLength = qFromLittleEndian<quint16>(dbf.constData() + 8);
        const int recordLength = qFromLittleEndian<quint16>(dbf.constData() + 10);
        // The last record (the later 20000101), whose memo is read after
        // others have been converted: a damaged one must not leave those.
        const int last = headerLength + 9 * recordLength;
        const int entryAt = last + 1 + 8;
        const int block = dbf.mid(entryAt, 10).trimmed().toInt();
        if (damage == "garbage")
            dbf = "This is only some text, nothing like an old table.";
        else if (damage == "truncate")
            dbf.chop(recordLength / 2);
        else if (damage == "block")
            dbf.replace(entryAt, 10, "    999999");
        else if (damage == "length")
            qToBigEndian<quint32>(0x7FFFFFF0, fpt.data() + block * 64 + 4);
        else
            dbf.replace(entryAt, 10, "   12ab   ");
        QVERIFY(folder->write("QUILLRY.DBF", dbf));
        QVERIFY(folder->write("QUILLRY.FPT", fpt));
        messages->answers << true;

        QVERIFY(!PerformConversion("abc"));
        QCOMPARE(messages->messages.size(), 2);
        QCOMPARE(messages->messages.last().first, MessageKind::Error);
        QCOMPARE(messages->last(), "The old diary could not be converted: " + reported
                                       + " Nothing was converted; QUILLRY.DBF and QUILLRY.FPT are unchanged.");
        QStringList files = allFiles(folder->path());
        QCOMPARE(files, (QStringList{"QUILLRY.DBF", "QUILLRY.FPT"}));
        QCOMPARE(folder->read("QUILLRY.DBF"), dbf);
    }

    // Start-up with the old table and no Entries folder converts it, under
    // the stored password, and shows today's entry from it.
    void startUpConverts()
    {
        copyFixture("vfp");
        // Names in another letter case are found too.
        QVERIFY(QFile::rename(folder->file("QUILLRY.FPT"), folder->file("quillry.fpt")));
        IniFile ini(folder->file("QY.INI"));
        QVERIFY(ini.WriteBool("Opening Screen", "show", false));
        QVERIFY(ini.WriteString("Security", "Password", EncryptString("abc")));
        PinClock(QDateTime(QDate(2000, 1, 1), QTime(10, 0)));
        messages->answers << true;
        TMainScreen screen;
        QVERIFY(screen.FormCreate());
        QCOMPARE(messages->texts(), QStringList{kQuestion});
        QCOMPARE(screen.WPRichText1->toPlainText(), QStringLiteral("The later record of the same date."));
        QCOMPARE(folder->read("Entries/20000101.QYE"),
                 EncipherBytes(expectedEntries().value("20000101.QYE"), "abc"));
    }
};

QTEST_MAIN(TestConvert)
#include "tst_convert.moc"
