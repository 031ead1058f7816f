#pragma once

#include <QByteArrayView>

// The control words the reader acts on, shared by the document reader and
// the plain-text reader so that both skip and keep the same text.
namespace RtfKeywords {

enum class Kw {
    Unknown,
    // document
    Rtf, Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U, Bin,
    // destinations
    FontTable, ColorTable, Stylesheet, SkipDestination, Transparent,
    Field, FieldInstruction, FieldResult, Pict,
    // font table
    FCharset, Cpg, FNil, FRoman, FSwiss, FModern, FScript, FDecor, FTech, FBidi,
    // colour table
    Red, Green, Blue,
    // styles
    Style, CharStyle, OtherStyle,
    // character properties
    Plain, Font, FontSize, Bold, Italic, Underline, UnderlineNone, Strike, Color, Background,
    Super, Sub, NoSuperSub, Up, Dn,
    // paragraph properties
    Pard, Ql, Qr, Qc, Qj, Li, Ri, Fi, Sb, Sa, Sl, SlMult, PageBb, Keep,
    TabRight, TabCenter, TabDecimal, TabStop, TabBar,
    // pictures
    PngBlip, JpegBlip, EmfBlip, WMetafile, DiBitmap, WBitmap, PicW, PicH, PicWGoal, PicHGoal,
    PicScaleX, PicScaleY, WbmBitsPixel, WbmWidthBytes,
    // breaks
    Par, Sect, Line, Tab, Page, Cell, Row,
    // characters
    Char,
};

struct Keyword
{
    Kw kind = Kw::Unknown;
    char16_t ch = 0; // Kw::Char: the character
};

Keyword Find(QByteArrayView word);

// Whether a \* destination with this word is read (its text or tables
// matter); every other \* destination is skipped whole.
bool ReadableStarred(Kw kind);

} // namespace RtfKeywords
