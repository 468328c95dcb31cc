#include "JsonPrefix.h"

#include <cstring>
#include <vector>

namespace JsonPrefix {
namespace {

// What a token turned out to be: whole, ended by the end of the text, or impossible.
enum class Token { Whole, CutShort, Broken };

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A string from just after its opening quote; `at` ends just after the closing one.
Token string(QByteArrayView text, qsizetype &at)
{
    while (at < text.size()) {
        const auto c = static_cast<unsigned char>(text[at++]);
        if (c == '"')
            return Token::Whole;
        if (c < 0x20)
            return Token::Broken;
        if (c != '\\')
            continue;
        if (at == text.size())
            return Token::CutShort;
        const char escaped = text[at++];
        if (escaped == 'u') {
            for (int i = 0; i < 4; ++i, ++at) {
                if (at == text.size())
                    return Token::CutShort;
                if (!isHexDigit(text[at]))
                    return Token::Broken;
            }
        } else if (escaped == '\0' || !std::strchr("\"\\/bfnrt", escaped)) {
            return Token::Broken;
        }
    }
    return Token::CutShort;
}

// -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)? from its first character; `at` ends on the
// first character after it.
Token number(QByteArrayView text, qsizetype &at)
{
    enum State { Start, Minus, Zero, Integer, Dot, Fraction, Exponent, ExponentSign, ExponentDigits };
    State state = Start;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        const bool digit = isDigit(c);
        switch (state) {
        case Start:
            state = c == '-' ? Minus : c == '0' ? Zero : Integer;
            continue;
        case Minus:
            if (!digit)
                return Token::Broken;
            state = c == '0' ? Zero : Integer;
            continue;
        case Zero:
        case Integer:
            if (digit && state == Integer)
                continue;
            if (c == '.')
                state = Dot;
            else if (c == 'e' || c == 'E')
                state = Exponent;
            else
                return digit ? Token::Broken : Token::Whole; // "01" is no number
            continue;
        case Dot:
            if (!digit)
                return Token::Broken;
            state = Fraction;
            continue;
        case Fraction:
            if (digit)
                continue;
            if (c != 'e' && c != 'E')
                return Token::Whole;
            state = Exponent;
            continue;
        case Exponent:
            if (c == '+' || c == '-')
                state = ExponentSign;
            else if (digit)
                state = ExponentDigits;
            else
                return Token::Broken;
            continue;
        case ExponentSign:
            if (!digit)
                return Token::Broken;
            state = ExponentDigits;
            continue;
        case ExponentDigits:
            if (!digit)
                return Token::Whole;
            continue;
        }
    }
    // The end of the text ends a number only where it could end anyway.
    return state == Zero || state == Integer || state == Fraction || state == ExponentDigits ? Token::Whole
                                                                                               : Token::CutShort;
}

Token literal(QByteArrayView text, qsizetype &at, const char *word)
{
    for (const char *expected = word; *expected; ++expected, ++at) {
        if (at == text.size())
            return Token::CutShort;
        if (text[at] != *expected)
            return Token::Broken;
    }
    return Token::Whole;
}

} // namespace

bool isCutShort(QByteArrayView text)
{
    enum Expect { Value, ValueOrClose, KeyOrClose, Key, Colon, CommaOrClose, End };
    std::vector<char> open; // the brackets still open, innermost last
    Expect expect = Value;
    qsizetype at = 0;
    const auto closeInnermost = [&] {
        open.pop_back();
        expect = open.empty() ? End : CommaOrClose;
    };
    for (;;) {
        while (at < text.size() && isSpace(text[at]))
            ++at;
        if (at == text.size())
            return expect != End;
        const char c = text[at];
        Token token = Token::Whole;
        switch (expect) {
        case End:
            return false;
        case Colon:
            if (c != ':')
                return false;
            ++at;
            expect = Value;
            continue;
        case CommaOrClose:
            if (c == ',') {
                ++at;
                expect = open.back() == '{' ? Key : Value;
            } else if (c == (open.back() == '{' ? '}' : ']')) {
                ++at;
                closeInnermost();
            } else {
                return false;
            }
            continue;
        case KeyOrClose:
            if (c == '}') {
                ++at;
                closeInnermost();
                continue;
            }
            [[fallthrough]];
        case Key:
            if (c != '"')
                return false;
            ++at;
            token = string(text, at);
            if (token != Token::Whole)
                return token == Token::CutShort;
            expect = Colon;
            continue;
        case ValueOrClose:
            if (c == ']') {
                ++at;
                closeInnermost();
                continue;
            }
            [[fallthrough]];
        case Value:
            if (c == '{' || c == '[') {
                ++at;
                open.push_back(c);
                expect = c == '{' ? KeyOrClose : ValueOrClose;
                continue;
            }
            if (c == '"') {
                ++at;
                token = string(text, at);
            } else if (c == '-' || isDigit(c)) {
                token = number(text, at);
            } else if (c == 't' || c == 'f' || c == 'n') {
                token = literal(text, at, c == 't' ? "true" : c == 'f' ? "false" : "null");
            } else {
                return false;
            }
            if (token != Token::Whole)
                return token == Token::CutShort;
            expect = open.empty() ? End : CommaOrClose;
            continue;
        }
    }
}

} // namespace JsonPrefix
