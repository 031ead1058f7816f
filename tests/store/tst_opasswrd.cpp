#include "store/Opasswrd.h"

#include "TestSupport.h"
#include "app/IniFile.h"
#include "store/PasswordCodec.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

class TestOpeningPassword : public QObject
{
    Q_OBJECT

private slots:
    void dialogLayout()
    {
        TGetOpeningPassword dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Quillary! - Password Required"));
        QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(dialog.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(dialog.pos(), QPoint((screen.width() - dialog.width()) / 2,
                                      (screen.height() - dialog.height()) / 2));
        QVERIFY(dialog.findChild<QLabel *>()->text() == "Please enter your password and press OK");
        QCOMPARE(dialog.Pass->echoMode(), QLineEdit::Password);
        QVERIFY(dialog.Pass->font().bold());
        QCOMPARE(dialog.Pass->selectedText(), QStringLiteral("Pass"));
        QVERIFY(dialog.OKButton->isDefault());
        QCOMPARE(dialog.CloseButton->text(), QStringLiteral("Close"));
    }

    void noStoredPasswordAsksNothing_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::newRow("no QY.INI") << QByteArray();
        QTest::newRow("empty value") << QByteArray("[Security]\r\nPassword=\r\n");
        QTest::newRow("no key") << QByteArray("[Default Font]\r\nName=Arial\r\n");
    }
    void noStoredPasswordAsksNothing()
    {
        QFETCH(QByteArray, ini);
        TempProgramFolder folder;
        if (!ini.isEmpty())
            QVERIFY(folder.write("QY.INI", ini));
        bool dialogShown = false;
        QTimer::singleShot(0, [&] {
            if (auto *modal = QApplication::activeModalWidget()) {
                dialogShown = true;
                modal->close();
            }
        });
        QVERIFY(ReadStoredPassword().isEmpty());
        QVERIFY(AskOpeningPassword());
        QTest::qWait(0);
        QVERIFY(!dialogShown);
    }

    void askOpeningPassword_data()
    {
        QTest::addColumn<QStringList>("wrongTries");
        QTest::addColumn<bool>("giveUp");
        QTest::newRow("right password") << QStringList() << false;
        QTest::newRow("wrong case, then right") << QStringList{"open me", "Open Me "} << false;
        QTest::newRow("wrong, then Close") << QStringList{"Pass"} << true;
        QTest::newRow("Close at once") << QStringList() << true;
    }
    void askOpeningPassword()
    {
        QFETCH(QStringList, wrongTries);
        QFETCH(bool, giveUp);
        TempProgramFolder folder;
        QVERIFY(IniFile(folder.file("QY.INI"))
                    .WriteString("Security", "Password", EncryptString(QStringLiteral("Open Me"))));
        QCOMPARE(ReadStoredPassword(), QStringLiteral("Open Me"));
        MessageRecorder messages;

        // What the dialog showed, collected while it runs and checked after.
        QString selectedAtStart;
        QStringList leftInBox;
        int stayedOpen = 0;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<TGetOpeningPassword *>(QApplication::activeModalWidget());
            if (!dialog) {
                for (QWidget *window : QApplication::topLevelWidgets())
                    window->close();
                return;
            }
            selectedAtStart = dialog->Pass->selectedText();
            bool first = true;
            for (const QString &attempt : wrongTries) {
                if (first)
                    QTest::keyClicks(dialog->Pass, attempt); // replaces the selected text
                else
                    dialog->Pass->setText(attempt);
                first = false;
                dialog->OKButton->click();
                stayedOpen += dialog->isVisible() ? 1 : 0;
                leftInBox << dialog->Pass->text();
            }
            if (giveUp) {
                dialog->CloseButton->click();
            } else {
                dialog->Pass->selectAll();
                QTest::keyClicks(dialog->Pass, QStringLiteral("Open Me"));
                QTest::keyClick(dialog->Pass, Qt::Key_Return); // the default button
            }
            if (dialog->isVisible())
                dialog->reject(); // never leave the test hanging
        });
        const bool result = AskOpeningPassword();

        QCOMPARE(result, !giveUp);
        QCOMPARE(selectedAtStart, QStringLiteral("Pass"));
        QCOMPARE(stayedOpen, wrongTries.size());
        QCOMPARE(leftInBox, wrongTries);
        QCOMPARE(messages.texts(), QStringList(wrongTries.size(), "Sorry, that is the wrong password"));
        for (const auto &message : messages.messages)
            QCOMPARE(message.first, MessageKind::Information);
    }
};

QTEST_MAIN(TestOpeningPassword)
#include "tst_opasswrd.moc"
