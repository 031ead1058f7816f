#include "richtext/RtfFormat.h"

#include <QTextBlockFormat>

#include <cmath>

namespace RtfFormat {

namespace {

qreal Points(const QTextBlockFormat &format, Measure measure)
{
    switch (measure) {
    case Measure::LeftIndent: return format.leftMargin();
    case Measure::RightIndent: return format.rightMargin();
    case Measure::FirstIndent: return format.textIndent();
    case Measure::SpaceBefore: return format.topMargin();
    case Measure::SpaceAfter: return format.bottomMargin();
    }
    return 0;
}

int PropertyOf(Measure measure)
{
    switch (measure) {
    case Measure::LeftIndent: return LeftIndentTwips;
    case Measure::RightIndent: return RightIndentTwips;
    case Measure::FirstIndent: return FirstIndentTwips;
    case Measure::SpaceBefore: return SpaceBeforeTwips;
    case Measure::SpaceAfter: return SpaceAfterTwips;
    }
    return LeftIndentTwips;
}

} // namespace

int Twips(const QTextBlockFormat &format, Measure measure)
{
    const qreal twips = Points(format, measure) * 20;
    const int property = PropertyOf(measure);
    if (format.hasProperty(property)) {
        const int kept = format.intProperty(property);
        if (std::abs(twips - kept) < 0.5)
            return kept;
    }
    return qBound(-MaxTwips, qRound(twips), MaxTwips);
}

void SetTwips(QTextBlockFormat &format, Measure measure, int twips)
{
    twips = qBound(-MaxTwips, twips, MaxTwips);
    const qreal points = twips / 20.0;
    switch (measure) {
    case Measure::LeftIndent: format.setLeftMargin(points); break;
    case Measure::RightIndent: format.setRightMargin(points); break;
    case Measure::FirstIndent: format.setTextIndent(points); break;
    case Measure::SpaceBefore: format.setTopMargin(points); break;
    case Measure::SpaceAfter: format.setBottomMargin(points); break;
    }
    format.setProperty(PropertyOf(measure), twips);
}

int LineSpacing(const QTextBlockFormat &format, bool *multiple)
{
    *multiple = format.boolProperty(LineSpacingMultiple);
    return format.intProperty(LineSpacingTwips);
}

void SetLineSpacing(QTextBlockFormat &format, int twips, bool multiple)
{
    twips = qBound(-MaxTwips, twips, MaxTwips);
    if (twips == 0) {
        format.clearProperty(LineSpacingTwips);
        format.clearProperty(LineSpacingMultiple);
        format.setLineHeight(100, QTextBlockFormat::SingleHeight);
        return;
    }
    format.setProperty(LineSpacingTwips, twips);
    if (multiple)
        format.setProperty(LineSpacingMultiple, true);
    else
        format.clearProperty(LineSpacingMultiple);
    // \slN: N > 0 at least N, N < 0 exactly -N; with \slmult N / 240 lines.
    if (multiple && twips > 0)
        format.setLineHeight(twips * 100.0 / 240, QTextBlockFormat::ProportionalHeight);
    else if (twips > 0)
        format.setLineHeight(twips / 20.0, QTextBlockFormat::MinimumHeight);
    else
        format.setLineHeight(-twips / 20.0, QTextBlockFormat::FixedHeight);
}

} // namespace RtfFormat
