#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QTextCharFormat>
#include <QTextEdit>

#include <functional>

class QImage;
class TWPFindDialog;

// The character attributes in the editor's terms: a font number in the
// document's font table, a size in points, style bits and a colour number
// in the 16-entry colour table.
struct TWPCharAttr
{
    enum StyleBit { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
    int Font = 0;
    int Size = 0;
    int Style = 0;
    int Color = 0;
};

// The six paragraph values, in twips.
struct TWPParagraphValues
{
    int FirstIndent = 0; // relative to the left indent
    int LeftIndent = 0;
    int RightIndent = 0;
    int SpaceBefore = 0;
    int SpaceAfter = 0;
    int LineHeight = 0; // 0: single; > 0 at least; < 0 exactly
};

// The diary's rich-text editor.  Documents come and go as RTF bytes (or plain
// text, which is recognised on loading); the editor's change event,
// Changed(), fires for every change of the document's content and whenever a
// command raises it explicitly with RaiseChange().
class TWPRichText : public QTextEdit
{
    Q_OBJECT
public:
    explicit TWPRichText(QWidget *parent = nullptr);

    // Empties the document (the change event fires, as for any edit).
    void Clear();

    // Replaces the document with the bytes: RTF when they look like RTF,
    // otherwise plain text (UTF-8 when valid, else Windows-1252).  False with
    // ErrorString() when the RTF cannot be read at all.
    bool LoadFromBytes(const QByteArray &bytes);
    // The same from a file; false with ErrorString() when it cannot be read.
    bool LoadFromFile(const QString &fileName);

    // The document as RTF.
    QByteArray SaveToBytes() const;

    // A document of a single paragraph without any character.
    bool IsEmpty() const;

    // The current character attributes, used for the next typed character.
    void SetCurrentFont(const QString &family, int pointSize, bool bold, bool italic,
                        bool underline, const QColor &color);

    void CaretToStart();

    // Raises the change event without changing the document.
    void RaiseChange();

    QString ErrorString() const { return error_; }

    // --- character attributes and the font and colour tables
    TWPCharAttr CurrentCharAttr() const;
    // Makes the attributes those of the next typed character (and of the
    // selection, when there is one).
    void SetCurrentCharAttr(const TWPCharAttr &attr);
    // The number of a font name in the document's font table, added when
    // missing; names are cut to 31 characters.
    int FontIndex(const QString &name);
    QString FontName(int index) const;
    QStringList FontTable() const { return fontTable_; }
    // The colour of a colour number (black for numbers outside the table),
    // and the number of a colour: the last matching entry, 0 when none.
    static QColor ColorOf(int index);
    static int ColorIndexOf(const QColor &color);

    // --- text
    // Inserts text at the caret as if typed, with the current attributes.
    void InsertText(const QString &text);
    // Starts a new paragraph at the caret; with the page-break flag the
    // text after the caret starts on a new page when printed.
    void InsertParagraph(bool pageBreak);
    // Inserts a picture at the caret.  Sizes of 0 take its pixels at the
    // screen's resolution.  False for an empty image.
    bool InsertPicture(const QImage &image, int widthTwips = 0, int heightTwips = 0);
    bool HasSelection() const;
    void DeleteSelection();
    // Finds the text forward from the start without regard to case: the
    // first occurrence is selected with the caret at its end.  False (and
    // the document as it was) when it is not there.
    bool FindText(const QString &text);
    // The find and the replace dialog: non-modal, one of each, reused.
    void ShowFindDialog();
    void ShowReplaceDialog();
    TWPFindDialog *FindDialog() const { return findDialog_; }
    TWPFindDialog *ReplaceDialog() const { return replaceDialog_; }

    // --- paragraphs
    TWPParagraphValues ParagraphValues() const;
    // Each acts on the selected paragraphs, or the one at the caret; nothing
    // when the editor is read-only; otherwise raises the change event.
    void SetParagraphSpacing(int spaceBefore, int spaceAfter, int lineHeight);
    void SetParagraphIndents(int firstIndent, int leftIndent, int rightIndent);
    QList<QTextOption::Tab> TabStops() const;
    void SetTabStops(const QList<QTextOption::Tab> &tabs);

    // --- the word scan of the spell checker
    void StartWordScan();
    // The next word after the scan position (or after the caret once a word
    // was selected), empty at the end of the text.
    QString NextWord();
    void SelectCurrentWord();
    // Replaces the selection with at most 255 characters that keep the
    // attributes there, and selects them.  Nothing when read-only.
    void ReplaceSelection(const QString &text);
    void SetSelection(int start, int length);

    void SetWordWrap(bool on);
    bool WordWrap() const;

    // The editor's 16-entry colour table (black, maroon, green, olive, navy,
    // purple, teal, gray, silver, red, lime, yellow, blue, fuchsia, aqua,
    // white): a colour number is an index into it.
    static const QList<QColor> &ColorTable();

    // The attributes of an empty page until a default font is applied.
    static QTextCharFormat DefaultCharFormat();

signals:
    void Changed();
    // Before the editor pastes, whatever asked for the paste.
    void BeforePaste();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void RebuildFontTable();
    void ForSelectedBlocks(const std::function<void(QTextBlockFormat &)> &change);

    void OnContentsChange(int position, int charsRemoved, int charsAdded);
    void ApplyCharFormatToEmptyPage(const QTextCharFormat &format);

    QString error_;
    QStringList fontTable_;
    TWPFindDialog *findDialog_ = nullptr;
    TWPFindDialog *replaceDialog_ = nullptr;
    int scanPosition_ = 0;      // where the next word is looked for
    int wordStart_ = -1, wordEnd_ = -1; // the word NextWord gave
    bool loading_ = false; // one Changed() for a whole load instead of one per insertion
};
