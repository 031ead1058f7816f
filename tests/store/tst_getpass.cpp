#include "store/Getpass.h"

#include "TestSupport.h"
#include "app/Clock.h"
#include "app/IniFile.h"
#include "app/MainScreen.h"
#include "app/Placement.h"
#include "app/Preferences.h"
#include "richtext/WPRichText.h"
#include "store/Crypt.h"
#include "store/EntryFiles.h"
#include "store/PasswordCodec.h"
#include "store/Warn.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {
const QMap<QString, QByteArray> kEntries = {
    {"19990305.QYE", "{\\rtf1\\ansi The fifth.\\par}"},
    {"19990306.QYE", "{\\rtf1\\ansi The sixth, a little longer than the fifth.\\par}"},
};
} // namespace

class TestGetPassword : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<MessageRecorder> messages;
    std::unique_ptr<TMainScreen> screen;

    void startWith(const QString &password, bool shown = true)
    {
        QDir().mkpath(EntriesFolder());
        for (auto it = kEntries.begin(); it != kEntries.end(); ++it)
            QVERIFY(WriteEntryFile(EntriesFolder() + it.key(), it.value(), password, nullptr));
        IniFile ini(IniFileName());
        QVERIFY(ini.WriteBool("Opening Screen", "show", false));
        QVERIFY(ini.WriteString("Security", "Password", password.isEmpty() ? QString() : EncryptString(password)));
        PinClock(QDateTime(QDate(1999, 3, 5), QTime(10, 0)));
        screen = std::make_unique<TMainScreen>();
        QVERIFY(screen->FormCreate());
        if (!shown)
            return;
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        screen->FormActivate();
    }
    QString stored() const
    {
        const QString value = IniFile(IniFileName()).ReadString("Security", "Password", QString());
        return value.isEmpty() ? value : Decryptstring(value);
    }
    // Every entry holds its text under the password, at its length.
    void verifyEntries(const QString &password)
    {
        for (auto it = kEntries.begin(); it != kEntries.end(); ++it) {
            const QByteArray bytes = folder->read("Entries/" + it.key());
            QCOMPARE(bytes, password.isEmpty() ? it.value() : EncipherBytes(it.value(), password));
        }
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        messages = std::make_unique<MessageRecorder>();
        SetScreenFacts(QSize(1280, 1024), 96);
    }
    void cleanup()
    {
        screen.reset();
        messages.reset();
        folder.reset();
        UnpinClock();
        SetScreenFacts(QSize(), 0);
    }

    void dialogLayout_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("no password") << QString();
        QTest::newRow("password") << QStringLiteral("abc");
    }
    void dialogLayout()
    {
        QFETCH(QString, password);
        startWith(password);
        TGetPassword dialog(screen.get(), screen.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Up Password"));
        QVERIFY(!(dialog.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(dialog.OldPassword->isVisible(), !password.isEmpty());
        QCOMPARE(dialog.NoneLabel->text(), QStringLiteral("(none)"));
        if (!password.isEmpty()) // the box lies over "(none)"
            QVERIFY(dialog.OldPassword->geometry().contains(dialog.NoneLabel->geometry().center()));
        QCOMPARE(dialog.OldPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(dialog.OldPassword->maxLength(), 8);
        QCOMPARE(dialog.NewPassword->echoMode(), QLineEdit::Normal);
        QCOMPARE(dialog.NewPassword->maxLength(), 8);
        QVERIFY(dialog.Panel1->isVisible());
        QVERIFY(!dialog.Gauge1->isVisible());
        QCOMPARE(dialog.ProcessingLabel->text(), QStringLiteral("Processing new password:"));
        QVERIFY(dialog.ProcessingLabel->visibleRegion().isEmpty()); // the panel covers it
        QVERIFY(dialog.OKButton->isDefault());
        QCOMPARE(dialog.ClearButton->text(), QStringLiteral("Clear (no password)"));
    }

    void buttons_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("typedOld");
        QTest::addColumn<QString>("typedNew");
        QTest::addColumn<bool>("clear");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QString>("after");

        const QStringList none;
        QTest::newRow("first password") << "" << "" << "SECRET" << false
                                        << QStringList{"Be sure to write down your new password: SECRET"} << true << "SECRET";
        QTest::newRow("change") << "abc" << "abc" << "New 12" << false
                                << QStringList{"Be sure to write down your new password: New 12"} << true << "New 12";
        QTest::newRow("only the case differs") << "abc" << "abc" << "ABC" << false
                                               << QStringList{"Be sure to write down your new password: ABC"} << true << "ABC";
        QTest::newRow("clear") << "abc" << "abc" << "" << true
                               << QStringList{"Password cleared. No password now required."} << true << "";
        QTest::newRow("OK with no new password clears") << "abc" << "abc" << "" << false
                               << QStringList{"Password cleared. No password now required."} << true << "";
        QTest::newRow("same again") << "abc" << "abc" << "abc" << false << none << true << "abc";
        QTest::newRow("clear without password") << "" << "" << "" << true << none << true << "";
        QTest::newRow("wrong old") << "abc" << "abd" << "XYZ" << false
                                   << QStringList{"Previous password is incorrect"} << false << "abc";
        QTest::newRow("old in another case") << "abc" << "ABC" << "XYZ" << false
                                   << QStringList{"Previous password is incorrect"} << false << "abc";
        QTest::newRow("no old") << "abc" << "" << "XYZ" << false
                                << QStringList{"Previous password is required"} << false << "abc";
        QTest::newRow("clear with wrong old") << "abc" << "x" << "" << true
                                << QStringList{"Previous password is incorrect"} << false << "abc";
        QTest::newRow("empty OK with no old") << "abc" << "" << "" << false
                                << QStringList{"Previous password is required"} << false << "abc";
    }
    void buttons()
    {
        QFETCH(QString, current);
        QFETCH(QString, typedOld);
        QFETCH(QString, typedNew);
        QFETCH(bool, clear);
        QFETCH(QStringList, shown);
        QFETCH(bool, closes);
        QFETCH(QString, after);
        startWith(current);
        TGetPassword dialog(screen.get(), screen.get());
        // Settings other than the password are written with it.
        screen->DefaultFontSize = 14;
        dialog.show();
        dialog.OldPassword->setText(typedOld);
        dialog.NewPassword->setText(typedNew);
        (clear ? dialog.ClearButton : dialog.OKButton)->click();

        QCOMPARE(messages->texts(), shown);
        QCOMPARE(dialog.result() == QDialog::Accepted, closes);
        QCOMPARE(dialog.isVisible(), !closes);
        QCOMPARE(screen->UserPassword, after);
        QCOMPARE(stored(), after);
        verifyEntries(after);
        if (closes)
            QCOMPARE(IniFile(IniFileName()).ReadInteger("Default Font", "Size", 0), 14);
        else
            QVERIFY(dialog.OKButton->isEnabled() && dialog.Panel1->isVisible());
        QVERIFY(!QFileInfo::exists(ErasemeFileName()));
    }

    // Leaving the new-password box checks its characters; Enter in the box
    // goes straight to OK.
    void characterCheck()
    {
        startWith(QString(), false); // the dialog alone takes the keyboard
        TGetPassword dialog(screen.get(), screen.get());
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.NewPassword->setFocus();
        QTest::keyClicks(dialog.NewPassword, "ab-c");
        QTest::keyClick(dialog.NewPassword, Qt::Key_Tab);
        QCOMPARE(messages->texts(), QStringList{"Valid password characters are A-Z, 0-9 and spaces"});
        QCOMPARE(dialog.NewPassword->text(), QString());
        QVERIFY(dialog.NewPassword->hasFocus());
        QCOMPARE(stored(), QString());

        messages->messages.clear();
        QCoreApplication::processEvents(); // the message box would have run the loop
        QTest::keyClicks(dialog.NewPassword, "ab-c");
        QTest::keyClick(dialog.NewPassword, Qt::Key_Return);
        QCOMPARE(messages->texts(), QStringList{"Be sure to write down your new password: ab-c"});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(stored(), QStringLiteral("ab-c"));
        verifyEntries("ab-c");
    }

    void failedRunKeepsTheOldPassword()
    {
        startWith("abc");
        QVERIFY(QDir().mkpath(folder->file("Entries/19990301.QYE"))); // cannot be read
        const QByteArray ini = folder->read("QY.INI");
        TGetPassword dialog(screen.get(), screen.get());
        dialog.show();
        dialog.OldPassword->setText("abc");
        dialog.NewPassword->setText("XYZ");
        dialog.OKButton->click();
        QCOMPARE(messages->messages.size(), 1);
        QCOMPARE(messages->messages.first().first, MessageKind::Error);
        QVERIFY2(messages->last().contains("19990301.QYE could not be read"), qPrintable(messages->last()));
        QVERIFY(messages->last().endsWith("Every entry and QY.INI keep the previous password."));
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.Panel1->isVisible() && dialog.CancelButton->isEnabled() && !dialog.Gauge1->isVisible());
        QCOMPARE(screen->UserPassword, QStringLiteral("abc"));
        QCOMPARE(folder->read("QY.INI"), ini);
        verifyEntries("abc");
    }

    void warningScreen()
    {
        TWarningScreen warning;
        QCOMPARE(warning.windowTitle(), QStringLiteral("Warning!"));
        QStringList texts;
        for (QLabel *label : warning.findChildren<QLabel *>())
            texts << label->text();
        QCOMPARE(texts.size(), 5);
        QVERIFY(texts.at(0).startsWith("There is a slight chance"));
        QCOMPARE(texts.at(2), QStringLiteral("-QY.INI (found in the main Quillary! directory)"));
        QCOMPARE(texts.at(3), QStringLiteral("-All files with the .QYE extension, in the \\Entries subdirectory "
                                             "(these are your Quillary entries)"));
        QVERIFY(warning.OkButton->isDefault());
        QCOMPARE(warning.OkButton->text(), QStringLiteral("Ok"));
    }

    // The menu command: the warning first, then the pending entry is saved,
    // then the password dialog.
    void menuCommand_data()
    {
        QTest::addColumn<bool>("goOn");
        QTest::newRow("warning cancelled") << false;
        QTest::newRow("warning accepted") << true;
    }
    void menuCommand()
    {
        QFETCH(bool, goOn);
        startWith(QString());
        screen->WPRichText1->setFocus();
        QTest::keyClicks(screen->WPRichText1, "Typed today");
        QVERIFY(screen->EntryChanged());

        QStringList seen;
        int waits = 0;
        std::function<void()> answer = [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *warning = qobject_cast<TWarningScreen *>(modal)) {
                seen << "warning";
                (goOn ? warning->OkButton : warning->CancelButton)->click();
                if (goOn)
                    QTimer::singleShot(0, answer);
            } else if (auto *dialog = qobject_cast<TGetPassword *>(modal)) {
                seen << (screen->EntryChanged() ? "dialog, entry unsaved" : "dialog, entry saved");
                dialog->NewPassword->setText("SECRET");
                dialog->OKButton->click();
            } else if (modal) {
                modal->close();
            } else if (++waits < 1000) {
                QTimer::singleShot(0, answer); // the next dialog is not up yet
            }
        };
        QTimer::singleShot(0, answer);
        screen->MenuItem("mnuSecurity")->trigger();

        if (!goOn) {
            QCOMPARE(seen, QStringList{"warning"});
            QVERIFY(screen->EntryChanged());
            QCOMPARE(stored(), QString());
            return;
        }
        QCOMPARE(seen, (QStringList{"warning", "dialog, entry saved"}));
        QCOMPARE(stored(), QStringLiteral("SECRET"));
        QByteArray plain;
        QVERIFY(ReadEntryFile(EntryFileName(QDate(1999, 3, 5)), "SECRET", &plain, nullptr));
        QVERIFY(plain.contains("Typed today"));
    }
};

QTEST_MAIN(TestGetPassword)
#include "tst_getpass.moc"
