#pragma once

#include <QTextFormat>

// Values that RTF carries and QTextFormat has no exact room for, kept as
// user properties so that writing a document that was read gives the same
// numbers.
namespace RtfFormat {

enum Property {
    // QTextBlockFormat: paragraph measures in exact twips, beside the
    // margins in points (twips / 20) that Qt lays out with.
    LeftIndentTwips = QTextFormat::UserProperty + 0x5200,
    RightIndentTwips,
    FirstIndentTwips,
    SpaceBeforeTwips,
    SpaceAfterTwips,
    // QTextCharFormat: the run's font is a symbol-charset font (\fcharset2);
    // its characters are kept as U+F000 + byte.
    SymbolCharset,
    // QTextBlockFormat: \slN as read (0: single), and \slmult.
    LineSpacingTwips,
    LineSpacingMultiple,
    // QTextCharFormat: \upN (positive) or \dnN (negative) in half points.
    BaselineHalfPoints,
    // QTextImageFormat of a picture: its bytes as stored (PNG, JPEG or a
    // metafile), their PictureKind, the stored \picw/\pich, the size in
    // twips before scaling (\picwgoal/\pichgoal), the scale in percent and,
    // for metafiles, the mapping mode.
    PictureData,
    PictureKind,
    PictureWidth,
    PictureHeight,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,
    PictureMapMode,
};

// What the bytes of a picture are.  Bitmaps of other kinds are kept as PNG.
enum class Picture { Png = 1, Jpeg, Emf, Wmf };

// Pixels of the screen per inch that picture sizes in twips are shown at.
constexpr int ScreenPixelsPerInch = 96;

enum class Measure { LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter };

// The measure in twips: the exact value kept from RTF while the format's
// points still agree with it, otherwise the points converted and rounded.
int Twips(const QTextBlockFormat &format, Measure measure);
// Sets the measure in points and keeps the exact twips.
void SetTwips(QTextBlockFormat &format, Measure measure, int twips);

// The line spacing of a paragraph: (twips, multiple) as \sl and \slmult say.
int LineSpacing(const QTextBlockFormat &format, bool *multiple);
void SetLineSpacing(QTextBlockFormat &format, int twips, bool multiple);

// Limit of paragraph measures: 22 inches either way, as word processors allow.
constexpr int MaxTwips = 31680;

} // namespace RtfFormat
