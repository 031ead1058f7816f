#include "richtext/RtfWriter.h"

#include "richtext/RtfCodePage.h"
#include "richtext/RtfFormat.h"
#include "richtext/RtfPicture.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

namespace {

struct FontEntry
{
    QString family;
    bool symbol = false;
    QFont::StyleHint hint = QFont::AnyStyle;
};

// What a run's RTF character properties say; equal runs share one \plain.
struct RunProps
{
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int color = 0;      // 0: automatic
    int background = 0; // 0: none
    int position = 0;   // 1: superscript, 2: subscript
    int baseline = 0;   // \up (positive) or \dn (negative), half points
    bool operator==(const RunProps &) const = default;
};

bool IsSymbolFamily(const QString &family)
{
    static const QStringList symbolFamilies = {
        QStringLiteral("Symbol"),     QStringLiteral("Wingdings"), QStringLiteral("Wingdings 2"),
        QStringLiteral("Wingdings 3"), QStringLiteral("Webdings"), QStringLiteral("Marlett"),
        QStringLiteral("MT Extra"),
    };
    return symbolFamilies.contains(family, Qt::CaseInsensitive);
}

// Characters that mark structure or objects, not text.
bool IsStructural(char16_t u)
{
    return (u < 0x20 && u != '\t') || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1 || u == 0xFFFC
        || u == 0xFEFF;
}

void AppendWord(QByteArray &out, const char *word, int value)
{
    out += '\\';
    out += word;
    out += QByteArray::number(value);
}

void AppendHex(QByteArray &out, int byte)
{
    static const char digits[] = "0123456789abcdef";
    out += "\\'";
    out += digits[(byte >> 4) & 0xF];
    out += digits[byte & 0xF];
}

void AppendUnicode(QByteArray &out, char16_t u)
{
    out += "\\u";
    out += QByteArray::number(static_cast<qint16>(u));
    out += '?';
}

// Text of a font other than a symbol font: ASCII as it is, the rest of
// Windows-1252 as \'hh, everything else as \uN.
void AppendText(QByteArray &out, QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u == QChar::LineSeparator) {
            out += "\\line ";
        } else if (IsStructural(u)) {
            continue;
        } else if (u < 0x80) {
            out += char(u);
        } else if (const int byte = RtfCodePage::Byte1252(c); byte >= 0) {
            AppendHex(out, byte);
        } else {
            AppendUnicode(out, u);
        }
    }
}

// Text of a symbol font: its glyphs (U+F020..U+F0FF) as the font's bytes,
// any other character as \uN so that reading it back gives it unchanged.
void AppendSymbolText(QByteArray &out, QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xF020 && u <= 0xF0FF)
            AppendHex(out, u - 0xF000);
        else if (u == '\t')
            out += "\\tab ";
        else if (u == QChar::LineSeparator)
            out += "\\line ";
        else if (!IsStructural(u))
            AppendUnicode(out, u);
    }
}

class Writer
{
public:
    explicit Writer(const QTextDocument *document) : document_(document) {}
    QByteArray Write();

private:
    struct Run
    {
        RunProps props;
        QByteArray text;
        QString href; // the link the run belongs to, if any
    };

    int FontIndex(const QTextCharFormat &format);
    int ColorIndex(const QBrush &brush);
    QByteArray Picture(const QTextImageFormat &format) const;
    RunProps PropsOf(const QTextCharFormat &format);
    QList<Run> RunsOf(const QTextBlock &block);

    void AppendHeader(QByteArray &out) const;
    static void AppendParagraph(QByteArray &out, const QTextBlockFormat &format);
    static void AppendProps(QByteArray &out, const RunProps &props);

    const QTextDocument *document_;
    QList<FontEntry> fonts_;
    QHash<QString, int> fontIndex_;
    QList<QRgb> colors_;
    QHash<QRgb, int> colorIndex_;
};

int Writer::FontIndex(const QTextCharFormat &format)
{
    QString family;
    if (format.hasProperty(QTextFormat::FontFamilies))
        family = format.property(QTextFormat::FontFamilies).toStringList().value(0);
    if (family.isEmpty() && format.hasProperty(QTextFormat::FontFamily))
        family = format.stringProperty(QTextFormat::FontFamily);
    if (family.isEmpty())
        family = document_->defaultFont().family();
    family.remove(QLatin1Char(';')); // would end the font table entry
    if (family.isEmpty())
        family = QStringLiteral("Arial"); // an entry without a name is dropped on reading

    const auto it = fontIndex_.constFind(family);
    if (it != fontIndex_.constEnd())
        return it.value(); // the first use decides the entry, as for reading it back
    FontEntry entry;
    entry.family = family;
    entry.symbol = format.boolProperty(RtfFormat::SymbolCharset) || IsSymbolFamily(family);
    if (format.hasProperty(QTextFormat::FontStyleHint))
        entry.hint = format.fontStyleHint();
    fonts_.append(entry);
    fontIndex_.insert(family, int(fonts_.size() - 1));
    return int(fonts_.size() - 1);
}

int Writer::ColorIndex(const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush)
        return 0;
    const QRgb rgb = brush.color().rgb() & 0xFFFFFF;
    const auto it = colorIndex_.constFind(rgb);
    if (it != colorIndex_.constEnd())
        return it.value();
    colors_.append(rgb);
    colorIndex_.insert(rgb, int(colors_.size()));
    return int(colors_.size());
}

RunProps Writer::PropsOf(const QTextCharFormat &format)
{
    const QFont &base = document_->defaultFont();
    RunProps props;
    props.font = FontIndex(format);
    qreal points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                                  : base.pointSizeF();
    if (points <= 0)
        points = 12;
    props.halfPoints = qBound(2, qRound(points * 2), 3276);
    const int weight = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight()
                                                                   : base.weight();
    props.bold = weight >= QFont::DemiBold;
    props.italic = format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic()
                                                               : base.italic();
    props.underline = (format.hasProperty(QTextFormat::TextUnderlineStyle)
                       || format.hasProperty(QTextFormat::FontUnderline))
        ? format.fontUnderline()
        : base.underline();
    props.strike = format.hasProperty(QTextFormat::FontStrikeOut) ? format.fontStrikeOut()
                                                                  : base.strikeOut();
    props.color = ColorIndex(format.foreground());
    props.background = ColorIndex(format.background());
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        props.position = 1;
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        props.position = 2;
    props.baseline = qBound(-3276, format.intProperty(RtfFormat::BaselineHalfPoints), 3276);
    return props;
}

QByteArray Writer::Picture(const QTextImageFormat &format) const
{
    RtfPicture::Data data;
    if (!RtfPicture::DataOf(format, &data)) {
        // An image of other origin (pasted from a web page): its pixels.
        const QImage image = document_->resource(QTextDocument::ImageResource,
                                                 QUrl(format.name())).value<QImage>();
        if (image.isNull())
            return QByteArray();
        data = RtfPicture::FromImage(image);
        if (format.width() > 0 && format.height() > 0) {
            data.goalWidth = qRound(format.width() * 1440 / RtfFormat::ScreenPixelsPerInch);
            data.goalHeight = qRound(format.height() * 1440 / RtfFormat::ScreenPixelsPerInch);
        }
    }
    if (data.bytes.isEmpty())
        return QByteArray();
    using RtfFormat::Picture;
    QByteArray out = "{\\pict";
    switch (data.kind) {
    case Picture::Png: out += "\\pngblip"; break;
    case Picture::Jpeg: out += "\\jpegblip"; break;
    case Picture::Emf: out += "\\emfblip"; break;
    case Picture::Wmf: AppendWord(out, "wmetafile", data.mapMode); break;
    }
    const QSize twips = RtfPicture::SizeInTwips(data);
    int width = data.width, height = data.height;
    if (width <= 0 || height <= 0) {
        width = twips.width() * RtfFormat::ScreenPixelsPerInch / 1440;
        height = twips.height() * RtfFormat::ScreenPixelsPerInch / 1440;
    }
    AppendWord(out, "picw", width);
    AppendWord(out, "pich", height);
    // The goal is always written, so other readers need not guess the
    // resolution the picture was meant for.
    const int scaleX = data.scaleX > 0 ? data.scaleX : 100;
    const int scaleY = data.scaleY > 0 ? data.scaleY : 100;
    AppendWord(out, "picwgoal", data.goalWidth > 0 ? data.goalWidth : twips.width() * 100 / scaleX);
    AppendWord(out, "pichgoal",
               data.goalHeight > 0 ? data.goalHeight : twips.height() * 100 / scaleY);
    if (scaleX != 100)
        AppendWord(out, "picscalex", scaleX);
    if (scaleY != 100)
        AppendWord(out, "picscaley", scaleY);
    const QByteArray hex = data.bytes.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        out += "\r\n";
        out += QByteArrayView(hex).sliced(i, qMin<qsizetype>(128, hex.size() - i));
    }
    out += '}';
    return out;
}

QList<Writer::Run> Writer::RunsOf(const QTextBlock &block)
{
    QList<Run> runs;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const QTextCharFormat format = fragment.charFormat();
        Run run;
        run.props = PropsOf(format);
        if (format.isAnchor())
            run.href = format.anchorHref();
        if (format.isImageFormat()) {
            const QByteArray picture = Picture(format.toImageFormat());
            for (int i = 0; i < fragment.length(); ++i)
                run.text += picture;
        } else if (fonts_[run.props.font].symbol) {
            AppendSymbolText(run.text, fragment.text());
        } else {
            AppendText(run.text, fragment.text());
        }
        if (run.text.isEmpty())
            continue;
        if (!runs.isEmpty() && runs.last().props == run.props && runs.last().href == run.href)
            runs.last().text += run.text;
        else
            runs.append(run);
    }
    return runs;
}

void Writer::AppendHeader(QByteArray &out) const
{
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    for (int i = 0; i < fonts_.size(); ++i) {
        const FontEntry &font = fonts_[i];
        out += '{';
        AppendWord(out, "f", i);
        if (font.symbol) {
            out += "\\ftech\\fcharset2 ";
        } else {
            switch (font.hint) {
            case QFont::Serif: out += "\\froman"; break;
            case QFont::SansSerif: out += "\\fswiss"; break;
            case QFont::TypeWriter: out += "\\fmodern"; break;
            case QFont::Cursive: out += "\\fscript"; break;
            case QFont::Decorative: out += "\\fdecor"; break;
            default: out += "\\fnil"; break;
            }
            out += "\\fcharset0 ";
        }
        AppendText(out, font.family);
        out += ";}";
    }
    out += "}\r\n{\\colortbl;";
    for (const QRgb rgb : colors_) {
        AppendWord(out, "red", qRed(rgb));
        AppendWord(out, "green", qGreen(rgb));
        AppendWord(out, "blue", qBlue(rgb));
        out += ';';
    }
    out += "}\r\n";
}

void Writer::AppendParagraph(QByteArray &out, const QTextBlockFormat &format)
{
    out += "\\pard";
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment.testFlag(Qt::AlignJustify))
        out += "\\qj";
    else if (alignment.testFlag(Qt::AlignHCenter))
        out += "\\qc";
    else if (alignment.testFlag(Qt::AlignRight))
        out += "\\qr";
    using RtfFormat::Measure;
    const std::pair<Measure, const char *> measures[] = {
        {Measure::FirstIndent, "fi"}, {Measure::LeftIndent, "li"}, {Measure::RightIndent, "ri"},
        {Measure::SpaceBefore, "sb"}, {Measure::SpaceAfter, "sa"},
    };
    for (const auto &[measure, word] : measures) {
        if (const int twips = RtfFormat::Twips(format, measure))
            AppendWord(out, word, twips);
    }
    bool multiple = false;
    if (const int spacing = RtfFormat::LineSpacing(format, &multiple)) {
        AppendWord(out, "sl", spacing);
        AppendWord(out, "slmult", multiple ? 1 : 0);
    }
    if (format.nonBreakableLines())
        out += "\\keep";
    for (const QTextOption::Tab &tab : format.tabPositions()) {
        switch (tab.type) {
        case QTextOption::RightTab: out += "\\tqr"; break;
        case QTextOption::CenterTab: out += "\\tqc"; break;
        case QTextOption::DelimiterTab: out += "\\tqdec"; break;
        case QTextOption::LeftTab: break;
        }
        AppendWord(out, "tx", qBound(0, qRound(tab.position * 20), RtfFormat::MaxTwips));
    }
}

void Writer::AppendProps(QByteArray &out, const RunProps &props)
{
    out += "\\plain";
    AppendWord(out, "f", props.font);
    AppendWord(out, "fs", props.halfPoints);
    if (props.bold)
        out += "\\b";
    if (props.italic)
        out += "\\i";
    if (props.underline)
        out += "\\ul";
    if (props.strike)
        out += "\\strike";
    if (props.color)
        AppendWord(out, "cf", props.color);
    if (props.background)
        AppendWord(out, "highlight", props.background);
    if (props.position == 1)
        out += "\\super";
    else if (props.position == 2)
        out += "\\sub";
    if (props.baseline > 0)
        AppendWord(out, "up", props.baseline);
    else if (props.baseline < 0)
        AppendWord(out, "dn", -props.baseline);
}

// A link's target inside its field instruction: quotes would end it and
// backslashes start a switch.
QByteArray FieldTarget(const QString &href)
{
    QByteArray out;
    QString target = href;
    target.replace(QLatin1Char('"'), QLatin1String("%22"));
    AppendText(out, target);
    out.replace("\\\\", "\\\\\\\\");
    return out;
}

QByteArray Writer::Write()
{
    // The tables come first in the file but are filled while the body is
    // written, so fonts and colours appear in the order of first use.
    QByteArray body;
    int count = 0;
    bool lastEmpty = false;
    for (QTextBlock block = document_->begin(); block.isValid(); block = block.next(), ++count) {
        const QTextBlockFormat format = block.blockFormat();
        if (count > 0)
            body += "\\par\r\n";
        AppendParagraph(body, format);
        // The break goes inside the new paragraph, after its \pard: placed
        // before the \pard, other word processors carry the previous
        // paragraph's properties over to this one.
        if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            body += "\\page";
        const QList<Run> runs = RunsOf(block);
        lastEmpty = runs.isEmpty();
        // The paragraph mark's properties: what typing at its end would
        // use, which is the last run's look when there is one.
        AppendProps(body, lastEmpty ? PropsOf(block.charFormat()) : runs.last().props);
        if (lastEmpty)
            continue;
        // Each run in a group of its own: some readers (AbiWord) do not
        // take a \plain in the middle of a paragraph.
        QString link;
        for (const Run &run : runs) {
            if (run.href != link) {
                if (!link.isEmpty())
                    body += "}}}";
                link = run.href;
                if (!link.isEmpty()) {
                    body += "{\\field{\\*\\fldinst HYPERLINK \"";
                    body += FieldTarget(link);
                    body += "\"}{\\fldrslt{";
                }
            }
            body += '{';
            AppendProps(body, run.props);
            body += ' ';
            body += run.text;
            body += '}';
        }
        if (!link.isEmpty())
            body += "}}}";
    }
    // A last paragraph that is empty needs its own \par, since one that
    // only ends the text opens no paragraph when read.
    if (count > 1 && lastEmpty)
        body += "\\par";

    QByteArray out;
    AppendHeader(out);
    out += body;
    out += '}';
    return out;
}

} // namespace

QByteArray RtfWriter::Write(const QTextDocument *document)
{
    return Writer(document).Write();
}
