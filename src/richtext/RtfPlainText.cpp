#include "richtext/RtfPlainText.h"

#include "richtext/RtfCodePage.h"
#include "richtext/RtfKeywords.h"
#include "richtext/RtfLexer.h"
#include "richtext/RtfReader.h"

#include <QStringDecoder>

#include <QHash>

#include <vector>

namespace {

using RtfKeywords::Kw;

struct State
{
    bool skip = false;
    bool fontTable = false;
    int font = -1;
    int uc = 1;
};

class PlainText
{
public:
    explicit PlainText(QByteArrayView input) : lexer_(input) {}
    QString Run();

private:
    void Word(const RtfToken &token, bool star);
    void Text(QByteArrayView text);
    void Bytes(QByteArrayView bytes);
    void Flush();
    void Append(QChar c)
    {
        Flush();
        OpenCell();
        out_.append(c);
    }
    void OpenCell()
    {
        if (cellPending_) {
            cellPending_ = false;
            out_.append(QLatin1Char('\t'));
        }
    }
    int CodePage() const;

    static constexpr size_t MaxDepth = 1000;

    RtfLexer lexer_;
    std::vector<State> stack_;
    QString out_;
    int ucSkip_ = 0;
    bool cellPending_ = false; // a cell ended; more text of the row needs a tab first
    int ansi_ = RtfCodePage::Ansi;
    int deff_ = 0;
    QHash<int, int> fontCodePages_;
    int fontNumber_ = -1;
    int fontCodePage_ = 0;
    QByteArray pending_;
    int pendingCodePage_ = RtfCodePage::Ansi;
    RtfCodePage::Decoder decoder_;
};

int PlainText::CodePage() const
{
    const int font = stack_.back().font < 0 ? deff_ : stack_.back().font;
    const auto it = fontCodePages_.constFind(font);
    return (it == fontCodePages_.constEnd() || it.value() == 0) ? ansi_ : it.value();
}

void PlainText::Flush()
{
    if (pending_.isEmpty())
        return;
    if (decoder_.CodePage() != pendingCodePage_)
        decoder_ = RtfCodePage::Decoder(pendingCodePage_);
    out_ += decoder_.Decode(pending_);
    pending_.clear();
}

void PlainText::Bytes(QByteArrayView bytes)
{
    if (cellPending_) {
        Flush();
        OpenCell();
    }
    const int codePage = CodePage();
    if (!pending_.isEmpty() && codePage != pendingCodePage_)
        Flush();
    pendingCodePage_ = codePage;
    if (codePage == RtfCodePage::Ansi && pending_.isEmpty()) {
        // The common case, decoded in place.
        const qsizetype start = out_.size();
        out_.resize(start + bytes.size());
        QChar *to = out_.data() + start;
        for (const char b : bytes)
            *to++ = RtfCodePage::Char1252(static_cast<unsigned char>(b));
        return;
    }
    pending_.append(bytes.data(), bytes.size());
}

void PlainText::Text(QByteArrayView text)
{
    State &state = stack_.back();
    if (state.fontTable) {
        if (text.contains(';') && fontNumber_ >= 0) {
            fontCodePages_.insert(fontNumber_, fontCodePage_);
            fontNumber_ = -1;
        }
        return;
    }
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20)
            continue;
        if (i > start)
            Bytes(text.sliced(start, i - start));
        if (byte == '\t')
            Append(QLatin1Char('\t'));
        start = i + 1;
    }
    if (start < text.size())
        Bytes(text.sliced(start));
}

void PlainText::Word(const RtfToken &token, bool star)
{
    const RtfKeywords::Keyword keyword = RtfKeywords::Find(token.word);
    State &state = stack_.back();
    if (star && !RtfKeywords::ReadableStarred(keyword.kind)) {
        state.skip = true;
        return;
    }
    const int value = token.parameter;
    switch (keyword.kind) {
    case Kw::Ansi: ansi_ = RtfCodePage::Ansi; break;
    case Kw::Mac: ansi_ = 10000; break;
    case Kw::Pc: ansi_ = 437; break;
    case Kw::Pca: ansi_ = 850; break;
    case Kw::AnsiCpg:
        if (token.hasParameter && value > 0)
            ansi_ = value;
        break;
    case Kw::Deff: deff_ = value; break;
    case Kw::Uc: state.uc = qBound(0, value, 255); break;
    case Kw::U: {
        ucSkip_ = state.uc;
        const int code = value < 0 ? value + 0x10000 : value;
        if (code >= 0x20 && code <= 0x10FFFF && code != 0x2029 && code != 0xFEFF
            && code != 0xFFFC) {
            Flush();
            OpenCell();
            const char32_t ch = char32_t(code);
            out_ += QString::fromUcs4(&ch, 1);
        }
        break;
    }
    case Kw::Bin:
        if (value > 0)
            lexer_.ReadBinary(value);
        break;
    case Kw::FontTable: state.fontTable = true; break;
    case Kw::Font:
        if (state.fontTable) {
            fontNumber_ = value;
            fontCodePage_ = 0;
        } else {
            state.font = value;
        }
        break;
    case Kw::FCharset:
        if (state.fontTable && fontCodePage_ == 0)
            fontCodePage_ = RtfCodePage::OfCharset(value);
        break;
    case Kw::Cpg:
        if (state.fontTable && value > 0)
            fontCodePage_ = value;
        break;
    case Kw::Plain: state.font = -1; break;
    case Kw::ColorTable:
    case Kw::Stylesheet:
    case Kw::SkipDestination:
    case Kw::FieldInstruction:
    case Kw::Pict:
        state.skip = true;
        break;
    case Kw::Par:
    case Kw::Row:
        cellPending_ = false;
        Append(QLatin1Char('\n'));
        break;
    case Kw::Line:
        Append(QLatin1Char('\n'));
        break;
    case Kw::Sect:
    case Kw::Page:
        // a break of its own only where no paragraph has just ended
        Flush();
        if (!out_.isEmpty() && !out_.endsWith(QLatin1Char('\n')))
            Append(QLatin1Char('\n'));
        break;
    case Kw::Tab:
        Append(QLatin1Char('\t'));
        break;
    case Kw::Cell:
        // tabs between the cells of a row, not after the last
        if (cellPending_)
            Append(QLatin1Char('\t'));
        cellPending_ = true;
        break;
    case Kw::Char: Append(QChar(keyword.ch)); break;
    default: break;
    }
}

QString PlainText::Run()
{
    bool started = false;
    bool star = false;
    for (;;) {
        const RtfToken token = lexer_.Next();
        if (token.type == RtfToken::End)
            break;
        if (!started) {
            if (token.type == RtfToken::GroupOpen) {
                started = true;
                stack_.emplace_back();
            }
            continue;
        }
        const bool starred = star;
        star = false;
        if (token.type == RtfToken::GroupOpen) {
            if (stack_.size() >= MaxDepth)
                break;
            stack_.push_back(stack_.back());
            ucSkip_ = 0;
            continue;
        }
        if (token.type == RtfToken::GroupClose) {
            ucSkip_ = 0;
            if (stack_.back().fontTable && fontNumber_ >= 0 && stack_.size() > 1
                && !stack_[stack_.size() - 2].fontTable) {
                fontCodePages_.insert(fontNumber_, fontCodePage_);
                fontNumber_ = -1;
            }
            if (stack_.size() == 1)
                break;
            stack_.pop_back();
            continue;
        }
        if (stack_.back().skip) {
            lexer_.Skip(token);
            continue;
        }
        if (ucSkip_ > 0) {
            if (const QByteArrayView rest = lexer_.SkipFallback(token, ucSkip_); !rest.isEmpty())
                Text(rest);
            continue;
        }
        switch (token.type) {
        case RtfToken::ControlWord:
            Word(token, starred);
            break;
        case RtfToken::ControlSymbol:
            switch (token.symbol) {
            case '*': star = true; break;
            case '\\': case '{': case '}': Text(QByteArrayView(&token.symbol, 1)); break;
            case '~': Append(QChar(0x00A0)); break;
            case '-': Append(QChar(0x00AD)); break;
            case '_': Append(QChar(0x2011)); break;
            case '\n':
            cellPending_ = false;
            Append(QLatin1Char('\n'));
            break;
            default: break;
            }
            break;
        case RtfToken::Text:
            Text(token.text);
            break;
        case RtfToken::HexByte:
            if (token.byte >= 0x20 && !stack_.back().fontTable) {
                const char c = char(token.byte);
                Bytes(QByteArrayView(&c, 1));
            } else if (token.byte == '\t') {
                Append(QLatin1Char('\t'));
            }
            break;
        default:
            break;
        }
    }
    Flush();
    if (out_.endsWith(QLatin1Char('\n')))
        out_.chop(1); // the \par that ends the last paragraph
    return out_;
}

} // namespace

QString RtfPlainText(QByteArrayView rtf)
{
    qsizetype start = 0;
    if (rtf.startsWith("\xEF\xBB\xBF"))
        start = 3;
    while (start < rtf.size() && (rtf[start] == ' ' || rtf[start] == '\t' || rtf[start] == '\r'
                                  || rtf[start] == '\n'))
        ++start;
    if (!rtf.sliced(start).startsWith("{\\rtf"))
        return QString();
    return PlainText(rtf.sliced(start)).Run();
}

QString DecodePlainText(QByteArrayView data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (utf8.hasError())
        text = RtfCodePage::Decoder(RtfCodePage::Ansi).Decode(data);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString EntryPlainText(QByteArrayView bytes)
{
    return RtfReader::LooksLikeRtf(bytes) ? RtfPlainText(bytes) : DecodePlainText(bytes);
}
