#pragma once

#include <QByteArrayView>
#include <QString>

// The text of an RTF entry without building a document, for searching many
// entries: paragraphs and line breaks as '\n', tabs and table cells as '\t',
// characters decoded as the document reader decodes them; pictures, field
// instructions, tables of fonts, colours and styles and other destinations
// contribute nothing.  Input that is not RTF gives an empty string.
QString RtfPlainText(QByteArrayView rtf);

// A file that is no RTF as the editor shows it: UTF-8 when it is valid UTF-8
// (a byte-order mark dropped), otherwise Windows-1252, which accepts every
// byte; line ends become '\n'.
QString DecodePlainText(QByteArrayView bytes);

// The text an entry shows in the editor, whether it holds RTF or plain text.
QString EntryPlainText(QByteArrayView bytes);
