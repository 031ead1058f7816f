#include "TestSupport.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "app/IniFile.h"
#include "app/MainScreen.h"
#include "app/OpeningMessage.h"
#include "app/Placement.h"
#include "controls/Ring.h"
#include "richtext/RtfReader.h"
#include "richtext/WPRichText.h"
#include "store/Crypt.h"
#include "store/EntryFiles.h"
#include "store/PasswordCodec.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <memory>

namespace {
QByteArray rtfOf(const QString &text)
{
    return QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ") + text.toLatin1()
        + "\\par}";
}

QString textOf(const QByteArray &rtf)
{
    QTextDocument doc;
    RtfReader reader;
    if (!reader.Read(rtf, &doc))
        return QStringLiteral("<unreadable>");
    return doc.toPlainText();
}
} // namespace

class TestMainScreen : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<MessageRecorder> messages;
    std::unique_ptr<TMainScreen> screen;

    // Starts the main window as the program does, on the pinned date.
    void start(const QDate &today = QDate(1999, 3, 5))
    {
        PinClock(QDateTime(today, QTime(10, 0)));
        screen = std::make_unique<TMainScreen>();
        QVERIFY(screen->FormCreate());
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        screen->FormActivate();
        QVERIFY(!screen->FirstActivation);
    }
    void writeEntry(const QDate &date, const QString &text, const QString &password = QString())
    {
        QDir().mkpath(EntriesFolder());
        QString error;
        QVERIFY2(WriteEntryFile(EntriesFolder() + DateToDigits(date) + ".QYE", rtfOf(text), password,
                                &error),
                 qPrintable(error));
    }
    QString entryText(const QDate &date, const QString &password = QString())
    {
        QByteArray plain;
        if (!ReadEntryFile(EntryFileName(date), password, &plain, nullptr))
            return QStringLiteral("<none>");
        return textOf(plain);
    }
    void type(const QString &text)
    {
        screen->WPRichText1->setFocus();
        QTest::keyClicks(screen->WPRichText1, text);
    }
    void noOpeningMessage()
    {
        IniFile ini(folder->file("QY.INI"));
        QVERIFY(ini.WriteBool("Opening Screen", "show", false));
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        messages = std::make_unique<MessageRecorder>();
        SetDateFormats(DateFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
        SetScreenFacts(QSize(1280, 1024), 96);
        noOpeningMessage();
    }
    void cleanup()
    {
        screen.reset();
        messages.reset();
        folder.reset();
        UnpinClock();
        SetScreenFacts(QSize(), 0);
    }

    void startsOnTodayWithAnEmptyPage()
    {
        start();
        QCOMPARE(screen->DateLabel->text(), QStringLiteral("Friday, March 5, 1999"));
        QCOMPARE(screen->CurrentDate, QDate(1999, 3, 5));
        QVERIFY(screen->WPRichText1->IsEmpty());
        QVERIFY(!screen->EntryChanged());
        QVERIFY(QFileInfo(folder->file("Entries")).isDir());
        // The empty page takes the default font.
        QCOMPARE(screen->WPRichText1->currentCharFormat().font().family(), QStringLiteral("Arial"));
        QCOMPARE(screen->WPRichText1->currentCharFormat().font().pointSize(), 10);
        QVERIFY(messages->messages.isEmpty());
    }

    void startedMinimisedComesUpMinimised()
    {
        writeEntry(QDate(1999, 3, 5), "Loaded anyway");
        PinClock(QDateTime(QDate(1999, 3, 5), QTime(10, 0)));
        screen = std::make_unique<TMainScreen>();
        screen->StartMinimized = true;
        QVERIFY(screen->FormCreate());
        screen->showMinimized();
        QTRY_VERIFY(!screen->FirstActivation);
        QVERIFY(screen->isMinimized());
        QCOMPARE(screen->WPRichText1->toPlainText(), QStringLiteral("Loaded anyway"));
    }

    void firstStartWritesEveryKey()
    {
        QFile::remove(folder->file("QY.INI"));
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<TShowOpeningMessage *>(QApplication::activeModalWidget());
            shown = dialog != nullptr;
            if (dialog) {
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Quillary!"));
                QVERIFY(!dialog->DontShow->isChecked());
                dialog->DontShow->setChecked(true);
                dialog->OKButton->click();
            }
        });
        start();
        QVERIFY(shown);
        const QByteArray ini = folder->read("QY.INI");
        const QByteArray expected = "[Security]\r\nPassword=\r\n"
                                    "[Default Font]\r\nName=Arial\r\nSize=10\r\nBold=0\r\nItalic=0\r\n"
                                    "Underline=0\r\nColor=0\r\n"
                                    "[Opening Screen]\r\nshow=0\r\n"
                                    "[Icons]\r\nVisible=0\r\nFile=";
        QVERIFY2(ini.startsWith(expected), ini.constData());
        QVERIFY(ini.contains("ICONS\\MISC1.ICL\r\nTop=206\r\nLeft=578\r\n"));

        // Ticked: no message at the next start.
        screen->close();
        screen.reset();
        start();
    }

    void typingShowsSaveAndCancel_CancelRestores()
    {
        writeEntry(QDate(1999, 3, 5), "Stored words");
        start();
        QCOMPARE(screen->WPRichText1->toPlainText(), QStringLiteral("Stored words"));
        QVERIFY(!screen->EntryChanged());
        type("x");
        QVERIFY(screen->SaveButton->isVisible());
        QVERIFY(screen->CancelButton->isVisible());
        screen->CancelButton->click();
        QVERIFY(!screen->EntryChanged());
        QCOMPARE(screen->WPRichText1->toPlainText(), QStringLiteral("Stored words"));
        QCOMPARE(entryText(QDate(1999, 3, 5)), QStringLiteral("Stored words"));
    }

    void nextSavesWithoutAsking()
    {
        start();
        type("Went to the sea");
        screen->Nextbutton->click();
        QCOMPARE(screen->CurrentDate, QDate(1999, 3, 6));
        QCOMPARE(screen->DateLabel->text(), QStringLiteral("Saturday, March 6, 1999"));
        QVERIFY(!screen->EntryChanged());
        QVERIFY(messages->messages.isEmpty());
        QCOMPARE(entryText(QDate(1999, 3, 5)), QStringLiteral("Went to the sea"));
        // The file is RTF that our reader and others open.
        QVERIFY(folder->read("Entries/19990305.QYE").startsWith("{\\rtf1"));
        QVERIFY(!QFileInfo::exists(folder->file("Entries/19990306.QYE")));
        screen->PriorButton->click();
        QCOMPARE(screen->WPRichText1->toPlainText(), QStringLiteral("Went to the sea"));
    }

    void deleteThenSaveRemovesTheFile()
    {
        writeEntry(QDate(1999, 3, 5), "To be deleted");
        start();
        messages->answers << true;
        screen->DeletebuttonClick();
        QCOMPARE(messages->last(), QStringLiteral("Delete this entry?"));
        QVERIFY(screen->WPRichText1->IsEmpty());
        QVERIFY(screen->EntryChanged());
        QVERIFY(QFileInfo::exists(EntryFileName(QDate(1999, 3, 5)))); // not yet
        screen->NextButtonClick();
        QVERIFY(!QFileInfo::exists(EntryFileName(QDate(1999, 3, 5))));
        screen->PriorButtonClick();
        QVERIFY(!screen->EntryExists);
    }

    void deleteThenCancelKeepsTheFile()
    {
        writeEntry(QDate(1999, 3, 5), "Keep me");
        start();
        const QByteArray before = folder->read("Entries/19990305.QYE");
        messages->answers << true;
        screen->DeletebuttonClick();
        screen->CancelButtonClick();
        QCOMPARE(screen->WPRichText1->toPlainText(), QStringLiteral("Keep me"));
        QCOMPARE(folder->read("Entries/19990305.QYE"), before);

        messages->answers << false; // No: nothing happens
        screen->DeletebuttonClick();
        QCOMPARE(screen->WPRichText1->toPlainText(), QStringLiteral("Keep me"));
        QVERIFY(!screen->EntryChanged());
    }

    void emptyPagesNeverCreateFiles()
    {
        start();
        messages->answers << true;
        screen->DeletebuttonClick(); // on a day without an entry
        screen->NextButtonClick();
        QVERIFY(QDir(EntriesFolder()).entryList(QDir::Files).isEmpty());

        // A single space is an entry.
        type(" ");
        screen->SaveButtonClick();
        QVERIFY(QFileInfo::exists(EntryFileName(QDate(1999, 3, 6))));
    }

    void dateWrap_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QDate>("to");
        QTest::newRow("new year") << QDate(1999, 12, 31) << true << QDate(2000, 1, 1);
        QTest::newRow("back to leap day") << QDate(2024, 3, 1) << false << QDate(2024, 2, 29);
        QTest::newRow("no leap day") << QDate(2023, 3, 1) << false << QDate(2023, 2, 28);
        QTest::newRow("back over new year") << QDate(2000, 1, 1) << false << QDate(1999, 12, 31);
    }
    void dateWrap()
    {
        QFETCH(QDate, from);
        QFETCH(bool, forward);
        QFETCH(QDate, to);
        start(from);
        forward ? screen->NextButtonClick() : screen->PriorButtonClick();
        QCOMPARE(screen->CurrentDate, to);
    }

    void firstAndLast_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        const QDate today(1999, 3, 5);
        QTest::newRow("none") << QStringList() << today << today;
        QTest::newRow("both sides") << QStringList{"19980101.QYE", "20010203.QYE", "19990101.QYE"}
                                    << QDate(1998, 1, 1) << QDate(2001, 2, 3);
        QTest::newRow("only after today") << QStringList{"20000101.QYE"} << today << QDate(2000, 1, 1);
        QTest::newRow("only before today") << QStringList{"19970101.QYE"} << QDate(1997, 1, 1) << today;
        QTest::newRow("stray names") << QStringList{"notes.QYE", "19990230.QYE", "1.QYE", "x",
                                                    "20050101.txt", "19960101.QYE.bak"}
                                     << today << today;
        QTest::newRow("lower-case extension") << QStringList{"19950505.qye"} << QDate(1995, 5, 5) << today;
    }
    void firstAndLast()
    {
        QFETCH(QStringList, files);
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QDir().mkpath(folder->file("Entries"));
        for (const QString &name : files)
            QVERIFY(folder->write("Entries/" + name, rtfOf(name)));
        start();
        screen->FirstButtonClick();
        QCOMPARE(screen->CurrentDate, first);
        screen->LastButtonClick();
        QCOMPARE(screen->CurrentDate, last);
        screen->BitBtn1Click();
        QCOMPARE(screen->CurrentDate, QDate(1999, 3, 5));
    }

    void ctrlS_savesThroughTheHook()
    {
        start();
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
        type("Hooked");
        QTest::keyClick(screen->WPRichText1, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!screen->EntryChanged());
        QCOMPARE(entryText(QDate(1999, 3, 5)), QStringLiteral("Hooked"));
        QCOMPARE(screen->WPRichText1->toPlainText(), QStringLiteral("Hooked")); // no "s" typed

        QTest::keyClick(screen->WPRichText1, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(screen->WPRichText1->textCursor().selectedText(), QStringLiteral("Hooked"));
    }

    void ctrlPageDownMovesOnlyWithCtrlAlone()
    {
        start();
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
        screen->WPRichText1->setFocus();
        QTest::keyClick(screen->WPRichText1, Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(screen->CurrentDate, QDate(1999, 3, 5));
        QTest::keyClick(screen->WPRichText1, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(screen->CurrentDate, QDate(1999, 3, 6));
        QTest::keyClick(screen->WPRichText1, Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(screen->WPRichText1, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(screen->CurrentDate, QDate(1999, 3, 4));
    }

    void layoutFollowsTheRingPanel()
    {
        start();
        for (const QSize size : {QSize(622, 460), QSize(900, 700), QSize(400, 300)}) {
            screen->resize(size);
            QCoreApplication::processEvents();
            TRingPanel *panel = screen->RingPanel1;
            const int inset = panel->frameWidth();
            const int left = panel->LeftEdge + 15 + inset;
            const int width = panel->width() - (panel->LeftEdge + 15) - (panel->RightEdge + 5);
            QCOMPARE(screen->DateLabel->geometry().left(), left);
            QCOMPARE(screen->DateLabel->width(), width);
            QCOMPARE(screen->TopLine->geometry().top(), 28 + inset);
            QCOMPARE(screen->Bottomline->geometry().top(), panel->height() - 20 + inset);
            QCOMPARE(screen->WPRichText1->geometry().left(), left);
            QCOMPARE(screen->WPRichText1->width(), width);
            // The editor always ends 22 pixels above the panel's bottom.
            QCOMPARE(screen->WPRichText1->geometry().top() - inset + screen->WPRichText1->height(),
                     panel->height() - 22);
        }
    }

    void menuHasItsCaptionsAndShortcuts()
    {
        start();
        struct { const char *name, *caption, *keys; bool enabled; } items[] = {
            {"mnuSecurity", "Select or Change Password", "", true},
            {"PrintNow", "Print", "Ctrl+P", false},
            {"exit1", "E&xit", "", true},
            {"SaveChanges1", "Save Changes", "Ctrl+S", true},
            {"DeleteEntry1", "Delete Entry", "Alt+D", true},
            {"EnterDate1", "Insert Today's &Date ", "Ctrl+D", true},
            {"mnuFindentrycontaining", "Find Any Entry Containing...", "Ctrl+F4", true},
            {"mnuFindNextBig", "Find Next Entry Containing...", "Ctrl+F5", false},
            {"mnuBonusArtwork", "Visit the Bonus Artwork Web Page", "", false},
        };
        for (const auto &item : items) {
            QAction *action = screen->MenuItem(QString::fromLatin1(item.name));
            QVERIFY2(action, item.name);
            QCOMPARE(action->text(), QString::fromLatin1(item.caption));
            QCOMPARE(action->shortcut().toString(), QString::fromLatin1(item.keys));
            QCOMPARE(action->isEnabled(), item.enabled);
        }
        QVERIFY(screen->MenuItem("mnuWrapTexttofitScreen")->isChecked());
    }

    void passwordKeepsPlainTextOffTheDisk()
    {
        IniFile ini(folder->file("QY.INI"));
        QVERIFY(ini.WriteString("Security", "Password", EncryptString("SECRET")));
        writeEntry(QDate(1999, 3, 5), "Hidden thoughts", "SECRET");
        start();
        QCOMPARE(screen->UserPassword, QStringLiteral("SECRET"));
        QCOMPARE(screen->WPRichText1->toPlainText(), QStringLiteral("Hidden thoughts"));
        screen->WPRichText1->moveCursor(QTextCursor::End);
        type(" and more");
        screen->NextButtonClick();

        const QByteArray onDisk = folder->read("Entries/19990305.QYE");
        QVERIFY(!onDisk.contains("rtf"));
        QVERIFY(!onDisk.contains("thoughts"));
        const QByteArray plain = DecipherBytes(onDisk, "SECRET");
        QCOMPARE(textOf(plain), QStringLiteral("Hidden thoughts and more"));
        QCOMPARE(plain.size(), onDisk.size());
        QVERIFY(!QFileInfo::exists(folder->file("Eraseme.rtf")));
        // The stored password is kept byte for byte.
        screen->close();
        QCOMPARE(IniFile(folder->file("QY.INI")).ReadString("Security", "Password", QString()),
                 EncryptString("SECRET"));
    }

    void leftoverErasemeIsDeleted()
    {
        QVERIFY(folder->write("Eraseme.rtf", rtfOf("plain leftovers")));
        start();
        QVERIFY(!QFileInfo::exists(folder->file("Eraseme.rtf")));
    }

    void failedSaveKeepsTheEntryAndTheWindow()
    {
        start();
        type("Precious");
        // Entries becomes unwritable: here, a plain file stands in its place.
        QVERIFY(QDir(folder->file("Entries")).removeRecursively());
        QVERIFY(folder->write("Entries", "not a folder"));

        screen->NextButtonClick();
        QCOMPARE(screen->CurrentDate, QDate(1999, 3, 5)); // did not move
        QVERIFY(screen->EntryChanged());
        QCOMPARE(screen->WPRichText1->toPlainText(), QStringLiteral("Precious"));
        QVERIFY(messages->last().contains("19990305.QYE"));

        messages->messages.clear();
        QVERIFY(!screen->close());
        QVERIFY(screen->isVisible());
        QVERIFY(messages->last().contains("was not saved"));

        // Once the folder is back, closing saves and ends.
        QFile::remove(folder->file("Entries"));
        QDir().mkpath(folder->file("Entries"));
        QVERIFY(screen->close());
        QCOMPARE(entryText(QDate(1999, 3, 5)), QStringLiteral("Precious"));
    }

    void closingSavesAndStoresPlacement()
    {
        start();
        type("Closing words");
        QVERIFY(screen->close());
        QCOMPARE(entryText(QDate(1999, 3, 5)), QStringLiteral("Closing words"));
        IniFile ini(folder->file("QY.INI"));
        QVERIFY(ini.ReadInteger("TMainScreen_Placement", "Bottom", 0) > 0);
    }

    void unreadableEntryIsNotOverwritten()
    {
        // An entry the reader cannot take (nested deeper than any writer goes).
        writeEntry(QDate(1999, 3, 4), "placeholder");
        QVERIFY(folder->write("Entries/19990305.QYE", "{\\rtf1 " + QByteArray(5000, '{')));
        const QByteArray before = folder->read("Entries/19990305.QYE");
        start();
        QVERIFY(screen->WPRichText1->isReadOnly());
        QVERIFY(messages->last().contains("19990305.QYE"));
        type("overwrite?");
        screen->NextButtonClick();
        QVERIFY(!screen->WPRichText1->isReadOnly());
        QCOMPARE(folder->read("Entries/19990305.QYE"), before);
    }
};

QTEST_MAIN(TestMainScreen)
#include "tst_mainscreen.moc"
