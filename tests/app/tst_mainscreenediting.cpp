#include "MainScreenFixture.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "app/IniFile.h"
#include "app/MainScreen.h"
#include "app/Placement.h"
#include "richtext/WPRichText.h"
#include "richtext/WPFindDialog.h"
#include "richtext/WPRuler.h"
#include "richtext/WPToolBar.h"
#include "store/EntryFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontComboBox>
#include <QMimeData>
#include <QFontDialog>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <memory>

class TestMainScreenEditing : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainScreenFixture> f;

    void start() { QVERIFY(f->start(QDate(1999, 3, 5), QTime(14, 7))); }
    void type(const QString &text)
    {
        f->screen->WPRichText1->setFocus();
        QTest::keyClicks(f->screen->WPRichText1, text);
    }
    // Saves what is typed, so the page starts unchanged.
    void typeAndSave(const QString &text)
    {
        type(text);
        QVERIFY(f->screen->SaveButtonClick());
        QVERIFY(!f->screen->EntryChanged());
    }

private slots:
    void init()
    {
        f = std::make_unique<MainScreenFixture>();
        DateFormatSettings formats = DateFormats();
        formats.ShortDateFormat = QStringLiteral("M/d/yy");
        SetDateFormats(formats);
    }
    void cleanup() { f.reset(); }

    void ctrlDInsertsTodayAndMarksChanged()
    {
        start();
        QVERIFY(!f->screen->EntryChanged());
        QTest::keyClick(f->screen->WPRichText1, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(f->screen->WPRichText1->toPlainText(), "3/5/1999 ");
        QVERIFY(f->screen->EntryChanged());
        f->screen->InsertTodaystime1Click();
        QVERIFY(f->screen->WPRichText1->toPlainText().startsWith("3/5/1999 2:07"));
        QVERIFY(f->screen->WPRichText1->toPlainText().endsWith(' '));
    }

    void selectionCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("select");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("text");
        QTest::newRow("copy without selection") << "copy" << false << false << "entry";
        QTest::newRow("copy with selection") << "copy" << true << true << "entry";
        QTest::newRow("cut without selection") << "cut" << false << false << "entry";
        QTest::newRow("cut with selection") << "cut" << true << true << "";
        QTest::newRow("delete without selection") << "delete" << false << false << "entry";
        QTest::newRow("delete with selection") << "delete" << true << true << "";
        QTest::newRow("select all") << "all" << false << false << "entry";
    }
    void selectionCommands()
    {
        QFETCH(QString, command);
        QFETCH(bool, select);
        QFETCH(bool, changed);
        QFETCH(QString, text);
        start();
        typeAndSave("entry");
        if (select)
            f->screen->WPRichText1->selectAll();
        else
            f->screen->WPRichText1->moveCursor(QTextCursor::End);
        if (command == "copy")
            f->screen->Copy1Click();
        else if (command == "cut")
            f->screen->Cut1Click();
        else if (command == "delete")
            f->screen->DeleteSelection1Click();
        else
            f->screen->SelectAll1Click();
        QCOMPARE(f->screen->EntryChanged(), changed);
        QCOMPARE(f->screen->WPRichText1->toPlainText(), text);
        if (command == "all")
            QCOMPARE(f->screen->WPRichText1->textCursor().selectedText(), "entry");
    }

    void pasteMarksChangedAndTakesRtf()
    {
        start();
        typeAndSave("abc");
        f->screen->WPRichText1->selectAll();
        f->screen->WPRichText1->mergeCurrentCharFormat([] {
            QTextCharFormat f;
            f.setFontWeight(QFont::Bold);
            return f;
        }());
        f->screen->Copy1Click();
        QVERIFY2(QApplication::clipboard()->mimeData()->hasFormat("text/rtf"), qPrintable(QApplication::clipboard()->mimeData()->formats().join(",")));
        QVERIFY(f->screen->SaveButtonClick());
        f->screen->WPRichText1->moveCursor(QTextCursor::End);
        f->screen->Paste1Click();
        QVERIFY(f->screen->EntryChanged());
        QCOMPARE(f->screen->WPRichText1->toPlainText(), "abcabc");
        QTextCursor last(f->screen->WPRichText1->document());
        last.movePosition(QTextCursor::End);
        QCOMPARE(last.charFormat().fontWeight(), int(QFont::Bold));
    }

    void keysThatMarkChanged_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("changed");
        QTest::newRow("Delete at the end") << int(Qt::Key_Delete) << 0 << true;
        QTest::newRow("Shift+Delete") << int(Qt::Key_Delete) << int(Qt::ShiftModifier) << true;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << true;
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << true;
        QTest::newRow("Ctrl+Shift+V") << int(Qt::Key_V) << int(Qt::ControlModifier | Qt::ShiftModifier)
                                      << false;
        QTest::newRow("Left") << int(Qt::Key_Left) << 0 << false;
    }
    void keysThatMarkChanged()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, changed);
        start();
        typeAndSave("x");
        QApplication::clipboard()->clear();
        f->screen->WPRichText1->moveCursor(QTextCursor::End);
        QTest::keyClick(f->screen->WPRichText1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(f->screen->EntryChanged(), changed);
    }

    void wordWrapHintFollowsTheState_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("menu") << false;
        QTest::newRow("button") << true;
    }
    void wordWrapHintFollowsTheState()
    {
        QFETCH(bool, byButton);
        start();
        QAction *menu = f->screen->MenuItem("mnuWrapTexttofitScreen");
        QCOMPARE(f->screen->DocWordWrapButton->toolTip(), "Toggle word wrap off");
        QVERIFY(f->screen->WPRichText1->WordWrap());
        for (bool on : {false, true}) {
            if (byButton)
                f->screen->DocWordWrapButton->click();
            else
                menu->trigger();
            QCOMPARE(menu->isChecked(), on);
            QCOMPARE(f->screen->WPRichText1->WordWrap(), on);
            QCOMPARE(f->screen->DocWordWrapButton->toolTip(),
                     on ? "Toggle word wrap off" : "Toggle word wrap on");
        }
    }

    void pageBreakStartsANewPage()
    {
        start();
        typeAndSave("onetwo");
        QTextCursor cursor = f->screen->WPRichText1->textCursor();
        cursor.setPosition(3);
        f->screen->WPRichText1->setTextCursor(cursor);
        f->screen->DocPageBreakButton->click();
        QVERIFY(f->screen->EntryChanged());
        QTextDocument *doc = f->screen->WPRichText1->document();
        QCOMPARE(doc->blockCount(), 2);
        QCOMPARE(doc->lastBlock().text(), "two");
        QVERIFY(doc->lastBlock().blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
        QVERIFY(!(doc->firstBlock().blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore));
    }

    void defaultFontAppliesToTheNextEmptyPageOnly()
    {
        start();
        type("before");
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QFont font("Times New Roman", 14);
            font.setBold(true);
            dialog->setCurrentFont(font);
            dialog->accept();
        });
        f->screen->mnuDefaultFontClick();
        QCOMPARE(f->screen->DefaultFontSize, 14);
        QCOMPARE(IniFile(f->folder.file("QY.INI")).ReadString("Default Font", "Size", ""), "14");
        // Test machines have few fonts and no bold faces in the dialog: the
        // chosen font as a full machine would give it.
        f->screen->DefaultFontName = "Times New Roman";
        f->screen->DefaultFontBold = true;

        // the shown page keeps its look
        QTextCursor typed(f->screen->WPRichText1->document());
        typed.setPosition(3);
        QCOMPARE(typed.charFormat().fontPointSize(), 10.0);
        f->screen->NextButtonClick();
        type("after");
        QTextCursor next(f->screen->WPRichText1->document());
        next.setPosition(3);
        QCOMPARE(next.charFormat().fontFamilies().toStringList().value(0), f->screen->DefaultFontName);
        QCOMPARE(next.charFormat().fontPointSize(), 14.0);
        QCOMPARE(next.charFormat().fontWeight(), int(QFont::Bold));
        f->screen->PriorButtonClick();
        typed = QTextCursor(f->screen->WPRichText1->document());
        typed.setPosition(3);
        QCOMPARE(typed.charFormat().fontPointSize(), 10.0); // the written entry is unchanged
    }

    void defaultColourOutsideTheTableGivesBlack()
    {
        start();
        f->screen->DefaultFontColor = 0x0000FF; // red, red in the low byte
        f->screen->NextButtonClick();
        QCOMPARE(f->screen->WPRichText1->CurrentCharAttr().Color, 9);
        f->screen->DefaultFontColor = 0x123456;
        f->screen->NextButtonClick();
        QCOMPARE(f->screen->WPRichText1->CurrentCharAttr().Color, 0);
    }

    void replaceMarksChangedAtOnce()
    {
        start();
        typeAndSave("text");
        f->screen->Replace1Click();
        QVERIFY(f->screen->EntryChanged());
        QVERIFY(f->screen->WPRichText1->ReplaceDialog()->isVisible());
        f->screen->Replace1Click(); // the same dialog again
        QCOMPARE(f->screen->findChildren<QDialog *>().count(f->screen->WPRichText1->ReplaceDialog()), 1);
        f->screen->mnuFindClick();
        QVERIFY(f->screen->WPRichText1->FindDialog()->isVisible());
    }

    void rulerClickMarksChanged()
    {
        start();
        typeAndSave("x");
        QTest::mouseClick(f->screen->WPRuler1, Qt::LeftButton, Qt::KeyboardModifiers(), QPoint(150, 11));
        QVERIFY(f->screen->EntryChanged());
        QCOMPARE(f->screen->WPRichText1->TabStops().size(), 1);
    }

    void toolBarHoldsItsControlsInOrder()
    {
        start();
        TWPToolBar *bar = f->screen->WPToolBar2;
        QCOMPARE(bar->height(), 52);
        QCOMPARE(bar->FontNameList->toolTip(), "Font");
        QCOMPARE(bar->FontSizeList->toolTip(), "Font Size");
        for (const char *hint : {"Normal", "Bold", "Italic", "Underline", "StrikeOut", "Left Justified",
                                 "Right Justified", "Justified", "Centered", "Copy", "Cut", "Paste",
                                 "Select All", "Find", "Find and Replace", "Spell Check"})
            QVERIFY2(bar->Icon(hint), hint);
        QVERIFY(!bar->Icon("Spell Check")->isEnabled());
        QVERIFY(!f->screen->MenuItem("SpellCheck1")->isEnabled());
        const QList<QWidget *> order = {f->screen->Deletebutton, f->screen->DocPageBreakButton,
                                        f->screen->ParagraphSetupButton, f->screen->DocWordWrapButton,
                                        f->screen->Printbutton, f->screen->PasteGraphicButton,
                                        f->screen->SigilboxButton, f->screen->ShowHideIconTool};
        for (int i = 1; i < order.size(); ++i)
            QVERIFY(order[i - 1]->geometry().right() + 3 <= order[i]->geometry().left());
        QCOMPARE(f->screen->ShowHideIconTool->size(), QSize(96, 20));
        QCOMPARE(f->screen->Deletebutton->toolTip(), "Delete current entry");
    }

    void unreadableEntryIsNeverMarkedChanged()
    {
        // An entry that cannot be shown stays read-only; no command may mark
        // it changed, or Save would overwrite it with an empty page.
        QDir().mkpath(EntriesFolder());
        QString error;
        QVERIFY(WriteEntryFile(EntriesFolder() + "19990305.QYE", "{\\rtf1 x" + QByteArray(2000, '{'),
                               QString(), &error));
        start();
        QVERIFY(f->screen->WPRichText1->isReadOnly());
        f->screen->WPRichText1->selectAll();
        f->screen->Copy1Click();
        f->screen->Replace1Click();
        f->screen->DocPageBreakButtonClick();
        QTest::keyClick(f->screen->WPRichText1, Qt::Key_Delete);
        QVERIFY(!f->screen->EntryChanged());
    }
};

QTEST_MAIN(TestMainScreenEditing)
#include "tst_mainscreenediting.moc"
