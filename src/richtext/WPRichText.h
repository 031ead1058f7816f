#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QTextCharFormat>
#include <QTextEdit>

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

    // The editor's 16-entry colour table (black, maroon, green, olive, navy,
    // purple, teal, gray, silver, red, lime, yellow, blue, fuchsia, aqua,
    // white): a colour number is an index into it.
    static const QList<QColor> &ColorTable();

    // The attributes of an empty page until a default font is applied.
    static QTextCharFormat DefaultCharFormat();

signals:
    void Changed();

private:
    void OnContentsChange(int position, int charsRemoved, int charsAdded);
    void ApplyCharFormatToEmptyPage(const QTextCharFormat &format);

    QString error_;
    bool loading_ = false; // one Changed() for a whole load instead of one per insertion
};
