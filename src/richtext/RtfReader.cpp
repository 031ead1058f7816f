#include "richtext/RtfReader.h"

#include "richtext/RtfCodePage.h"
#include "richtext/RtfFormat.h"
#include "richtext/RtfKeywords.h"
#include "richtext/RtfLexer.h"
#include "richtext/RtfPicture.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <vector>

namespace {

using RtfKeywords::Kw;

// Where the text of a group goes.
enum class Destination {
    Body,             // the document
    FontTable,        // font names
    ColorTable,       // ';'-separated colours
    Stylesheet,       // style definitions
    FieldInstruction, // the instruction of a field (HYPERLINK "...")
    Picture,          // hex digits of a picture
    Skip,             // ignored, with everything nested in it
};

enum class VerticalPosition { Normal, Super, Sub };

struct CharProps
{
    int font = -1; // RTF font number; -1 is the document's default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int color = 0;      // colour table index; 0 is the automatic colour
    int background = 0; // colour table index; 0 is none
    VerticalPosition position = VerticalPosition::Normal;
    int baseline = 0; // \up (positive) or \dn (negative), half points
    int link = -1;    // index into the links read so far
    bool operator==(const CharProps &) const = default;
};

struct TabStop
{
    int twips = 0;
    QTextOption::TabType type = QTextOption::LeftTab;
};

struct ParaProps
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0; // twips, like the rest
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    bool pageBreakBefore = false;
    bool keep = false;
    std::vector<TabStop> tabs;
    QTextOption::TabType nextTab = QTextOption::LeftTab; // set by \tqr etc. before \tx
};

struct GroupState
{
    CharProps chr;
    ParaProps para;
    Destination destination = Destination::Body;
    int uc = 1;     // fallback characters after each \uN
    int field = -1; // the field this group belongs to
};

struct FontEntry
{
    QString name;
    int charset = 0;
    int codePage = 0; // 0: from the charset, or the document's code page
    QFont::StyleHint hint = QFont::AnyStyle;
};

struct Style
{
    CharProps chr;
    ParaProps para;
    bool character = false;
};

struct Field
{
    QString instruction;
};

// The picture being read.
struct PictureState
{
    RtfPicture::Data data;
    enum Source { None, Png, Jpeg, Emf, Wmf, Dib, DeviceBitmap } source = None;
    int bitsPerPixel = 1;
    int widthBytes = 0;
    QByteArray bytes;
    int highNibble = -1; // a hex digit waiting for its partner
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The target of a HYPERLINK field instruction, or an empty string.
QString HyperlinkTarget(const QString &instruction)
{
    QString rest = instruction.trimmed();
    if (!rest.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive))
        return QString();
    rest = rest.mid(9).trimmed();
    QString url;
    QString anchor;
    while (!rest.isEmpty()) {
        QString token;
        bool isSwitch = false;
        if (rest.startsWith(QLatin1Char('\\'))) {
            isSwitch = true;
            token = rest.mid(1, 1);
            rest = rest.mid(2).trimmed();
        } else if (rest.startsWith(QLatin1Char('"'))) {
            const qsizetype end = rest.indexOf(QLatin1Char('"'), 1);
            token = rest.mid(1, end < 0 ? -1 : end - 1);
            token.replace(QLatin1String("\\\\"), QLatin1String("\\")); // C:\\dir means C:\dir
            rest = end < 0 ? QString() : rest.mid(end + 1).trimmed();
        } else {
            qsizetype end = rest.indexOf(QLatin1Char(' '));
            token = rest.left(end);
            rest = end < 0 ? QString() : rest.mid(end + 1).trimmed();
        }
        if (isSwitch) {
            if (token == QLatin1String("l") && !rest.isEmpty()) {
                // \l "bookmark": a place in the document itself
                QString mark;
                if (rest.startsWith(QLatin1Char('"'))) {
                    const qsizetype end = rest.indexOf(QLatin1Char('"'), 1);
                    mark = rest.mid(1, end < 0 ? -1 : end - 1);
                    rest = end < 0 ? QString() : rest.mid(end + 1).trimmed();
                } else {
                    const qsizetype end = rest.indexOf(QLatin1Char(' '));
                    mark = rest.left(end);
                    rest = end < 0 ? QString() : rest.mid(end + 1).trimmed();
                }
                anchor = mark;
            } else if (token == QLatin1String("o") || token == QLatin1String("t")) {
                // a tip or a target frame: its argument is no address
                if (rest.startsWith(QLatin1Char('"'))) {
                    const qsizetype end = rest.indexOf(QLatin1Char('"'), 1);
                    rest = end < 0 ? QString() : rest.mid(end + 1).trimmed();
                }
            }
        } else if (url.isEmpty()) {
            url = token;
        }
    }
    if (!anchor.isEmpty())
        url += QLatin1Char('#') + anchor;
    return url;
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
    void OnGroupClose();

    void AppendBytes(QByteArrayView bytes, int codePage);
    void FlushBytes();
    void AppendText(const QString &text);
    void AppendBodyText(const QString &text);

    int CodePageOf(const CharProps &chr) const;
    const FontEntry *FontOf(int number) const;
    QColor ColorOf(int index) const;
    QTextCharFormat CharFormatOf(const CharProps &chr) const;

    void EnsureBlock();
    void FlushRun();
    void EndParagraph();
    void PageBreak();
    void ApplyBlockFormat();
    void Finish();

    void CommitFont();
    void CommitStyle();
    void ApplyStyle(int number, bool character);
    void StartPicture();
    void PictureWord(Kw kind, bool has, int value);
    void PictureText(QByteArrayView text);
    void FinishPicture();

    static constexpr int MaxGroupDepth = 1000;
    static constexpr int MaxFields = 100000;

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
    QHash<int, Style> styles_;
    std::vector<Field> fields_;
    QStringList links_;

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

    // the style being defined
    int styleNumber_ = 0;
    bool styleCharacter_ = false;
    bool styleActive_ = false;

    // the picture being read, and the group depth at which it started
    PictureState picture_;
    size_t pictureDepth_ = 0;

    // the body: text not yet inserted, all with the same properties
    QString runText_;
    CharProps runProps_;
    bool pendingBlock_ = false;    // a \par ended the last block; the next content opens one
    bool blockHasContent_ = false; // the current block holds characters
    bool blockPageBreak_ = false;  // a \page came before the current block
    bool nextPageBreak_ = false;   // a \page came while pendingBlock_
    bool cellPending_ = false;     // a \cell ended a cell; more text of the row needs a tab
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
            if (stack_.size() == 1)
                break; // the outer group is complete; anything after it is ignored
            OnGroupClose();
            continue;
        }

        if (State().destination == Destination::Skip) {
            lexer_.Skip(token);
            continue;
        }

        if (ucSkip_ > 0) {
            if (const QByteArrayView rest = lexer_.SkipFallback(token, ucSkip_); !rest.isEmpty())
                OnText(rest);
            continue;
        }

        switch (token.type) {
        case RtfToken::ControlWord:
            if (star && !RtfKeywords::ReadableStarred(RtfKeywords::Find(token.word).kind)) {
                State().destination = Destination::Skip;
                break;
            }
            OnWord(token);
            break;
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
    if (started) {
        // A file that ends inside a picture still gets the picture.
        while (stack_.size() > 1)
            OnGroupClose();
        Finish();
    }
    cursor_.endEditBlock();
    return ok;
}

void Parser::OnGroupClose()
{
    const Destination destination = State().destination;
    if (destination == Destination::FontTable)
        CommitFont();
    if (destination == Destination::Picture && stack_.size() == pictureDepth_)
        FinishPicture();
    stack_.pop_back();
}

void Parser::OnWord(const RtfToken &token)
{
    const RtfKeywords::Keyword keyword = RtfKeywords::Find(token.word);
    if (keyword.kind == Kw::Unknown)
        return; // unknown words are ignored, their group's text is kept
    const bool has = token.hasParameter;
    const int value = token.parameter;
    const bool on = !has || value != 0;
    GroupState &state = State();
    const Destination destination = state.destination;

    if (destination == Destination::Picture) {
        PictureWord(keyword.kind, has, value);
        return;
    }

    switch (keyword.kind) {
    case Kw::Unknown:
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
    case Kw::Stylesheet:
        state.destination = Destination::Stylesheet;
        state.chr = CharProps();
        state.para = ParaProps();
        break;
    case Kw::SkipDestination:
        state.destination = Destination::Skip;
        break;
    case Kw::Transparent:
        break;
    case Kw::Field:
        if (destination == Destination::Body && fields_.size() < MaxFields) {
            fields_.emplace_back();
            state.field = int(fields_.size() - 1);
        }
        break;
    case Kw::FieldInstruction:
        state.destination = state.field >= 0 ? Destination::FieldInstruction : Destination::Skip;
        break;
    case Kw::FieldResult:
        if (state.field >= 0) {
            state.destination = Destination::Body;
            const QString target = HyperlinkTarget(fields_[state.field].instruction);
            if (!target.isEmpty()) {
                links_.append(target);
                state.chr.link = int(links_.size() - 1);
            }
        }
        break;
    case Kw::Pict:
        if (destination == Destination::Body) {
            state.destination = Destination::Picture;
            StartPicture();
        } else {
            state.destination = Destination::Skip;
        }
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

    case Kw::Style:
    case Kw::CharStyle:
    case Kw::OtherStyle:
        if (destination == Destination::Stylesheet) {
            styleActive_ = keyword.kind != Kw::OtherStyle;
            styleNumber_ = value;
            styleCharacter_ = keyword.kind == Kw::CharStyle;
        } else if (destination == Destination::Body && keyword.kind != Kw::OtherStyle) {
            ApplyStyle(value, keyword.kind == Kw::CharStyle);
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
    case Kw::Plain: {
        const int link = state.chr.link; // a link stays a link whatever its look
        state.chr = CharProps();
        state.chr.link = link;
        break;
    }
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
    case Kw::Background:
        state.chr.background = qMax(0, value);
        break;
    case Kw::Super:
        state.chr.position = on ? VerticalPosition::Super : VerticalPosition::Normal;
        break;
    case Kw::Sub:
        state.chr.position = on ? VerticalPosition::Sub : VerticalPosition::Normal;
        break;
    case Kw::NoSuperSub:
        state.chr.position = VerticalPosition::Normal;
        break;
    case Kw::Up:
        state.chr.baseline = has ? qBound(0, value, 3276) : 6;
        break;
    case Kw::Dn:
        state.chr.baseline = -(has ? qBound(0, value, 3276) : 6);
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
    case Kw::Sl:
        // \sl1000 was how some writers said "single"; so was \sl0.
        state.para.lineSpacing = (value == 1000 || !has)
            ? 0 : qBound(-RtfFormat::MaxTwips, value, RtfFormat::MaxTwips);
        break;
    case Kw::SlMult:
        state.para.lineMultiple = on;
        break;
    case Kw::PageBb:
        state.para.pageBreakBefore = on;
        break;
    case Kw::Keep:
        state.para.keep = on;
        break;
    case Kw::TabRight:
        state.para.nextTab = QTextOption::RightTab;
        break;
    case Kw::TabCenter:
        state.para.nextTab = QTextOption::CenterTab;
        break;
    case Kw::TabDecimal:
        state.para.nextTab = QTextOption::DelimiterTab;
        break;
    case Kw::TabStop:
        if (state.para.tabs.size() < 64 && value >= 0 && value <= RtfFormat::MaxTwips)
            state.para.tabs.push_back({value, state.para.nextTab});
        state.para.nextTab = QTextOption::LeftTab;
        break;
    case Kw::TabBar:
        state.para.nextTab = QTextOption::LeftTab;
        break;

    case Kw::PngBlip:
    case Kw::JpegBlip:
    case Kw::EmfBlip:
    case Kw::WMetafile:
    case Kw::DiBitmap:
    case Kw::WBitmap:
    case Kw::PicW:
    case Kw::PicH:
    case Kw::PicWGoal:
    case Kw::PicHGoal:
    case Kw::PicScaleX:
    case Kw::PicScaleY:
    case Kw::WbmBitsPixel:
    case Kw::WbmWidthBytes:
        break; // only inside \pict

    case Kw::Par:
        if (destination == Destination::Body) {
            cellPending_ = false;
            EndParagraph();
        }
        break;
    case Kw::Row:
        if (destination == Destination::Body) {
            cellPending_ = false;
            EndParagraph();
        }
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
        AppendText(QStringLiteral("\t"));
        break;
    case Kw::Cell:
        // The cells of a row become one paragraph with tabs between them.
        if (destination == Destination::Body) {
            if (cellPending_)
                AppendText(QStringLiteral("\t"));
            cellPending_ = true;
        }
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
        if (State().destination == Destination::Body) {
            cellPending_ = false;
            EndParagraph();
        }
        break;
    default:
        break;
    }
}

void Parser::OnText(QByteArrayView text)
{
    switch (State().destination) {
    case Destination::Body:
    case Destination::FieldInstruction: {
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
            if (colors_.size() < 4096)
                colors_.append(colorSet_ ? QColor(red_, green_, blue_) : QColor());
            red_ = green_ = blue_ = 0;
            colorSet_ = false;
        }
        break;
    case Destination::Stylesheet:
        if (text.contains(';'))
            CommitStyle();
        break;
    case Destination::Picture:
        PictureText(text);
        break;
    case Destination::Skip:
        break;
    }
}

void Parser::OnByte(unsigned char byte)
{
    const char c = static_cast<char>(byte);
    const Destination destination = State().destination;
    if (destination == Destination::Body && byte < 0x20) {
        if (byte == '\t')
            AppendText(QStringLiteral("\t"));
        return;
    }
    if (destination == Destination::FontTable && c == ';') {
        // an escaped ';' is part of the name, not its end
        AppendBytes(QByteArrayView(&c, 1), RtfCodePage::Ansi);
        return;
    }
    if (destination == Destination::Picture || destination == Destination::Stylesheet)
        return; // an escaped byte is neither a hex digit nor the end of a style
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
    GroupState &state = State();
    switch (state.destination) {
    case Destination::Body:
        AppendBodyText(text);
        break;
    case Destination::FontTable:
        if (fontActive_ && font_.name.size() < 256)
            font_.name += text;
        break;
    case Destination::FieldInstruction:
        if (state.field >= 0 && fields_[state.field].instruction.size() < 4096)
            fields_[state.field].instruction += text;
        break;
    case Destination::ColorTable:
    case Destination::Stylesheet:
    case Destination::Picture:
    case Destination::Skip:
        break;
    }
}

void Parser::AppendBodyText(const QString &text)
{
    EnsureBlock();
    if (cellPending_) {
        cellPending_ = false;
        AppendBodyText(QStringLiteral("\t"));
    }
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

QColor Parser::ColorOf(int index) const
{
    if (index > 0 && index < colors_.size())
        return colors_[index];
    return QColor();
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
    if (const QColor color = ColorOf(chr.color); color.isValid())
        format.setForeground(color);
    if (const QColor color = ColorOf(chr.background); color.isValid())
        format.setBackground(color);
    if (chr.position == VerticalPosition::Super)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (chr.position == VerticalPosition::Sub)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (chr.baseline != 0) {
        format.setProperty(RtfFormat::BaselineHalfPoints, chr.baseline);
        format.setBaselineOffset(100.0 * chr.baseline / chr.halfPoints);
    }
    if (chr.link >= 0 && chr.link < links_.size()) {
        // Links show underlined, the underline in blue.
        format.setAnchor(true);
        format.setAnchorHref(links_[chr.link]);
        format.setFontUnderline(true);
        format.setUnderlineColor(QColor(0, 0, 255));
    }
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
    if (para.lineSpacing != 0)
        RtfFormat::SetLineSpacing(format, para.lineSpacing, para.lineMultiple);
    if (!para.tabs.empty()) {
        QList<QTextOption::Tab> tabs;
        for (const TabStop &tab : para.tabs) {
            QTextOption::Tab t(tab.twips / 20.0, tab.type,
                               tab.type == QTextOption::DelimiterTab ? QChar('.') : QChar());
            tabs.append(t);
        }
        format.setTabPositions(tabs);
    }
    if (para.keep)
        format.setNonBreakableLines(true);
    if (para.pageBreakBefore || blockPageBreak_)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor_.setBlockFormat(format);
    CharProps mark = State().chr;
    mark.link = -1; // a paragraph mark is never part of a link
    cursor_.setBlockCharFormat(CharFormatOf(mark));
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

void Parser::CommitStyle()
{
    if (!styleActive_) {
        // The paragraph style 0 ("Normal") often comes without \s0.
        styleNumber_ = 0;
        styleCharacter_ = false;
    }
    if (styles_.size() < 4096) {
        Style style;
        style.chr = State().chr;
        style.chr.link = -1;
        style.para = State().para;
        style.character = styleCharacter_;
        styles_.insert(styleNumber_ + (styleCharacter_ ? 0x10000 : 0), style);
    }
    styleActive_ = false;
}

void Parser::ApplyStyle(int number, bool character)
{
    const auto it = styles_.constFind(number + (character ? 0x10000 : 0));
    if (it == styles_.constEnd())
        return;
    // The style gives what the paragraph or run has not set itself:
    // writers put \s before or after the explicit properties.
    GroupState &state = State();
    const CharProps plain;
    const CharProps &style = it->chr;
    CharProps &chr = state.chr;
    auto take = [](auto &value, const auto &styleValue, const auto &defaultValue) {
        if (value == defaultValue)
            value = styleValue;
    };
    take(chr.font, style.font, plain.font);
    take(chr.halfPoints, style.halfPoints, plain.halfPoints);
    take(chr.bold, style.bold, plain.bold);
    take(chr.italic, style.italic, plain.italic);
    take(chr.underline, style.underline, plain.underline);
    take(chr.strike, style.strike, plain.strike);
    take(chr.color, style.color, plain.color);
    take(chr.background, style.background, plain.background);
    take(chr.position, style.position, plain.position);
    take(chr.baseline, style.baseline, plain.baseline);
    if (character)
        return;
    const ParaProps none;
    const ParaProps &styled = it->para;
    ParaProps &para = state.para;
    take(para.alignment, styled.alignment, none.alignment);
    take(para.leftIndent, styled.leftIndent, none.leftIndent);
    take(para.rightIndent, styled.rightIndent, none.rightIndent);
    take(para.firstIndent, styled.firstIndent, none.firstIndent);
    take(para.spaceBefore, styled.spaceBefore, none.spaceBefore);
    take(para.spaceAfter, styled.spaceAfter, none.spaceAfter);
    if (para.lineSpacing == 0) {
        para.lineSpacing = styled.lineSpacing;
        para.lineMultiple = styled.lineMultiple;
    }
    take(para.pageBreakBefore, styled.pageBreakBefore, none.pageBreakBefore);
    take(para.keep, styled.keep, none.keep);
    if (para.tabs.empty())
        para.tabs = styled.tabs;
}

void Parser::StartPicture()
{
    picture_ = PictureState();
    pictureDepth_ = stack_.size();
}

void Parser::PictureWord(Kw kind, bool has, int value)
{
    using Source = PictureState::Source;
    RtfPicture::Data &data = picture_.data;
    const int positive = qMax(0, value);
    switch (kind) {
    case Kw::PngBlip: picture_.source = Source::Png; break;
    case Kw::JpegBlip: picture_.source = Source::Jpeg; break;
    case Kw::EmfBlip: picture_.source = Source::Emf; break;
    case Kw::WMetafile:
        picture_.source = Source::Wmf;
        data.mapMode = has ? value : 8;
        break;
    case Kw::DiBitmap: picture_.source = Source::Dib; break;
    case Kw::WBitmap: picture_.source = Source::DeviceBitmap; break;
    case Kw::PicW: data.width = qMin(positive, 1 << 20); break;
    case Kw::PicH: data.height = qMin(positive, 1 << 20); break;
    case Kw::PicWGoal: data.goalWidth = qMin(positive, RtfFormat::MaxTwips * 4); break;
    case Kw::PicHGoal: data.goalHeight = qMin(positive, RtfFormat::MaxTwips * 4); break;
    case Kw::PicScaleX: data.scaleX = qBound(1, value, 10000); break;
    case Kw::PicScaleY: data.scaleY = qBound(1, value, 10000); break;
    case Kw::WbmBitsPixel: picture_.bitsPerPixel = value; break;
    case Kw::WbmWidthBytes: picture_.widthBytes = positive; break;
    case Kw::Bin:
        if (value > 0) {
            const QByteArrayView bytes = lexer_.ReadBinary(value);
            picture_.bytes.append(bytes.data(), bytes.size());
        }
        break;
    default:
        break;
    }
}

void Parser::PictureText(QByteArrayView text)
{
    QByteArray &bytes = picture_.bytes;
    bytes.reserve(bytes.size() + text.size() / 2);
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0)
            continue; // blanks between hex digits
        if (picture_.highNibble < 0) {
            picture_.highNibble = digit;
        } else {
            bytes.append(char(picture_.highNibble * 16 + digit));
            picture_.highNibble = -1;
        }
    }
}

void Parser::FinishPicture()
{
    using Source = PictureState::Source;
    using RtfFormat::Picture;
    RtfPicture::Data data = picture_.data;
    switch (picture_.source) {
    case Source::Png:
    case Source::Jpeg:
    case Source::Emf:
    case Source::Wmf:
        data.kind = picture_.source == Source::Png ? Picture::Png
            : picture_.source == Source::Jpeg     ? Picture::Jpeg
            : picture_.source == Source::Emf      ? Picture::Emf
                                                  : Picture::Wmf;
        data.bytes = picture_.bytes;
        break;
    case Source::Dib:
    case Source::DeviceBitmap: {
        // Bitmaps of older writers are kept as PNG, which every reader knows.
        const QImage image = picture_.source == Source::Dib
            ? RtfPicture::FromDib(picture_.bytes)
            : RtfPicture::FromDeviceBitmap(picture_.bytes, data.width, data.height,
                                           picture_.bitsPerPixel, picture_.widthBytes);
        if (image.isNull())
            return;
        RtfPicture::Data converted = RtfPicture::FromImage(image);
        converted.goalWidth = data.goalWidth ? data.goalWidth : converted.goalWidth;
        converted.goalHeight = data.goalHeight ? data.goalHeight : converted.goalHeight;
        converted.scaleX = data.scaleX;
        converted.scaleY = data.scaleY;
        data = converted;
        break;
    }
    case Source::None:
        return; // a picture of a kind we cannot show or keep
    }
    if (data.bytes.isEmpty())
        return;
    // The picture is a character of the paragraph: it goes in with the
    // run before it.
    EnsureBlock();
    if (cellPending_) {
        cellPending_ = false;
        AppendBodyText(QStringLiteral("\t"));
    }
    FlushRun();
    QTextImageFormat format = RtfPicture::Format(data, document_);
    // The picture carries the run's attributes, so writing it needs no
    // font of its own.
    const CharProps chr = State().chr;
    const QMap<int, QVariant> run = CharFormatOf(chr).properties();
    for (auto it = run.cbegin(); it != run.cend(); ++it)
        format.setProperty(it.key(), it.value());
    cursor_.insertText(QString(QChar::ObjectReplacementCharacter), format);
    blockHasContent_ = true;
}

qsizetype RtfStart(QByteArrayView bytes)
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

bool RtfReader::LooksLikeRtf(QByteArrayView bytes)
{
    return bytes.sliced(RtfStart(bytes)).startsWith("{\\rtf");
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
