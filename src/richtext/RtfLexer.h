#pragma once

#include <QByteArray>
#include <QByteArrayView>

// One unit of RTF syntax.  Views point into the lexer's input, so a token
// costs no memory of its own whatever the input holds.
struct RtfToken
{
    enum Type {
        End,           // no more input
        GroupOpen,     // {
        GroupClose,    // }
        ControlWord,   // \word or \wordN
        ControlSymbol, // \ followed by one non-letter (\~ \- \* \\ ...)
        Text,          // a run of plain bytes (no line ends)
        HexByte,       // \'hh
    };

    Type type = End;
    QByteArrayView word;       // ControlWord: the letters, at most MaxWordLength
    bool hasParameter = false; // ControlWord: a numeric parameter followed
    int parameter = 0;         // ControlWord: saturated to the int range
    char symbol = 0;           // ControlSymbol: the character after the backslash
    QByteArrayView text;       // Text: the bytes
    unsigned char byte = 0;    // HexByte: the value
};

// Splits RTF bytes into tokens.  Line ends between tokens are dropped, as
// RTF asks; a backslash before a line end is reported as the control symbol
// '\n' (an old way of writing \par).  Never reads past the input and never
// allocates per token.
class RtfLexer
{
public:
    static constexpr int MaxWordLength = 32;

    explicit RtfLexer(QByteArrayView input) : input_(input) {}

    RtfToken Next();

    // After \binN: the next count bytes are raw data.  Returns them (fewer
    // when the input ends first) and moves past them.
    QByteArrayView ReadBinary(qint64 count);

    // A token inside a skipped destination: \bin data is passed over too.
    void Skip(const RtfToken &token);

    // While fallback characters of the last \uN are due (ucSkip > 0): takes
    // the token as fallback, where a text byte, a \'hh or a control word or
    // symbol each count as one, and counts ucSkip down.  Returns the rest of
    // a text token that lies beyond the fallback (empty when none).
    QByteArrayView SkipFallback(const RtfToken &token, int &ucSkip);

    qsizetype Position() const { return pos_; }
    bool AtEnd() const { return pos_ >= input_.size(); }

private:
    RtfToken ReadControl();

    QByteArrayView input_;
    qsizetype pos_ = 0;
};
