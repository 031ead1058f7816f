#include "richtext/RtfWriter.h"

#include "richtext/RtfCodePage.h"
#include "richtext/RtfFormat.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

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
    int color = 0; // 0: automatic
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
    };

    int FontIndex(const QTextCharFormat &format);
    int ColorIndex(const QTextCharFormat &format);
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

int Writer::ColorIndex(const QTextCharFormat &format)
{
    const QBrush brush = format.foreground();
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
    props.color = ColorIndex(format);
    return props;
}

QList<Writer::Run> Writer::RunsOf(const QTextBlock &block)
{
    QList<Run> runs;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        Run run;
        run.props = PropsOf(fragment.charFormat());
        if (fonts_[run.props.font].symbol)
            AppendSymbolText(run.text, fragment.text());
        else
            AppendText(run.text, fragment.text());
        if (run.text.isEmpty())
            continue;
        if (!runs.isEmpty() && runs.last().props == run.props)
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
        if (lastEmpty) {
            // The paragraph mark's properties: what typing here would use.
            AppendProps(body, PropsOf(block.charFormat()));
            continue;
        }
        for (const Run &run : runs) {
            AppendProps(body, run.props);
            body += ' ';
            body += run.text;
        }
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
