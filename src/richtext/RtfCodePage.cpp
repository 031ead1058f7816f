#include "richtext/RtfCodePage.h"

namespace RtfCodePage {

namespace {

// 0x80..0x9F of Windows-1252; the five bytes it leaves undefined map to the
// C1 controls of the same value, as ICU and the web do.
constexpr char16_t High1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const char *QtName(int codePage)
{
    switch (codePage) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 874: return "windows-874";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 10000: return "macintosh";
    case 65001: return "UTF-8";
    default: return nullptr;
    }
}

} // namespace

int OfCharset(int charset)
{
    switch (charset) {
    case 2: return Symbol;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    default: return 0;
    }
}

QChar Char1252(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(High1252[byte - 0x80]);
    return QChar(byte);
}

int Byte1252(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i) {
        if (High1252[i] == u)
            return 0x80 + i;
    }
    return -1;
}

Decoder::Decoder(int codePage) : codePage_(codePage)
{
    if (codePage_ == Ansi || codePage_ == Symbol)
        return;
    const char *name = QtName(codePage_);
    if (name)
        qt_ = std::make_unique<QStringDecoder>(name);
    if (!qt_ || !qt_->isValid()) {
        qt_.reset();
        codePage_ = Ansi;
    }
}

QString Decoder::Decode(QByteArrayView bytes)
{
    if (qt_) {
        // Converters may give characters that are structure, not text
        // (IBM437 turns 0x7F into U+001A, UTF-8 can hold anything): they go.
        QString text = qt_->decode(bytes);
        text.removeIf([](QChar c) {
            const char16_t u = c.unicode();
            return (u < 0x20 && u != '\t') || u == 0x2029 || u == 0xFDD0
                || u == 0xFDD1 || u == 0xFFFC || u == 0xFEFF;
        });
        return text;
    }
    QString text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        text.append(codePage_ == Symbol ? QChar(char16_t(0xF000 + byte)) : Char1252(byte));
    }
    return text;
}

} // namespace RtfCodePage
