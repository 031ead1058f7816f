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
};

enum class Measure { LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter };

// The measure in twips: the exact value kept from RTF while the format's
// points still agree with it, otherwise the points converted and rounded.
int Twips(const QTextBlockFormat &format, Measure measure);
// Sets the measure in points and keeps the exact twips.
void SetTwips(QTextBlockFormat &format, Measure measure, int twips);

// Limit of paragraph measures: 22 inches either way, as word processors allow.
constexpr int MaxTwips = 31680;

} // namespace RtfFormat
