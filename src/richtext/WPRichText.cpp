#include "richtext/WPRichText.h"

#include "richtext/RtfPlainText.h"

#include "richtext/RtfCodePage.h"
#include "richtext/RtfFormat.h"
#include "richtext/RtfPicture.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "richtext/WPFindDialog.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>

#include <memory>
#include <QScreen>
#include <QTextDocumentFragment>
#include <QTextFragment>
#include <QPalette>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QFont DefaultFont()
{
    return QFont(QStringLiteral("Arial"), 8);
}

// The MIME types under which RTF travels on the clipboard.
const QString RtfMime = QStringLiteral("text/rtf");
const QString RtfMimeAlt = QStringLiteral("application/rtf");
constexpr int MaxFontName = 31;
constexpr int MaxReplacement = 255;

QString FamilyOf(const QTextCharFormat &format)
{
    QString family = format.fontFamilies().toStringList().value(0);
    if (family.isEmpty() && format.hasProperty(QTextFormat::FontFamily))
        family = format.stringProperty(QTextFormat::FontFamily);
    return family;
}

bool IsWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('\'') || c == QChar(0x2019);
}

} // namespace

TWPRichText::TWPRichText(QWidget *parent) : QTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(false);
    setAcceptRichText(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    QPalette page = palette();
    page.setColor(QPalette::Base, Qt::white);
    page.setColor(QPalette::Text, Qt::black);
    setPalette(page);

    // The widget's font becomes the document's default font; both are set
    // so neither a later font change of the widget nor the document differ.
    setFont(DefaultFont());
    document()->setDefaultFont(DefaultFont());
    ApplyCharFormatToEmptyPage(DefaultCharFormat());

    connect(document(), &QTextDocument::contentsChange, this, &TWPRichText::OnContentsChange);
}

const QList<QColor> &TWPRichText::ColorTable()
{
    static const QList<QColor> table = {
        QColor(0, 0, 0),       QColor(128, 0, 0),   QColor(0, 128, 0),   QColor(128, 128, 0),
        QColor(0, 0, 128),     QColor(128, 0, 128), QColor(0, 128, 128), QColor(128, 128, 128),
        QColor(192, 192, 192), QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(255, 255, 0),
        QColor(0, 0, 255),     QColor(255, 0, 255), QColor(0, 255, 255), QColor(255, 255, 255),
    };
    return table;
}

QTextCharFormat TWPRichText::DefaultCharFormat()
{
    QTextCharFormat format;
    format.setFont(DefaultFont());
    format.setForeground(QColor(Qt::black));
    return format;
}

void TWPRichText::OnContentsChange(int, int charsRemoved, int charsAdded)
{
    // Typing, deleting and format changes of existing text all report
    // characters here; caret movement reports nothing.
    if (!loading_ && (charsRemoved > 0 || charsAdded > 0))
        emit Changed();
}

void TWPRichText::ApplyCharFormatToEmptyPage(const QTextCharFormat &format)
{
    // The paragraph mark of an empty paragraph holds the attributes that
    // typing there uses, also after the caret has moved.
    QTextCursor cursor = textCursor();
    if (cursor.block().length() <= 1)
        cursor.setBlockCharFormat(format);
    setCurrentCharFormat(format);
}

void TWPRichText::Clear()
{
    loading_ = true;
    document()->clear();
    ApplyCharFormatToEmptyPage(DefaultCharFormat());
    RebuildFontTable();
    loading_ = false;
    emit Changed();
}

bool TWPRichText::LoadFromBytes(const QByteArray &bytes)
{
    error_.clear();
    QTextDocument *doc = document();
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false); // a load is not a step the user can undo
    loading_ = true;
    bool ok = true;
    if (RtfReader::LooksLikeRtf(bytes)) {
        RtfReader reader;
        ok = reader.Read(bytes, doc);
        if (!ok)
            error_ = reader.ErrorString();
    } else {
        doc->clear();
        ApplyCharFormatToEmptyPage(DefaultCharFormat());
        QTextCursor cursor(doc);
        cursor.insertText(DecodePlainText(bytes), DefaultCharFormat());
    }
    RebuildFontTable();
    loading_ = false;
    doc->setUndoRedoEnabled(undo);
    moveCursor(QTextCursor::Start);
    emit Changed();
    return ok;
}

bool TWPRichText::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("Cannot read %1: %2").arg(fileName, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error_ = QStringLiteral("Cannot read %1: %2").arg(fileName, file.errorString());
        return false;
    }
    return LoadFromBytes(bytes);
}

QByteArray TWPRichText::SaveToBytes() const
{
    return RtfWriter().Write(document());
}

bool TWPRichText::IsEmpty() const
{
    const QTextDocument *doc = document();
    return doc->blockCount() == 1 && doc->firstBlock().length() <= 1;
}

void TWPRichText::SetCurrentFont(const QString &family, int pointSize, bool bold, bool italic,
                                 bool underline, const QColor &color)
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList{family});
    format.setFontPointSize(pointSize);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(italic);
    format.setFontUnderline(underline);
    if (color.isValid())
        format.setForeground(color);
    ApplyCharFormatToEmptyPage(format);
}

void TWPRichText::CaretToStart()
{
    moveCursor(QTextCursor::Start);
}

void TWPRichText::RaiseChange()
{
    emit Changed();
}

// --- character attributes and tables

void TWPRichText::RebuildFontTable()
{
    // The fonts in the order of first use, as the file's font table has them.
    fontTable_.clear();
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString family = FamilyOf(it.fragment().charFormat()).left(MaxFontName);
            if (!family.isEmpty() && !fontTable_.contains(family, Qt::CaseInsensitive))
                fontTable_.append(family);
        }
        const QString mark = FamilyOf(block.charFormat()).left(MaxFontName);
        if (!mark.isEmpty() && !fontTable_.contains(mark, Qt::CaseInsensitive))
            fontTable_.append(mark);
    }
}

int TWPRichText::FontIndex(const QString &name)
{
    const QString family = name.left(MaxFontName);
    for (int i = 0; i < fontTable_.size(); ++i) {
        if (fontTable_[i].compare(family, Qt::CaseInsensitive) == 0)
            return i;
    }
    fontTable_.append(family);
    return int(fontTable_.size() - 1);
}

QString TWPRichText::FontName(int index) const
{
    return fontTable_.value(index);
}

QColor TWPRichText::ColorOf(int index)
{
    return ColorTable().value(index, ColorTable().first());
}

int TWPRichText::ColorIndexOf(const QColor &color)
{
    int index = 0;
    for (int i = 0; i < ColorTable().size(); ++i) {
        if (ColorTable()[i].rgb() == color.rgb())
            index = i;
    }
    return index;
}

TWPCharAttr TWPRichText::CurrentCharAttr() const
{
    const QTextCharFormat format = currentCharFormat();
    TWPCharAttr attr;
    QString family = FamilyOf(format);
    if (family.isEmpty())
        family = document()->defaultFont().family();
    attr.Font = const_cast<TWPRichText *>(this)->FontIndex(family);
    attr.Size = format.hasProperty(QTextFormat::FontPointSize) ? qRound(format.fontPointSize())
                                                               : document()->defaultFont().pointSize();
    if (format.fontWeight() >= QFont::DemiBold)
        attr.Style |= TWPCharAttr::Bold;
    if (format.fontItalic())
        attr.Style |= TWPCharAttr::Italic;
    if (format.fontUnderline())
        attr.Style |= TWPCharAttr::Underline;
    if (format.fontStrikeOut())
        attr.Style |= TWPCharAttr::StrikeOut;
    attr.Color = format.foreground().style() == Qt::NoBrush
        ? 0 : ColorIndexOf(format.foreground().color());
    return attr;
}

void TWPRichText::SetCurrentCharAttr(const TWPCharAttr &attr)
{
    QTextCharFormat format;
    const QString family = FontName(attr.Font);
    if (!family.isEmpty())
        format.setFontFamilies(QStringList{family});
    if (attr.Size > 0)
        format.setFontPointSize(attr.Size);
    format.setFontWeight(attr.Style & TWPCharAttr::Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(attr.Style & TWPCharAttr::Italic);
    format.setFontUnderline(attr.Style & TWPCharAttr::Underline);
    format.setFontStrikeOut(attr.Style & TWPCharAttr::StrikeOut);
    format.setForeground(ColorOf(attr.Color));
    if (textCursor().hasSelection()) {
        mergeCurrentCharFormat(format);
        return;
    }
    QTextCharFormat merged = currentCharFormat();
    merged.merge(format);
    ApplyCharFormatToEmptyPage(merged);
}

// --- text

void TWPRichText::InsertText(const QString &text)
{
    if (isReadOnly() || text.isEmpty())
        return;
    textCursor().insertText(text, currentCharFormat());
    ensureCursorVisible();
}

void TWPRichText::InsertParagraph(bool pageBreak)
{
    if (isReadOnly())
        return;
    QTextCursor cursor = textCursor();
    const QTextCharFormat chars = currentCharFormat();
    QTextBlockFormat block = cursor.blockFormat();
    if (pageBreak)
        block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.insertBlock(block, chars);
    setTextCursor(cursor);
}

bool TWPRichText::InsertPicture(const QImage &image, int widthTwips, int heightTwips)
{
    if (isReadOnly() || image.isNull())
        return false;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int ppi = screen ? qRound(screen->logicalDotsPerInch()) : RtfFormat::ScreenPixelsPerInch;
    const RtfPicture::Data data = RtfPicture::FromImage(image, widthTwips, heightTwips, ppi);
    QTextImageFormat format = RtfPicture::Format(data, document());
    QTextCursor cursor = textCursor();
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
    setTextCursor(cursor);
    return true;
}

bool TWPRichText::HasSelection() const
{
    return textCursor().hasSelection();
}

void TWPRichText::DeleteSelection()
{
    if (isReadOnly() || !HasSelection())
        return;
    textCursor().removeSelectedText();
}

bool TWPRichText::FindText(const QString &text)
{
    if (text.isEmpty())
        return false;
    const QTextCursor found = document()->find(text, 0);
    if (found.isNull())
        return false;
    setTextCursor(found); // the caret at the end of the selection
    return true;
}

void TWPRichText::ShowFindDialog()
{
    if (!findDialog_)
        findDialog_ = new TWPFindDialog(this, false);
    findDialog_->show();
    findDialog_->raise();
    findDialog_->activateWindow();
}

void TWPRichText::ShowReplaceDialog()
{
    if (!replaceDialog_)
        replaceDialog_ = new TWPFindDialog(this, true);
    replaceDialog_->show();
    replaceDialog_->raise();
    replaceDialog_->activateWindow();
}

// --- paragraphs

TWPParagraphValues TWPRichText::ParagraphValues() const
{
    using RtfFormat::Measure;
    const QTextBlockFormat format = textCursor().blockFormat();
    TWPParagraphValues v;
    v.FirstIndent = RtfFormat::Twips(format, Measure::FirstIndent);
    v.LeftIndent = RtfFormat::Twips(format, Measure::LeftIndent);
    v.RightIndent = RtfFormat::Twips(format, Measure::RightIndent);
    v.SpaceBefore = RtfFormat::Twips(format, Measure::SpaceBefore);
    v.SpaceAfter = RtfFormat::Twips(format, Measure::SpaceAfter);
    bool multiple = false;
    v.LineHeight = RtfFormat::LineSpacing(format, &multiple);
    return v;
}

void TWPRichText::ForSelectedBlocks(const std::function<void(QTextBlockFormat &)> &change)
{
    if (isReadOnly())
        return;
    const QTextCursor cursor = textCursor();
    QTextBlock block = document()->findBlock(cursor.selectionStart());
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (;; block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        change(format);
        edit.setPosition(block.position());
        edit.setBlockFormat(format);
        if (block == last || !block.isValid())
            break;
    }
    edit.endEditBlock();
    viewport()->update();
    emit Changed();
}

void TWPRichText::SetParagraphSpacing(int spaceBefore, int spaceAfter, int lineHeight)
{
    ForSelectedBlocks([&](QTextBlockFormat &format) {
        using RtfFormat::Measure;
        RtfFormat::SetTwips(format, Measure::SpaceBefore, qMax(0, spaceBefore));
        RtfFormat::SetTwips(format, Measure::SpaceAfter, qMax(0, spaceAfter));
        RtfFormat::SetLineSpacing(format, lineHeight, false);
    });
}

void TWPRichText::SetParagraphIndents(int firstIndent, int leftIndent, int rightIndent)
{
    ForSelectedBlocks([&](QTextBlockFormat &format) {
        using RtfFormat::Measure;
        RtfFormat::SetTwips(format, Measure::FirstIndent, firstIndent);
        RtfFormat::SetTwips(format, Measure::LeftIndent, leftIndent);
        RtfFormat::SetTwips(format, Measure::RightIndent, rightIndent);
    });
}

QList<QTextOption::Tab> TWPRichText::TabStops() const
{
    return textCursor().blockFormat().tabPositions();
}

void TWPRichText::SetTabStops(const QList<QTextOption::Tab> &tabs)
{
    ForSelectedBlocks([&](QTextBlockFormat &format) { format.setTabPositions(tabs); });
}

// --- word scan

void TWPRichText::StartWordScan()
{
    scanPosition_ = 0;
    wordStart_ = wordEnd_ = -1;
}

QString TWPRichText::NextWord()
{
    // After the dialog selected a word, the scan goes on from the caret.
    if (wordStart_ >= 0 && textCursor().hasSelection())
        scanPosition_ = qMax(scanPosition_, textCursor().selectionEnd());
    const QTextDocument *doc = document();
    const int end = doc->characterCount() - 1;
    int pos = scanPosition_;
    while (pos < end && !IsWordCharacter(doc->characterAt(pos)))
        ++pos;
    if (pos >= end) {
        scanPosition_ = end;
        wordStart_ = wordEnd_ = -1;
        return QString();
    }
    const int start = pos;
    while (pos < end && IsWordCharacter(doc->characterAt(pos)))
        ++pos;
    // quotes around a word are not part of it
    int wordEnd = pos;
    while (wordEnd > start && !doc->characterAt(wordEnd - 1).isLetterOrNumber())
        --wordEnd;
    int wordStart = start;
    while (wordStart < wordEnd && !doc->characterAt(wordStart).isLetterOrNumber())
        ++wordStart;
    wordStart_ = wordStart;
    wordEnd_ = wordEnd;
    scanPosition_ = pos;
    QTextCursor word(document());
    word.setPosition(wordStart_);
    word.setPosition(wordEnd_, QTextCursor::KeepAnchor);
    return word.selectedText();
}

void TWPRichText::SelectCurrentWord()
{
    if (wordStart_ < 0)
        return;
    SetSelection(wordStart_, wordEnd_ - wordStart_);
}

void TWPRichText::ReplaceSelection(const QString &text)
{
    if (isReadOnly())
        return;
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    // The attributes of the first selected character stay.
    QTextCursor first(document());
    first.setPosition(start);
    if (cursor.hasSelection())
        first.movePosition(QTextCursor::NextCharacter);
    const QTextCharFormat format = first.charFormat();
    const QString replacement = text.left(MaxReplacement);
    cursor.insertText(replacement, format);
    SetSelection(start, int(replacement.size()));
    if (wordStart_ >= 0)
        scanPosition_ = start + int(replacement.size());
}

void TWPRichText::SetSelection(int start, int length)
{
    const int end = document()->characterCount() - 1;
    QTextCursor cursor(document());
    cursor.setPosition(qBound(0, start, end));
    cursor.setPosition(qBound(0, start + length, end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
    viewport()->update();
}

void TWPRichText::SetWordWrap(bool on)
{
    setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    viewport()->update();
}

bool TWPRichText::WordWrap() const
{
    return lineWrapMode() != QTextEdit::NoWrap;
}

// --- clipboard

QMimeData *TWPRichText::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return QTextEdit::createMimeDataFromSelection();
    // Qt's own formats, copied out: its mime data reports a fixed list of
    // formats and would hide ours.
    std::unique_ptr<QMimeData> own(QTextEdit::createMimeDataFromSelection());
    auto *data = new QMimeData;
    for (const QString &format : own->formats())
        data->setData(format, own->data(format));
    // The selection as RTF, written by our writer, beside Qt's own formats.
    QTextDocument selection;
    selection.setDefaultFont(document()->defaultFont());
    QTextCursor(&selection).insertFragment(cursor.selection());
    const QByteArray rtf = RtfWriter().Write(&selection);
    data->setData(RtfMime, rtf);
    data->setData(RtfMimeAlt, rtf);
    return data;
}

bool TWPRichText::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasFormat(RtfMime) || source->hasFormat(RtfMimeAlt)
        || QTextEdit::canInsertFromMimeData(source);
}

void TWPRichText::keyPressEvent(QKeyEvent *event)
{
    // Alt with a letter is a command key (a button's or a menu's); one that
    // no command takes must not type its letter into the entry.
    if ((event->modifiers() & Qt::AltModifier) && !(event->modifiers() & Qt::ControlModifier)
        && !event->text().isEmpty() && event->text().at(0).isPrint()) {
        event->ignore();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void TWPRichText::insertFromMimeData(const QMimeData *source)
{
    emit BeforePaste();
    if (isReadOnly())
        return;
    const QByteArray rtf = source->hasFormat(RtfMime) ? source->data(RtfMime)
                                                      : source->data(RtfMimeAlt);
    QTextDocument pasted;
    if (!rtf.isEmpty() && RtfReader().Read(rtf, &pasted)) {
        textCursor().insertFragment(QTextDocumentFragment(&pasted));
        RtfPicture::AddResources(document());
        ensureCursorVisible();
        return;
    }
    if (source->hasImage()) {
        InsertPicture(qvariant_cast<QImage>(source->imageData()));
        return;
    }
    if (source->hasText()) {
        textCursor().insertText(source->text(), currentCharFormat());
        ensureCursorVisible();
    }
}
