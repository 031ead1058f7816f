#include "richtext/RtfReader.h"

#include "richtext/RtfCodePage.h"
#include "richtext/RtfFormat.h"
#include "richtext/RtfLexer.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// Where the text of a group goes.
enum class Destination {
    Body,       // the document
    FontTable,  // font names
    ColorTable, // ';'-separated colours
    Skip,       // ignored, with everything nested in it
};

struct CharProps
{
    int font = -1; // RTF font number; -1 is the document's default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int color = 0; // colour table index; 0 is the automatic colour
    bool operator==(const CharProps &) const = default;
};

struct ParaProps
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0; // twips, like the rest
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    bool pageBreakBefore = false;
};

struct GroupState
{
    CharProps chr;
    ParaProps para;
    Destination destination = Destination::Body;
    int uc = 1; // fallback characters after each \uN
};

struct FontEntry
{
    QString name;
    int charset = 0;
    int codePage = 0; // 0: from the charset, or the document's code page
    QFont::StyleHint hint = QFont::AnyStyle;
};

enum class Kw {
    // document
    Rtf, Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U, Bin,
    // destinations
    FontTable, ColorTable, SkipDestination, Transparent,
    // font table
    FCharset, Cpg, FNil, FRoman, FSwiss, FModern, FScript, FDecor, FTech, FBidi,
    // colour table
    Red, Green, Blue,
    // character properties
    Plain, Font, FontSize, Bold, Italic, Underline, UnderlineNone, Strike, Color,
    // paragraph properties
    Pard, Ql, Qr, Qc, Qj, Li, Ri, Fi, Sb, Sa, PageBb,
    // breaks
    Par, Sect, Line, Tab, Page, Cell,
    // characters
    Char,
};

struct Keyword
{
    Kw kind;
    char16_t ch = 0; // Kw::Char: the character
};

const std::unordered_map<std::string_view, Keyword> &Keywords()
{
    static const std::unordered_map<std::string_view, Keyword> table = [] {
        std::unordered_map<std::string_view, Keyword> t = {
            {"rtf", {Kw::Rtf}}, {"ansi", {Kw::Ansi}}, {"mac", {Kw::Mac}}, {"pc", {Kw::Pc}},
            {"pca", {Kw::Pca}}, {"ansicpg", {Kw::AnsiCpg}}, {"deff", {Kw::Deff}},
            {"uc", {Kw::Uc}}, {"u", {Kw::U}}, {"bin", {Kw::Bin}},
            {"fonttbl", {Kw::FontTable}}, {"colortbl", {Kw::ColorTable}},
            {"fcharset", {Kw::FCharset}}, {"cpg", {Kw::Cpg}}, {"fnil", {Kw::FNil}},
            {"froman", {Kw::FRoman}}, {"fswiss", {Kw::FSwiss}}, {"fmodern", {Kw::FModern}},
            {"fscript", {Kw::FScript}}, {"fdecor", {Kw::FDecor}}, {"ftech", {Kw::FTech}},
            {"fbidi", {Kw::FBidi}},
            {"red", {Kw::Red}}, {"green", {Kw::Green}}, {"blue", {Kw::Blue}},
            {"plain", {Kw::Plain}}, {"f", {Kw::Font}}, {"fs", {Kw::FontSize}},
            {"b", {Kw::Bold}}, {"i", {Kw::Italic}}, {"ul", {Kw::Underline}},
            {"ulnone", {Kw::UnderlineNone}}, {"strike", {Kw::Strike}}, {"cf", {Kw::Color}},
            {"pard", {Kw::Pard}}, {"ql", {Kw::Ql}}, {"qr", {Kw::Qr}}, {"qc", {Kw::Qc}},
            {"qj", {Kw::Qj}}, {"li", {Kw::Li}}, {"ri", {Kw::Ri}}, {"fi", {Kw::Fi}},
            {"sb", {Kw::Sb}}, {"sa", {Kw::Sa}}, {"pagebb", {Kw::PageBb}},
            {"par", {Kw::Par}}, {"sect", {Kw::Sect}}, {"row", {Kw::Par}}, {"nestrow", {Kw::Par}},
            {"line", {Kw::Line}}, {"tab", {Kw::Tab}}, {"page", {Kw::Page}},
            {"cell", {Kw::Cell}}, {"nestcell", {Kw::Cell}},
            {"emdash", {Kw::Char, 0x2014}}, {"endash", {Kw::Char, 0x2013}},
            {"bullet", {Kw::Char, 0x2022}}, {"lquote", {Kw::Char, 0x2018}},
            {"rquote", {Kw::Char, 0x2019}}, {"ldblquote", {Kw::Char, 0x201C}},
            {"rdblquote", {Kw::Char, 0x201D}}, {"emspace", {Kw::Char, 0x2003}},
            {"enspace", {Kw::Char, 0x2002}}, {"qmspace", {Kw::Char, 0x2005}},
            {"zwj", {Kw::Char, 0x200D}}, {"zwnj", {Kw::Char, 0x200C}},
            {"ltrmark", {Kw::Char, 0x200E}}, {"rtlmark", {Kw::Char, 0x200F}},
            // groups whose content is read as if the group were not there
            {"field", {Kw::Transparent}}, {"fldrslt", {Kw::Transparent}},
            {"shppict", {Kw::Transparent}}, {"object", {Kw::Transparent}},
            {"result", {Kw::Transparent}}, {"upr", {Kw::Transparent}},
        };
        // Underline kinds the editor shows as a plain underline.
        for (const char *w : {"uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                              "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd",
                              "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
            t.emplace(w, Keyword{Kw::Underline});
        // Destinations whose text is not part of the document.
        for (const char *w : {"info", "stylesheet", "pict", "header", "headerl", "headerr",
                              "headerf", "footer", "footerl", "footerr", "footerf",
                              "footnote", "annotation", "fldinst", "listtable",
                              "listoverridetable", "revtbl", "rsidtbl", "filetbl",
                              "objdata", "objclass", "nonshppict", "shp", "pn", "xe", "tc",
                              "txe", "themedata", "colorschememapping", "latentstyles",
                              "datastore", "xmlnstbl", "pgdsctbl", "template", "ud",
                              "generator", "userprops", "docvar", "bkmkstart", "bkmkend"})
            t.emplace(w, Keyword{Kw::SkipDestination});
        return t;
    }();
    return table;
}

class Parser
{
public:
    Parser(QByteArrayView input, QTextDocument *document)
        : lexer_(input), document_(document), cursor_(document)
    {
    }

    // False with an error text when the input cannot be read to its end;
    // the document then holds what was read before.
    bool Run(QString *error);

private:
    GroupState &State() { return stack_.back(); }

    void OnWord(const RtfToken &token);
    void OnSymbol(char symbol);
    void OnText(QByteArrayView text);
    void OnByte(unsigned char byte);
    void OnUnicode(int parameter);

    void AppendBytes(QByteArrayView bytes, int codePage);
    void FlushBytes();
    void AppendText(const QString &text);
    void AppendBodyText(const QString &text);

    int CodePageOf(const CharProps &chr) const;
    const FontEntry *FontOf(int number) const;
    QTextCharFormat CharFormatOf(const CharProps &chr) const;

    void EnsureBlock();
    void FlushRun();
    void EndParagraph();
    void PageBreak();
    void ApplyBlockFormat();
    void Finish();

    void CommitFont();

    static constexpr int MaxGroupDepth = 1000;

    RtfLexer lexer_;
    QTextDocument *document_;
    QTextCursor cursor_;
    std::vector<GroupState> stack_;
    bool starPending_ = false;
    int ucSkip_ = 0;

    int ansiCodePage_ = RtfCodePage::Ansi;
    int defaultFont_ = 0;
    QHash<int, FontEntry> fonts_;
    QList<QColor> colors_;

    // bytes waiting to be decoded, all of one code page
    QByteArray pendingBytes_;
    RtfCodePage::Decoder decoder_;

    // the font table entry being read
    bool fontActive_ = false;
    int fontNumber_ = 0;
    FontEntry font_;

    // the colour table entry being read
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorSet_ = false;

    // the body: text not yet inserted, all with the same properties
    QString runText_;
    CharProps runProps_;
    bool pendingBlock_ = false;    // a \par ended the last block; the next content opens one
    bool blockHasContent_ = false; // the current block holds characters
    bool blockPageBreak_ = false;  // a \page came before the current block
    bool nextPageBreak_ = false;   // a \page came while pendingBlock_
};

bool Parser::Run(QString *error)
{
    cursor_.beginEditBlock();
    bool ok = true;
    bool started = false;
    for (;;) {
        const RtfToken token = lexer_.Next();
        if (token.type == RtfToken::End)
            break; // truncated: keep what was read
        if (!started) {
            // Blanks or a byte order mark may stand before the outer group.
            if (token.type == RtfToken::GroupOpen) {
                started = true;
                stack_.emplace_back();
            }
            continue;
        }
        if (token.type != RtfToken::Text && token.type != RtfToken::HexByte)
            FlushBytes();
        const bool star = starPending_;
        starPending_ = false;

        if (token.type == RtfToken::GroupOpen) {
            if (stack_.size() >= MaxGroupDepth) {
                *error = QStringLiteral("The RTF groups are nested more than %1 levels deep.")
                             .arg(MaxGroupDepth);
                ok = false;
                break;
            }
            stack_.push_back(stack_.back());
            ucSkip_ = 0;
            continue;
        }
        if (token.type == RtfToken::GroupClose) {
            ucSkip_ = 0;
            if (State().destination == Destination::FontTable)
                CommitFont();
            if (stack_.size() == 1)
                break; // the outer group is complete; anything after it is ignored
            stack_.pop_back();
            continue;
        }

        if (State().destination == Destination::Skip) {
            if (token.type == RtfToken::ControlWord && token.word == "bin" && token.parameter > 0)
                lexer_.ReadBinary(token.parameter);
            continue;
        }

        if (ucSkip_ > 0) {
            // Fallback characters of the last \uN: a text byte, a \'hh or a
            // control word or symbol each count as one.
            if (token.type == RtfToken::Text) {
                const qsizetype n = qMin<qsizetype>(ucSkip_, token.text.size());
                ucSkip_ -= int(n);
                if (n < token.text.size())
                    OnText(token.text.sliced(n));
                continue;
            }
            --ucSkip_;
            if (token.type == RtfToken::ControlWord && token.word == "bin" && token.parameter > 0)
                lexer_.ReadBinary(token.parameter);
            continue;
        }

        switch (token.type) {
        case RtfToken::ControlWord: {
            if (star) {
                const auto it = Keywords().find(std::string_view(token.word.data(), token.word.size()));
                const bool readable = it != Keywords().end()
                    && (it->second.kind == Kw::FontTable || it->second.kind == Kw::ColorTable
                        || it->second.kind == Kw::Transparent);
                if (!readable) {
                    State().destination = Destination::Skip;
                    break;
                }
            }
            OnWord(token);
            break;
        }
        case RtfToken::ControlSymbol:
            OnSymbol(token.symbol);
            break;
        case RtfToken::Text:
            OnText(token.text);
            break;
        case RtfToken::HexByte:
            OnByte(token.byte);
            break;
        default:
            break;
        }
    }
    if (!started && ok) {
        *error = QStringLiteral("The data is not an RTF document.");
        ok = false;
    }
    if (started)
        Finish();
    cursor_.endEditBlock();
    return ok;
}

void Parser::OnWord(const RtfToken &token)
{
    const auto it = Keywords().find(std::string_view(token.word.data(), token.word.size()));
    if (it == Keywords().end())
        return; // unknown words are ignored, their group's text is kept
    const Keyword &keyword = it->second;
    const bool has = token.hasParameter;
    const int value = token.parameter;
    const bool on = !has || value != 0;
    GroupState &state = State();
    const Destination destination = state.destination;

    switch (keyword.kind) {
    case Kw::Rtf:
        break;
    case Kw::Ansi:
        ansiCodePage_ = RtfCodePage::Ansi;
        break;
    case Kw::Mac:
        ansiCodePage_ = 10000;
        break;
    case Kw::Pc:
        ansiCodePage_ = 437;
        break;
    case Kw::Pca:
        ansiCodePage_ = 850;
        break;
    case Kw::AnsiCpg:
        if (has && value > 0)
            ansiCodePage_ = value;
        break;
    case Kw::Deff:
        defaultFont_ = value;
        break;
    case Kw::Uc:
        state.uc = qBound(0, value, 255);
        break;
    case Kw::U:
        OnUnicode(value);
        break;
    case Kw::Bin:
        if (value > 0)
            lexer_.ReadBinary(value); // raw data has no place in the text
        break;

    case Kw::FontTable:
        state.destination = Destination::FontTable;
        break;
    case Kw::ColorTable:
        state.destination = Destination::ColorTable;
        red_ = green_ = blue_ = 0;
        colorSet_ = false;
        break;
    case Kw::SkipDestination:
        state.destination = Destination::Skip;
        break;
    case Kw::Transparent:
        break;

    case Kw::FCharset:
    case Kw::Cpg:
    case Kw::FNil:
    case Kw::FRoman:
    case Kw::FSwiss:
    case Kw::FModern:
    case Kw::FScript:
    case Kw::FDecor:
    case Kw::FTech:
    case Kw::FBidi:
        if (destination != Destination::FontTable)
            break;
        if (keyword.kind == Kw::FCharset)
            font_.charset = value;
        else if (keyword.kind == Kw::Cpg)
            font_.codePage = value;
        else if (keyword.kind == Kw::FRoman)
            font_.hint = QFont::Serif;
        else if (keyword.kind == Kw::FSwiss)
            font_.hint = QFont::SansSerif;
        else if (keyword.kind == Kw::FModern)
            font_.hint = QFont::TypeWriter;
        else if (keyword.kind == Kw::FScript)
            font_.hint = QFont::Cursive;
        else if (keyword.kind == Kw::FDecor)
            font_.hint = QFont::Decorative;
        break;

    case Kw::Red:
    case Kw::Green:
    case Kw::Blue:
        if (destination == Destination::ColorTable) {
            const int component = qBound(0, value, 255);
            (keyword.kind == Kw::Red ? red_ : keyword.kind == Kw::Green ? green_ : blue_) = component;
            colorSet_ = true;
        }
        break;

    case Kw::Font:
        if (destination == Destination::FontTable) {
            CommitFont();
            fontActive_ = true;
            fontNumber_ = value;
            font_ = FontEntry();
        } else {
            state.chr.font = value;
        }
        break;
    case Kw::Plain:
        state.chr = CharProps();
        break;
    case Kw::FontSize:
        state.chr.halfPoints = has ? qBound(2, value, 3276) : 24;
        break;
    case Kw::Bold:
        state.chr.bold = on;
        break;
    case Kw::Italic:
        state.chr.italic = on;
        break;
    case Kw::Underline:
        state.chr.underline = on;
        break;
    case Kw::UnderlineNone:
        state.chr.underline = false;
        break;
    case Kw::Strike:
        state.chr.strike = on;
        break;
    case Kw::Color:
        state.chr.color = qMax(0, value);
        break;

    case Kw::Pard:
        state.para = ParaProps();
        break;
    case Kw::Ql:
        state.para.alignment = Qt::AlignLeft;
        break;
    case Kw::Qr:
        state.para.alignment = Qt::AlignRight;
        break;
    case Kw::Qc:
        state.para.alignment = Qt::AlignHCenter;
        break;
    case Kw::Qj:
        state.para.alignment = Qt::AlignJustify;
        break;
    case Kw::Li:
        state.para.leftIndent = qBound(-RtfFormat::MaxTwips, value, RtfFormat::MaxTwips);
        break;
    case Kw::Ri:
        state.para.rightIndent = qBound(-RtfFormat::MaxTwips, value, RtfFormat::MaxTwips);
        break;
    case Kw::Fi:
        state.para.firstIndent = qBound(-RtfFormat::MaxTwips, value, RtfFormat::MaxTwips);
        break;
    case Kw::Sb:
        state.para.spaceBefore = qBound(0, value, RtfFormat::MaxTwips);
        break;
    case Kw::Sa:
        state.para.spaceAfter = qBound(0, value, RtfFormat::MaxTwips);
        break;
    case Kw::PageBb:
        state.para.pageBreakBefore = on;
        break;

    case Kw::Par:
        if (destination == Destination::Body)
            EndParagraph();
        break;
    case Kw::Sect:
        // A section break ends the open paragraph; right after a \par it
        // adds none of its own.
        if (destination == Destination::Body && !pendingBlock_)
            EndParagraph();
        break;
    case Kw::Page:
        if (destination == Destination::Body)
            PageBreak();
        break;
    case Kw::Line:
        AppendText(QString(QChar::LineSeparator));
        break;
    case Kw::Tab:
    case Kw::Cell:
        AppendText(QStringLiteral("\t"));
        break;
    case Kw::Char:
        AppendText(QString(QChar(keyword.ch)));
        break;
    }
}

void Parser::OnSymbol(char symbol)
{
    switch (symbol) {
    case '*':
        starPending_ = true;
        break;
    case '\\':
    case '{':
    case '}':
        OnText(QByteArrayView(&symbol, 1));
        break;
    case '~':
        AppendText(QString(QChar(0x00A0)));
        break;
    case '-':
        AppendText(QString(QChar(0x00AD)));
        break;
    case '_':
        AppendText(QString(QChar(0x2011)));
        break;
    case '\n':
        if (State().destination == Destination::Body)
            EndParagraph();
        break;
    default:
        break;
    }
}

void Parser::OnText(QByteArrayView text)
{
    switch (State().destination) {
    case Destination::Body: {
        const int codePage = CodePageOf(State().chr);
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (byte >= 0x20)
                continue;
            // Control bytes are not text; a literal tab is a tab.
            AppendBytes(text.sliced(start, i - start), codePage);
            if (byte == '\t') {
                FlushBytes();
                AppendText(QStringLiteral("\t"));
            }
            start = i + 1;
        }
        AppendBytes(text.sliced(start), codePage);
        break;
    }
    case Destination::FontTable: {
        int codePage = font_.codePage ? font_.codePage : RtfCodePage::OfCharset(font_.charset);
        if (codePage == 0 || codePage == RtfCodePage::Symbol)
            codePage = ansiCodePage_; // names of symbol fonts are plain text
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] != ';')
                continue;
            AppendBytes(text.sliced(start, i - start), codePage);
            FlushBytes();
            CommitFont();
            start = i + 1;
        }
        AppendBytes(text.sliced(start), codePage);
        break;
    }
    case Destination::ColorTable:
        for (const char c : text) {
            if (c != ';')
                continue;
            colors_.append(colorSet_ ? QColor(red_, green_, blue_) : QColor());
            red_ = green_ = blue_ = 0;
            colorSet_ = false;
        }
        break;
    case Destination::Skip:
        break;
    }
}

void Parser::OnByte(unsigned char byte)
{
    const char c = static_cast<char>(byte);
    if (State().destination == Destination::Body && byte < 0x20) {
        if (byte == '\t')
            AppendText(QStringLiteral("\t"));
        return;
    }
    if (State().destination == Destination::FontTable && c == ';') {
        // an escaped ';' is part of the name, not its end
        int codePage = RtfCodePage::Ansi;
        AppendBytes(QByteArrayView(&c, 1), codePage);
        return;
    }
    OnText(QByteArrayView(&c, 1));
}

void Parser::OnUnicode(int parameter)
{
    ucSkip_ = State().uc;
    int code = parameter < 0 ? parameter + 0x10000 : parameter;
    if (code < 0 || code > 0x10FFFF)
        return;
    if (code < 0x20 && code != '\t')
        return;
    // characters that would change the document's structure, not its text
    if (code == 0x2029 || code == 0xFDD0 || code == 0xFDD1 || code == 0xFFFC || code == 0xFEFF)
        return;
    const char32_t ch = char32_t(code);
    AppendText(QString::fromUcs4(&ch, 1));
}

void Parser::AppendBytes(QByteArrayView bytes, int codePage)
{
    if (bytes.isEmpty())
        return;
    if (!pendingBytes_.isEmpty() && decoder_.CodePage() != codePage)
        FlushBytes();
    if (decoder_.CodePage() != codePage)
        decoder_ = RtfCodePage::Decoder(codePage);
    pendingBytes_.append(bytes.data(), bytes.size());
}

void Parser::FlushBytes()
{
    if (pendingBytes_.isEmpty())
        return;
    const QString text = decoder_.Decode(pendingBytes_);
    pendingBytes_.clear();
    AppendText(text);
}

void Parser::AppendText(const QString &text)
{
    if (text.isEmpty())
        return;
    FlushBytes();
    switch (State().destination) {
    case Destination::Body:
        AppendBodyText(text);
        break;
    case Destination::FontTable:
        if (fontActive_)
            font_.name += text;
        break;
    case Destination::ColorTable:
    case Destination::Skip:
        break;
    }
}

void Parser::AppendBodyText(const QString &text)
{
    EnsureBlock();
    if (!runText_.isEmpty() && !(runProps_ == State().chr))
        FlushRun();
    runProps_ = State().chr;
    runText_ += text;
    blockHasContent_ = true;
}

int Parser::CodePageOf(const CharProps &chr) const
{
    if (const FontEntry *font = FontOf(chr.font)) {
        if (font->codePage > 0)
            return font->codePage;
        if (const int codePage = RtfCodePage::OfCharset(font->charset))
            return codePage;
    }
    return ansiCodePage_;
}

const FontEntry *Parser::FontOf(int number) const
{
    const auto it = fonts_.constFind(number < 0 ? defaultFont_ : number);
    return it == fonts_.constEnd() ? nullptr : &it.value();
}

QTextCharFormat Parser::CharFormatOf(const CharProps &chr) const
{
    QTextCharFormat format;
    if (const FontEntry *font = FontOf(chr.font)) {
        format.setFontFamilies(QStringList{font->name});
        if (font->hint != QFont::AnyStyle)
            format.setFontStyleHint(font->hint);
        if (font->charset == 2)
            format.setProperty(RtfFormat::SymbolCharset, true);
    }
    format.setFontPointSize(chr.halfPoints / 2.0);
    format.setFontWeight(chr.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(chr.italic);
    format.setFontUnderline(chr.underline);
    format.setFontStrikeOut(chr.strike);
    if (chr.color > 0 && chr.color < colors_.size() && colors_[chr.color].isValid())
        format.setForeground(colors_[chr.color]);
    return format;
}

void Parser::EnsureBlock()
{
    if (!pendingBlock_)
        return;
    cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
    pendingBlock_ = false;
    blockHasContent_ = false;
    blockPageBreak_ = nextPageBreak_;
    nextPageBreak_ = false;
}

void Parser::FlushRun()
{
    if (runText_.isEmpty())
        return;
    cursor_.insertText(runText_, CharFormatOf(runProps_));
    runText_.clear();
}

void Parser::EndParagraph()
{
    EnsureBlock();
    FlushRun();
    ApplyBlockFormat();
    pendingBlock_ = true;
}

void Parser::PageBreak()
{
    if (!pendingBlock_ && blockHasContent_)
        EndParagraph();
    if (pendingBlock_)
        nextPageBreak_ = true;
    else
        blockPageBreak_ = true;
}

void Parser::ApplyBlockFormat()
{
    const ParaProps &para = State().para;
    QTextBlockFormat format;
    if (para.alignment != Qt::AlignLeft)
        format.setAlignment(para.alignment);
    using RtfFormat::Measure;
    const std::pair<Measure, int> measures[] = {
        {Measure::LeftIndent, para.leftIndent},   {Measure::RightIndent, para.rightIndent},
        {Measure::FirstIndent, para.firstIndent}, {Measure::SpaceBefore, para.spaceBefore},
        {Measure::SpaceAfter, para.spaceAfter},
    };
    for (const auto &[measure, twips] : measures) {
        if (twips != 0)
            RtfFormat::SetTwips(format, measure, twips);
    }
    if (para.pageBreakBefore || blockPageBreak_)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor_.setBlockFormat(format);
    cursor_.setBlockCharFormat(CharFormatOf(State().chr));
}

void Parser::Finish()
{
    FlushBytes();
    if (State().destination == Destination::FontTable)
        CommitFont();
    // A \par that ends the last paragraph does not open another one.
    if (pendingBlock_)
        return;
    FlushRun();
    ApplyBlockFormat();
}

void Parser::CommitFont()
{
    FlushBytes();
    if (!fontActive_)
        return;
    font_.name = font_.name.trimmed();
    if (!font_.name.isEmpty())
        fonts_.insert(fontNumber_, font_);
    fontActive_ = false;
    font_ = FontEntry();
}

qsizetype RtfStart(const QByteArray &bytes)
{
    qsizetype i = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < bytes.size()
           && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return i;
}

} // namespace

bool RtfReader::LooksLikeRtf(const QByteArray &bytes)
{
    return QByteArrayView(bytes).sliced(RtfStart(bytes)).startsWith("{\\rtf");
}

bool RtfReader::Read(const QByteArray &rtf, QTextDocument *document)
{
    error_.clear();
    document->clear();
    if (!LooksLikeRtf(rtf)) {
        error_ = QStringLiteral("The data is not an RTF document.");
        return false;
    }
    Parser parser(QByteArrayView(rtf).sliced(RtfStart(rtf)), document);
    return parser.Run(&error_);
}
