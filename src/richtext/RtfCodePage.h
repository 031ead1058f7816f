#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <memory>

// Code pages of RTF text.  Windows-1252, the code page of nearly every
// document, is built in; others go through Qt's converters (ICU names),
// falling back to Windows-1252 when Qt does not know one.
namespace RtfCodePage {

constexpr int Ansi = 1252;
// Not a real code page: the bytes of a symbol-charset font, which map to
// U+F000 + byte so the font's own glyphs are kept.
constexpr int Symbol = -2;

// The code page of an \fcharset value; 0 when the charset means "the
// document's code page".
int OfCharset(int charset);

// The Windows-1252 character of a byte.
QChar Char1252(unsigned char byte);
// The Windows-1252 byte of a character, or -1 when it has none.
int Byte1252(QChar c);

// Turns bytes of one code page into text.  Multi-byte code pages keep a
// lead byte across calls, so \'hh pairs may arrive one at a time.
class Decoder
{
public:
    explicit Decoder(int codePage = Ansi);
    int CodePage() const { return codePage_; }
    QString Decode(QByteArrayView bytes);

private:
    int codePage_;
    std::unique_ptr<QStringDecoder> qt_;
};

} // namespace RtfCodePage
