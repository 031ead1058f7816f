#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QTextDocument;

// Reads RTF bytes into a QTextDocument.  Malformed input gives a document of
// what could be read, or false with an error text; never a crash or a hang.
class RtfReader
{
public:
    // Replaces the document's content.  Every run gets explicit character
    // properties (family, size, weight, italic, underline, strike-out; a
    // colour unless it is automatic) and every paragraph its properties, so
    // the result does not depend on the document's default font.  Text after
    // the outer group and missing closing braces are accepted; input that is
    // not RTF or nests groups more than 1000 deep gives false, the latter
    // with the text read up to that point.
    bool Read(const QByteArray &rtf, QTextDocument *document);
    QString ErrorString() const { return error_; }

    // True when the bytes start (after blanks) with "{\rtf".
    static bool LooksLikeRtf(QByteArrayView bytes);

private:
    QString error_;
};
