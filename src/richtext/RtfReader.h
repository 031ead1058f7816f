#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Reads RTF bytes into a QTextDocument.  Malformed input gives a document of
// what could be read, or false with an error text; never a crash or a hang.
class RtfReader
{
public:
    bool Read(const QByteArray &rtf, QTextDocument *document);
    QString ErrorString() const { return error_; }

    // True when the bytes start (after blanks) with "{\rtf".
    static bool LooksLikeRtf(const QByteArray &bytes);

private:
    QString error_;
};
