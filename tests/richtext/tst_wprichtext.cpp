#include "richtext/WPRichText.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

class tst_WPRichText : public QObject
{
    Q_OBJECT
private slots:
    void isEmpty_data();
    void isEmpty();
    void changedOnTyping();
    void changedOnFormatOfExistingText();
    void noChangeOnCaretMoves();
    void raiseChange();
    void tabKeyInsertsTab();
    void loadPlainText_data();
    void loadPlainText();
    void loadRtf();
    void loadReportsOneChange();
    void loadFromMissingFile();
    void defaultFontOfAnEmptyPage();
    void currentFontSurvivesCaretMoveOnEmptyPage();
    void saveLoadRoundTrip();
};

void tst_WPRichText::isEmpty_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("empty");
    QTest::newRow("nothing") << "" << true;
    QTest::newRow("a space") << " " << false;
    QTest::newRow("an empty second paragraph") << "\n" << false;
    QTest::newRow("a tab") << "\t" << false;
    QTest::newRow("a word") << "word" << false;
}

void tst_WPRichText::isEmpty()
{
    QFETCH(QString, text);
    QFETCH(bool, empty);
    TWPRichText editor;
    QVERIFY(editor.IsEmpty());
    editor.textCursor().insertText(text);
    QCOMPARE(editor.IsEmpty(), empty);
    editor.Clear();
    QVERIFY(editor.IsEmpty());
}

void tst_WPRichText::changedOnTyping()
{
    TWPRichText editor;
    QSignalSpy changed(&editor, &TWPRichText::Changed);
    QTest::keyClicks(&editor, "Hi");
    QCOMPARE(editor.toPlainText(), "Hi");
    QCOMPARE(changed.count(), 2);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    QCOMPARE(changed.count(), 3);
    QTest::keyClick(&editor, Qt::Key_Return);
    QCOMPARE(changed.count(), 4);
}

void tst_WPRichText::changedOnFormatOfExistingText()
{
    TWPRichText editor;
    editor.LoadFromBytes("some text");
    QSignalSpy changed(&editor, &TWPRichText::Changed);
    editor.selectAll();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    editor.mergeCurrentCharFormat(bold);
    QVERIFY(changed.count() > 0);

    changed.clear();
    editor.setAlignment(Qt::AlignCenter);
    QVERIFY(changed.count() > 0);
}

void tst_WPRichText::noChangeOnCaretMoves()
{
    TWPRichText editor;
    editor.LoadFromBytes("first line\nsecond line");
    QSignalSpy changed(&editor, &TWPRichText::Changed);
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_End, Qt::Key_Down, Qt::Key_Left, Qt::Key_Home,
                              Qt::Key_Up, Qt::Key_PageDown})
        QTest::keyClick(&editor, key);
    QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
    editor.CaretToStart();
    QCOMPARE(editor.textCursor().position(), 0);
    QCOMPARE(changed.count(), 0);
}

void tst_WPRichText::raiseChange()
{
    TWPRichText editor;
    QSignalSpy changed(&editor, &TWPRichText::Changed);
    editor.RaiseChange();
    QCOMPARE(changed.count(), 1);
    QVERIFY(editor.IsEmpty());
}

void tst_WPRichText::tabKeyInsertsTab()
{
    TWPRichText editor;
    QTest::keyClick(&editor, Qt::Key_Tab);
    QCOMPARE(editor.toPlainText(), "\t");
}

void tst_WPRichText::loadPlainText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("paragraphs");
    QTest::newRow("UTF-8") << QByteArray("Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac\nzwei")
                           << QStringList({QString::fromUtf8("Grüße €"), "zwei"});
    QTest::newRow("UTF-8 with byte order mark") << QByteArray("\xEF\xBB\xBF\xc3\xa9")
                                                << QStringList({QString::fromUtf8("é")});
    QTest::newRow("Windows-1252") << QByteArray("Gr\xfc\xdf" "e \x80\r\nzwei\rdrei")
                                  << QStringList({QString::fromUtf8("Grüße €"), "zwei", "drei"});
}

void tst_WPRichText::loadPlainText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, paragraphs);
    TWPRichText editor;
    QVERIFY(editor.LoadFromBytes(bytes));
    QStringList actual;
    for (QTextBlock b = editor.document()->begin(); b.isValid(); b = b.next())
        actual << b.text();
    QCOMPARE(actual, paragraphs);
    const QTextCharFormat format = editor.document()->begin().begin().fragment().charFormat();
    QCOMPARE(format.fontFamilies().toStringList(), QStringList{"Arial"});
    QCOMPARE(format.fontPointSize(), 8.0);
}

void tst_WPRichText::loadRtf()
{
    TWPRichText editor;
    QVERIFY(editor.LoadFromBytes("\xEF\xBB\xBF \r\n{\\rtf1 {\\b Bold} text}"));
    QCOMPARE(editor.toPlainText(), "Bold text");
    QCOMPARE(editor.document()->find("Bold").charFormat().fontWeight(), int(QFont::Bold));

    QVERIFY(!editor.LoadFromBytes(QByteArray("{\\rtf1 kept") + QByteArray(5000, '{')));
    QVERIFY(!editor.ErrorString().isEmpty());
    QCOMPARE(editor.toPlainText(), "kept");
}

void tst_WPRichText::loadReportsOneChange()
{
    TWPRichText editor;
    QSignalSpy changed(&editor, &TWPRichText::Changed);
    QVERIFY(editor.LoadFromBytes("{\\rtf1 one\\par two\\par three}"));
    QCOMPARE(changed.count(), 1);
    QVERIFY(!editor.document()->isUndoAvailable());
    QCOMPARE(editor.textCursor().position(), 0);
    editor.Clear();
    QCOMPARE(changed.count(), 2);
}

void tst_WPRichText::loadFromMissingFile()
{
    QTemporaryDir dir;
    TWPRichText editor;
    const QString name = dir.filePath("absent.rtf");
    QVERIFY(!editor.LoadFromFile(name));
    QVERIFY(editor.ErrorString().contains(name));
}

void tst_WPRichText::defaultFontOfAnEmptyPage()
{
    TWPRichText editor;
    const QByteArray empty = editor.SaveToBytes();
    QVERIFY(empty.contains("Arial;"));
    QVERIFY(empty.endsWith("\\pard\\plain\\f0\\fs16\\cf1}"));

    QTest::keyClicks(&editor, "x");
    const QTextCharFormat typed = editor.document()->find("x").charFormat();
    QCOMPARE(typed.fontFamilies().toStringList(), QStringList{"Arial"});
    QCOMPARE(typed.fontPointSize(), 8.0);
    QCOMPARE(typed.foreground().color(), QColor(Qt::black));
}

void tst_WPRichText::currentFontSurvivesCaretMoveOnEmptyPage()
{
    TWPRichText editor;
    editor.SetCurrentFont("Times New Roman", 14, true, false, true, QColor(128, 0, 0));
    editor.CaretToStart();
    QTest::keyClick(&editor, Qt::Key_End);
    QTest::keyClicks(&editor, "y");
    const QTextCharFormat typed = editor.document()->find("y").charFormat();
    QCOMPARE(typed.fontFamilies().toStringList(), QStringList{"Times New Roman"});
    QCOMPARE(typed.fontPointSize(), 14.0);
    QCOMPARE(typed.fontWeight(), int(QFont::Bold));
    QVERIFY(!typed.fontItalic());
    QVERIFY(typed.fontUnderline());
    QCOMPARE(typed.foreground().color(), TWPRichText::ColorTable().at(1));
}

void tst_WPRichText::saveLoadRoundTrip()
{
    TWPRichText editor;
    editor.SetCurrentFont("Verdana", 11, false, true, false, Qt::black);
    QTest::keyClicks(&editor, "Dear diary");
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClick(&editor, Qt::Key_Return);
    const QByteArray saved = editor.SaveToBytes();

    TWPRichText other;
    QVERIFY(other.LoadFromBytes(saved));
    QCOMPARE(other.document()->blockCount(), 3);
    QCOMPARE(other.toPlainText(), "Dear diary\n\n");
    QVERIFY(!other.IsEmpty());
    QCOMPARE(other.SaveToBytes(), saved);

    TWPRichText blank;
    QVERIFY(blank.LoadFromBytes(TWPRichText().SaveToBytes()));
    QVERIFY(blank.IsEmpty());
}

QTEST_MAIN(tst_WPRichText)
#include "tst_wprichtext.moc"
