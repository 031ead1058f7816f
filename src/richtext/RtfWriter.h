#pragma once

#include <QByteArray>

class QTextDocument;

// Writes a QTextDocument as RTF: \ansi\ansicpg1252, a font table, a colour
// table, paragraph and character properties, \uN for characters outside
// the code page.  The same document always gives the same bytes.
class RtfWriter
{
public:
    QByteArray Write(const QTextDocument *document);
};
