#include "richtext/RtfLexer.h"

#include <limits>

namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RtfToken RtfLexer::Next()
{
    RtfToken token;
    while (pos_ < input_.size()) {
        const char c = input_[pos_];
        if (c == '\r' || c == '\n') {
            ++pos_;
            continue;
        }
        if (c == '{') {
            ++pos_;
            token.type = RtfToken::GroupOpen;
            return token;
        }
        if (c == '}') {
            ++pos_;
            token.type = RtfToken::GroupClose;
            return token;
        }
        if (c == '\\')
            return ReadControl();

        const qsizetype start = pos_;
        while (pos_ < input_.size()) {
            const char t = input_[pos_];
            if (t == '\\' || t == '{' || t == '}' || t == '\r' || t == '\n')
                break;
            ++pos_;
        }
        token.type = RtfToken::Text;
        token.text = input_.sliced(start, pos_ - start);
        return token;
    }
    return token;
}

RtfToken RtfLexer::ReadControl()
{
    RtfToken token;
    ++pos_; // the backslash
    if (pos_ >= input_.size())
        return token; // a lone backslash at the very end

    const char first = input_[pos_];
    if (!IsLetter(first)) {
        ++pos_;
        if (first == '\'') {
            // \'hh: two hex digits.  A broken escape yields nothing rather
            // than swallowing the bytes that follow.
            if (pos_ + 1 < input_.size()) {
                const int high = HexValue(input_[pos_]);
                const int low = HexValue(input_[pos_ + 1]);
                if (high >= 0 && low >= 0) {
                    pos_ += 2;
                    token.type = RtfToken::HexByte;
                    token.byte = static_cast<unsigned char>(high * 16 + low);
                    return token;
                }
            }
            token.type = RtfToken::ControlSymbol;
            token.symbol = '\'';
            return token;
        }
        token.type = RtfToken::ControlSymbol;
        token.symbol = (first == '\r') ? '\n' : first;
        return token;
    }

    const qsizetype start = pos_;
    while (pos_ < input_.size() && IsLetter(input_[pos_]))
        ++pos_;
    token.type = RtfToken::ControlWord;
    token.word = input_.sliced(start, qMin<qsizetype>(pos_ - start, MaxWordLength));

    bool negative = false;
    if (pos_ + 1 < input_.size() && input_[pos_] == '-' && IsDigit(input_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < input_.size() && IsDigit(input_[pos_])) {
        // Saturate instead of overflowing: huge numbers are clamped by the
        // reader to whatever range the property allows.
        constexpr qint64 limit = std::numeric_limits<int>::max();
        qint64 value = 0;
        while (pos_ < input_.size() && IsDigit(input_[pos_])) {
            if (value <= limit)
                value = value * 10 + (input_[pos_] - '0');
            ++pos_;
        }
        value = qMin(value, limit);
        token.hasParameter = true;
        token.parameter = static_cast<int>(negative ? -value : value);
    }
    if (pos_ < input_.size() && input_[pos_] == ' ')
        ++pos_; // the delimiter belongs to the control word
    return token;
}

QByteArrayView RtfLexer::ReadBinary(qint64 count)
{
    const qint64 available = input_.size() - pos_;
    const qint64 n = qBound<qint64>(0, count, available);
    const QByteArrayView data = input_.sliced(pos_, n);
    pos_ += n;
    return data;
}

void RtfLexer::Skip(const RtfToken &token)
{
    if (token.type == RtfToken::ControlWord && token.word == "bin" && token.parameter > 0)
        ReadBinary(token.parameter);
}

QByteArrayView RtfLexer::SkipFallback(const RtfToken &token, int &ucSkip)
{
    if (token.type == RtfToken::Text) {
        const qsizetype n = qMin<qsizetype>(ucSkip, token.text.size());
        ucSkip -= int(n);
        return token.text.sliced(n);
    }
    --ucSkip;
    Skip(token);
    return {};
}
