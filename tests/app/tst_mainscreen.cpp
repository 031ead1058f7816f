#include "MainScreenFixture.h"

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


class TestMainScreen : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainScreenFixture> f;

    bool start(const QDate &today = QDate(1999, 3, 5)) { return f->start(today); }
    static QByteArray rtfOf(const QString &text) { return MainScreenFixture::rtfOf(text); }
    static QString textOf(const QByteArray &rtf) { return MainScreenFixture::textOf(rtf); }

private slots:
    void init() { f = std::make_unique<MainScreenFixture>(); }
    void cleanup() { f.reset(); }

    void startsOnTodayWithAnEmptyPage()
    {
        QVERIFY(start());
        QCOMPARE(f->screen->DateLabel->text(), QStringLiteral("Friday, March 5, 1999"));
        QCOMPARE(f->screen->CurrentDate, QDate(1999, 3, 5));
        QVERIFY(f->screen->WPRichText1->IsEmpty());
        QVERIFY(!f->screen->EntryChanged());
        QVERIFY(QFileInfo(f->folder.file("Entries")).isDir());
        // The empty page takes the default font.
        QCOMPARE(f->screen->WPRichText1->currentCharFormat().font().family(), QStringLiteral("Arial"));
        QCOMPARE(f->screen->WPRichText1->currentCharFormat().font().pointSize(), 10);
        QVERIFY(f->messages.messages.isEmpty());
    }

    void startedMinimisedComesUpMinimised()
    {
        QVERIFY(f->writeEntry(QDate(1999, 3, 5), "Loaded anyway"));
        PinClock(QDateTime(QDate(1999, 3, 5), QTime(10, 0)));
        f->screen = std::make_unique<TMainScreen>();
        f->screen->StartMinimized = true;
        QVERIFY(f->screen->FormCreate());
        f->screen->showMinimized();
        QTRY_VERIFY(!f->screen->FirstActivation);
        QVERIFY(f->screen->isMinimized());
        QCOMPARE(f->screen->WPRichText1->toPlainText(), QStringLiteral("Loaded anyway"));
    }

    void firstStartWritesEveryKey()
    {
        QFile::remove(f->folder.file("QY.INI"));
        bool shown = false;
        WhenModal<TShowOpeningMessage>([&](TShowOpeningMessage *dialog) {
            shown = true;
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Quillary!"));
            QVERIFY(!dialog->DontShow->isChecked());
            dialog->DontShow->setChecked(true);
            dialog->OKButton->click();
        });
        QVERIFY(start());
        QVERIFY(shown);
        const QByteArray ini = f->folder.read("QY.INI");
        const QByteArray expected = "[Security]\r\nPassword=\r\n"
                                    "[Default Font]\r\nName=Arial\r\nSize=10\r\nBold=0\r\nItalic=0\r\n"
                                    "Underline=0\r\nColor=0\r\n"
                                    "[Opening Screen]\r\nshow=0\r\n"
                                    "[Icons]\r\nVisible=0\r\nFile=";
        QVERIFY2(ini.startsWith(expected), ini.constData());
        QVERIFY(ini.contains("ICONS\\MISC1.ICL\r\nTop=206\r\nLeft=578\r\n"));

        // Ticked: no message at the next start.
        f->screen->close();
        f->screen.reset();
        QVERIFY(start());
    }

    void typingShowsSaveAndCancel_CancelRestores()
    {
        QVERIFY(f->writeEntry(QDate(1999, 3, 5), "Stored words"));
        QVERIFY(start());
        QCOMPARE(f->screen->WPRichText1->toPlainText(), QStringLiteral("Stored words"));
        QVERIFY(!f->screen->EntryChanged());
        f->type("x");
        QVERIFY(f->screen->SaveButton->isVisible());
        QVERIFY(f->screen->CancelButton->isVisible());
        f->screen->CancelButton->click();
        QVERIFY(!f->screen->EntryChanged());
        QCOMPARE(f->screen->WPRichText1->toPlainText(), QStringLiteral("Stored words"));
        QCOMPARE(f->entryText(QDate(1999, 3, 5)), QStringLiteral("Stored words"));
    }

    void nextSavesWithoutAsking()
    {
        QVERIFY(start());
        f->type("Went to the sea");
        f->screen->Nextbutton->click();
        QCOMPARE(f->screen->CurrentDate, QDate(1999, 3, 6));
        QCOMPARE(f->screen->DateLabel->text(), QStringLiteral("Saturday, March 6, 1999"));
        QVERIFY(!f->screen->EntryChanged());
        QVERIFY(f->messages.messages.isEmpty());
        QCOMPARE(f->entryText(QDate(1999, 3, 5)), QStringLiteral("Went to the sea"));
        // The file is RTF that our reader and others open.
        QVERIFY(f->folder.read("Entries/19990305.QYE").startsWith("{\\rtf1"));
        QVERIFY(!QFileInfo::exists(f->folder.file("Entries/19990306.QYE")));
        f->screen->PriorButton->click();
        QCOMPARE(f->screen->WPRichText1->toPlainText(), QStringLiteral("Went to the sea"));
    }

    void deleteThenSaveRemovesTheFile()
    {
        QVERIFY(f->writeEntry(QDate(1999, 3, 5), "To be deleted"));
        QVERIFY(start());
        f->messages.answers << true;
        f->screen->DeletebuttonClick();
        QCOMPARE(f->messages.last(), QStringLiteral("Delete this entry?"));
        QVERIFY(f->screen->WPRichText1->IsEmpty());
        QVERIFY(f->screen->EntryChanged());
        QVERIFY(QFileInfo::exists(EntryFileName(QDate(1999, 3, 5)))); // not yet
        f->screen->NextButtonClick();
        QVERIFY(!QFileInfo::exists(EntryFileName(QDate(1999, 3, 5))));
        f->screen->PriorButtonClick();
        QVERIFY(!f->screen->EntryExists);
    }

    void deleteThenCancelKeepsTheFile()
    {
        QVERIFY(f->writeEntry(QDate(1999, 3, 5), "Keep me"));
        QVERIFY(start());
        const QByteArray before = f->folder.read("Entries/19990305.QYE");
        f->messages.answers << true;
        f->screen->DeletebuttonClick();
        f->screen->CancelButtonClick();
        QCOMPARE(f->screen->WPRichText1->toPlainText(), QStringLiteral("Keep me"));
        QCOMPARE(f->folder.read("Entries/19990305.QYE"), before);

        f->messages.answers << false; // No: nothing happens
        f->screen->DeletebuttonClick();
        QCOMPARE(f->screen->WPRichText1->toPlainText(), QStringLiteral("Keep me"));
        QVERIFY(!f->screen->EntryChanged());
    }

    void emptyPagesNeverCreateFiles()
    {
        QVERIFY(start());
        f->messages.answers << true;
        f->screen->DeletebuttonClick(); // on a day without an entry
        f->screen->NextButtonClick();
        QVERIFY(QDir(EntriesFolder()).entryList(QDir::Files).isEmpty());

        // A single space is an entry.
        f->type(" ");
        f->screen->SaveButtonClick();
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
        QVERIFY(start(from));
        forward ? f->screen->NextButtonClick() : f->screen->PriorButtonClick();
        QCOMPARE(f->screen->CurrentDate, to);
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
        QDir().mkpath(f->folder.file("Entries"));
        for (const QString &name : files)
            QVERIFY(f->folder.write("Entries/" + name, rtfOf(name)));
        QVERIFY(start());
        f->screen->FirstButtonClick();
        QCOMPARE(f->screen->CurrentDate, first);
        f->screen->LastButtonClick();
        QCOMPARE(f->screen->CurrentDate, last);
        f->screen->BitBtn1Click();
        QCOMPARE(f->screen->CurrentDate, QDate(1999, 3, 5));
    }

    void ctrlS_savesThroughTheHook()
    {
        QVERIFY(start());
        f->screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->screen.get()));
        f->type("Hooked");
        QTest::keyClick(f->screen->WPRichText1, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!f->screen->EntryChanged());
        QCOMPARE(f->entryText(QDate(1999, 3, 5)), QStringLiteral("Hooked"));
        QCOMPARE(f->screen->WPRichText1->toPlainText(), QStringLiteral("Hooked")); // no "s" typed

        QTest::keyClick(f->screen->WPRichText1, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(f->screen->WPRichText1->textCursor().selectedText(), QStringLiteral("Hooked"));
    }

    void ctrlPageDownMovesOnlyWithCtrlAlone()
    {
        QVERIFY(start());
        f->screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->screen.get()));
        f->screen->WPRichText1->setFocus();
        QTest::keyClick(f->screen->WPRichText1, Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f->screen->CurrentDate, QDate(1999, 3, 5));
        QTest::keyClick(f->screen->WPRichText1, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(f->screen->CurrentDate, QDate(1999, 3, 6));
        QTest::keyClick(f->screen->WPRichText1, Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(f->screen->WPRichText1, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(f->screen->CurrentDate, QDate(1999, 3, 4));
    }

    void layoutFollowsTheRingPanel()
    {
        QVERIFY(start());
        for (const QSize size : {QSize(622, 460), QSize(900, 700), QSize(400, 300)}) {
            f->screen->resize(size);
            QCoreApplication::processEvents();
            TRingPanel *panel = f->screen->RingPanel1;
            const int inset = panel->frameWidth();
            const int left = panel->LeftEdge + 15 + inset;
            const int width = panel->width() - (panel->LeftEdge + 15) - (panel->RightEdge + 5);
            QCOMPARE(f->screen->DateLabel->geometry().left(), left);
            QCOMPARE(f->screen->DateLabel->width(), width);
            QCOMPARE(f->screen->TopLine->geometry().top(), 28 + inset);
            QCOMPARE(f->screen->Bottomline->geometry().top(), panel->height() - 20 + inset);
            QCOMPARE(f->screen->WPRichText1->geometry().left(), left);
            QCOMPARE(f->screen->WPRichText1->width(), width);
            // The editor always ends 22 pixels above the panel's bottom.
            QCOMPARE(f->screen->WPRichText1->geometry().top() - inset + f->screen->WPRichText1->height(),
                     panel->height() - 22);
        }
    }

    void menuHasItsCaptionsAndShortcuts()
    {
        QVERIFY(start());
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
            QAction *action = f->screen->MenuItem(QString::fromLatin1(item.name));
            QVERIFY2(action, item.name);
            QCOMPARE(action->text(), QString::fromLatin1(item.caption));
            QCOMPARE(action->shortcut().toString(), QString::fromLatin1(item.keys));
            QCOMPARE(action->isEnabled(), item.enabled);
        }
        QVERIFY(f->screen->MenuItem("mnuWrapTexttofitScreen")->isChecked());
    }

    void passwordKeepsPlainTextOffTheDisk()
    {
        f->storePassword("SECRET");
        QVERIFY(f->writeEntry(QDate(1999, 3, 5), "Hidden thoughts", "SECRET"));
        QVERIFY(start());
        QCOMPARE(f->screen->UserPassword, QStringLiteral("SECRET"));
        QCOMPARE(f->screen->WPRichText1->toPlainText(), QStringLiteral("Hidden thoughts"));
        f->screen->WPRichText1->moveCursor(QTextCursor::End);
        f->type(" and more");
        f->screen->NextButtonClick();

        const QByteArray onDisk = f->folder.read("Entries/19990305.QYE");
        QVERIFY(!onDisk.contains("rtf"));
        QVERIFY(!onDisk.contains("thoughts"));
        const QByteArray plain = DecipherBytes(onDisk, "SECRET");
        QCOMPARE(textOf(plain), QStringLiteral("Hidden thoughts and more"));
        QCOMPARE(plain.size(), onDisk.size());
        QVERIFY(!QFileInfo::exists(f->folder.file("Eraseme.rtf")));
        // The stored password is kept byte for byte.
        f->screen->close();
        QCOMPARE(IniFile(f->folder.file("QY.INI")).ReadString("Security", "Password", QString()),
                 EncryptString("SECRET"));
    }

    void leftoverErasemeIsDeleted()
    {
        QVERIFY(f->folder.write("Eraseme.rtf", rtfOf("plain leftovers")));
        QVERIFY(start());
        QVERIFY(!QFileInfo::exists(f->folder.file("Eraseme.rtf")));
    }

    void failedSaveKeepsTheEntryAndTheWindow()
    {
        QVERIFY(start());
        f->type("Precious");
        // Entries becomes unwritable: here, a plain file stands in its place.
        QVERIFY(QDir(f->folder.file("Entries")).removeRecursively());
        QVERIFY(f->folder.write("Entries", "not a folder"));

        f->screen->NextButtonClick();
        QCOMPARE(f->screen->CurrentDate, QDate(1999, 3, 5)); // did not move
        QVERIFY(f->screen->EntryChanged());
        QCOMPARE(f->screen->WPRichText1->toPlainText(), QStringLiteral("Precious"));
        QVERIFY(f->messages.last().contains("19990305.QYE"));

        f->messages.messages.clear();
        QVERIFY(!f->screen->close());
        QVERIFY(f->screen->isVisible());
        QVERIFY(f->messages.last().contains("was not saved"));

        // Once the folder is back, closing saves and ends.
        QFile::remove(f->folder.file("Entries"));
        QDir().mkpath(f->folder.file("Entries"));
        QVERIFY(f->screen->close());
        QCOMPARE(f->entryText(QDate(1999, 3, 5)), QStringLiteral("Precious"));
    }

    void closingSavesAndStoresPlacement()
    {
        QVERIFY(start());
        f->type("Closing words");
        QVERIFY(f->screen->close());
        QCOMPARE(f->entryText(QDate(1999, 3, 5)), QStringLiteral("Closing words"));
        IniFile ini(f->folder.file("QY.INI"));
        QVERIFY(ini.ReadInteger("TMainScreen_Placement", "Bottom", 0) > 0);
    }

    void unreadableEntryIsNotOverwritten()
    {
        // An entry the reader cannot take (nested deeper than any writer goes).
        QVERIFY(f->writeEntry(QDate(1999, 3, 4), "placeholder"));
        QVERIFY(f->folder.write("Entries/19990305.QYE", "{\\rtf1 " + QByteArray(5000, '{')));
        const QByteArray before = f->folder.read("Entries/19990305.QYE");
        QVERIFY(start());
        QVERIFY(f->screen->WPRichText1->isReadOnly());
        QVERIFY(f->messages.last().contains("19990305.QYE"));
        f->type("overwrite?");
        f->messages.answers << true;
        f->screen->DeletebuttonClick();
        QVERIFY(!f->screen->EntryChanged());
        f->screen->NextButtonClick();
        QVERIFY(!f->screen->WPRichText1->isReadOnly());
        QCOMPARE(f->folder.read("Entries/19990305.QYE"), before);
    }
};

QTEST_MAIN(TestMainScreen)
#include "tst_mainscreen.moc"
