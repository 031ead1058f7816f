#pragma once

#include <QByteArrayView>
#include <QString>

// The text of an RTF entry without building a document, for searching many
// entries: paragraphs and line breaks as '\n', tabs and table cells as '\t',
// characters decoded as the document reader decodes them; pictures, field
// instructions, tables of fonts, colours and styles and other destinations
// contribute nothing.  Input that is not RTF gives an empty string.
QString RtfPlainText(QByteArrayView rtf);
