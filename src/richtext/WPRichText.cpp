#include "richtext/WPRichText.h"

#include "richtext/RtfCodePage.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QFile>
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

// Plain text as it is on disk: UTF-8 when it is valid UTF-8, otherwise
// Windows-1252, which accepts every byte.
QString DecodePlainText(const QByteArray &bytes)
{
    QByteArrayView data(bytes);
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (utf8.hasError())
        text = RtfCodePage::Decoder(RtfCodePage::Ansi).Decode(data);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
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
