#include "richtext/WPRichText.h"

#include "richtext/RtfPicture.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QSignalSpy>
#include <QTextImageFormat>
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
    void altLettersAreNotTyped();
    void loadPlainText_data();
    void loadPlainText();
    void loadRtf();
    void loadReportsOneChange();
    void loadFromMissingFile();
    void defaultFontOfAnEmptyPage();
    void currentFontSurvivesCaretMoveOnEmptyPage();
    void saveLoadRoundTrip();
    void fontTableAndColours();
    void currentAttributesAreTyped();
    void findFromTheStart_data();
    void findFromTheStart();
    void paragraphValuesOfTheSelection();
    void readOnlyIgnoresParagraphChanges();
    void wordScan();
    void replaceSelectionKeepsAttributes();
    void pictureSizedFromItsPixels();
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

void tst_WPRichText::altLettersAreNotTyped()
{
    TWPRichText editor;
    QTest::keyClick(&editor, Qt::Key_T, Qt::AltModifier);
    QTest::keyClick(&editor, Qt::Key_A);
    QCOMPARE(editor.toPlainText(), "a");
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

void tst_WPRichText::fontTableAndColours()
{
    TWPRichText editor;
    QVERIFY(editor.LoadFromBytes("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\f1 a\\f0 b}"));
    QCOMPARE(editor.FontTable(), QStringList({"Courier New", "Arial"}));
    QCOMPARE(editor.FontIndex("arial"), 1);
    const QString longName(40, 'x');
    QCOMPARE(editor.FontIndex(longName), 2);
    QCOMPARE(editor.FontName(2), QString(31, 'x'));
    QCOMPARE(editor.FontIndex(longName), 2);
    QCOMPARE(TWPRichText::ColorOf(12), QColor(0, 0, 255));
    QCOMPARE(TWPRichText::ColorIndexOf(QColor(255, 0, 0)), 9);
    QCOMPARE(TWPRichText::ColorIndexOf(QColor(1, 2, 3)), 0);
}

void tst_WPRichText::currentAttributesAreTyped()
{
    TWPRichText editor;
    TWPCharAttr attr = editor.CurrentCharAttr();
    QCOMPARE(editor.FontName(attr.Font), "Arial");
    QCOMPARE(attr.Size, 8);
    QCOMPARE(attr.Style, 0);
    attr.Font = editor.FontIndex("Times New Roman");
    attr.Size = 14;
    attr.Style = TWPCharAttr::Bold | TWPCharAttr::Underline;
    attr.Color = 4;
    editor.SetCurrentCharAttr(attr);
    QSignalSpy changed(&editor, &TWPRichText::Changed);
    editor.InsertText("typed");
    QCOMPARE(changed.count(), 1);
    const QTextCharFormat format = editor.document()->find("typed").charFormat();
    QCOMPARE(format.fontFamilies().toStringList().value(0), "Times New Roman");
    QCOMPARE(format.fontPointSize(), 14.0);
    QCOMPARE(format.fontWeight(), int(QFont::Bold));
    QVERIFY(format.fontUnderline() && !format.fontItalic());
    QCOMPARE(format.foreground().color(), QColor(0, 0, 128));
    const TWPCharAttr back = editor.CurrentCharAttr();
    QCOMPARE(back.Font, attr.Font);
    QCOMPARE(back.Style, attr.Style);
    QCOMPARE(back.Color, 4);
}

void tst_WPRichText::findFromTheStart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("start");
    QTest::newRow("other case") << "HARBOUR" << true << 8;
    QTest::newRow("before the caret") << "The" << true << 0;
    QTest::newRow("missing") << "ship" << false << -1;
}

void tst_WPRichText::findFromTheStart()
{
    QFETCH(QString, text);
    QFETCH(bool, found);
    QFETCH(int, start);
    TWPRichText editor;
    editor.LoadFromBytes("The old harbour, the harbour");
    editor.moveCursor(QTextCursor::End);
    QCOMPARE(editor.FindText(text), found);
    const QTextCursor cursor = editor.textCursor();
    if (found) {
        QCOMPARE(cursor.selectionStart(), start);
        QCOMPARE(cursor.position(), start + text.size()); // the caret at its end
    } else {
        QVERIFY(!cursor.hasSelection());
        QCOMPARE(cursor.position(), editor.document()->characterCount() - 1);
    }
}

void tst_WPRichText::paragraphValuesOfTheSelection()
{
    TWPRichText editor;
    editor.LoadFromBytes("{\\rtf1\\pard\\li720\\fi-360\\ri100\\sb60\\sa120\\sl-300 one\\par two\\par"
                         "\\pard three}");
    TWPParagraphValues v = editor.ParagraphValues();
    QCOMPARE(v.LeftIndent, 720);
    QCOMPARE(v.FirstIndent, -360);
    QCOMPARE(v.RightIndent, 100);
    QCOMPARE(v.SpaceBefore, 60);
    QCOMPARE(v.SpaceAfter, 120);
    QCOMPARE(v.LineHeight, -300);

    // the first two paragraphs selected
    editor.SetSelection(1, 5);
    QSignalSpy changed(&editor, &TWPRichText::Changed);
    editor.SetParagraphIndents(0, 1440, 0);
    editor.SetParagraphSpacing(0, 240, 360);
    QVERIFY(changed.count() >= 2);
    for (int block : {0, 1}) {
        editor.SetSelection(editor.document()->findBlockByNumber(block).position(), 0);
        v = editor.ParagraphValues();
        QCOMPARE(v.LeftIndent, 1440);
        QCOMPARE(v.FirstIndent, 0);
        QCOMPARE(v.SpaceAfter, 240);
        QCOMPARE(v.LineHeight, 360);
    }
    editor.SetSelection(editor.document()->lastBlock().position(), 0);
    QCOMPARE(editor.ParagraphValues().LeftIndent, 0);
    // and the file keeps them
    TWPRichText copy;
    copy.LoadFromBytes(editor.SaveToBytes());
    QCOMPARE(copy.ParagraphValues().LeftIndent, 1440);
    QCOMPARE(copy.ParagraphValues().LineHeight, 360);
}

void tst_WPRichText::readOnlyIgnoresParagraphChanges()
{
    TWPRichText editor;
    editor.LoadFromBytes("text");
    editor.setReadOnly(true);
    QSignalSpy changed(&editor, &TWPRichText::Changed);
    editor.SetParagraphIndents(0, 720, 0);
    editor.ReplaceSelection("x");
    QCOMPARE(editor.ParagraphValues().LeftIndent, 0);
    QCOMPARE(editor.toPlainText(), "text");
    QCOMPARE(changed.count(), 0);
}

void tst_WPRichText::wordScan()
{
    TWPRichText editor;
    editor.LoadFromBytes("One, \"two\" don't\t3rd.");
    editor.StartWordScan();
    QStringList words;
    for (QString w = editor.NextWord(); !w.isEmpty(); w = editor.NextWord())
        words << w;
    QCOMPARE(words, QStringList({"One", "two", "don't", "3rd"}));

    editor.StartWordScan();
    QCOMPARE(editor.NextWord(), "One");
    QCOMPARE(editor.NextWord(), "two");
    editor.SelectCurrentWord();
    QCOMPARE(editor.textCursor().selectedText(), "two");
    QCOMPARE(editor.NextWord(), "don't");
}

void tst_WPRichText::replaceSelectionKeepsAttributes()
{
    TWPRichText editor;
    editor.LoadFromBytes("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 a {\\b\\i wrod} z}");
    editor.StartWordScan();
    editor.NextWord();
    editor.NextWord();
    editor.SelectCurrentWord();
    editor.ReplaceSelection("word");
    QCOMPARE(editor.toPlainText(), "a word z");
    QCOMPARE(editor.textCursor().selectedText(), "word");
    const QTextCharFormat format = editor.document()->find("word").charFormat();
    QCOMPARE(format.fontWeight(), int(QFont::Bold));
    QVERIFY(format.fontItalic());
    editor.SetSelection(0, 1);
    editor.ReplaceSelection(QString(300, 'y'));
    QCOMPARE(editor.textCursor().selectedText().size(), 255);
    QCOMPARE(editor.NextWord(), "word"); // the scan goes on after the replacement
}

void tst_WPRichText::pictureSizedFromItsPixels()
{
    TWPRichText editor;
    QImage image(48, 24, QImage::Format_RGB32);
    image.fill(Qt::green);
    QSignalSpy changed(&editor, &TWPRichText::Changed);
    QVERIFY(editor.InsertPicture(image));
    QVERIFY(!editor.InsertPicture(QImage()));
    QCOMPARE(changed.count(), 1);
    TWPRichText copy;
    copy.LoadFromBytes(editor.SaveToBytes());
    const QTextCharFormat format = copy.document()->begin().begin().fragment().charFormat();
    RtfPicture::Data data;
    QVERIFY(format.isImageFormat() && RtfPicture::DataOf(format.toImageFormat(), &data));
    const int ppi = qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch());
    QCOMPARE(RtfPicture::SizeInTwips(data), QSize(48 * 1440 / ppi, 24 * 1440 / ppi));
    QCOMPARE(RtfPicture::Image(data).size(), QSize(48, 24));
}

QTEST_MAIN(tst_WPRichText)
#include "tst_wprichtext.moc"
