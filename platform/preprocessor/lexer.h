// The lexical rules of the script language, as far as the preprocessor needs
// them: where names, numbers, strings and comments end. They follow the
// scanner, so that a name inside a string, a comment or a number (the e of
// 1e5, the x of @pix) is never taken for a macro. Shift_JIS characters are
// whole units everywhere: a trail byte 0x5C is never a backslash.
//
// Two differences from C: strings run across line ends, as the scanner
// reads them, and the apostrophe is the transpose operator, never the start
// of a character constant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pp {

enum class TokenKind : std::uint8_t { Name, Number, String, Punctuator, Newline, End, Placemarker };

struct Token {
    std::string text;
    TokenKind kind = TokenKind::End;
    bool space = false;       // blanks, a comment or a line end came before it
    bool noExpand = false;    // a name met inside its own macro's expansion: never replaced
    std::int16_t param = -1;  // in a macro body: the parameter it stands for
};

inline bool isPunct(const Token& t, const char* text) {
    return t.kind == TokenKind::Punctuator && t.text == text;
}

bool isNameStart(unsigned char c);
bool isNamePart(unsigned char c);
// A double-byte character starts at s[pos]: a lead byte with its trail byte.
bool isDoubleByte(std::string_view s, std::size_t pos);

// Each takes the position of an element's first byte and returns the
// position just past the element.
std::size_t nameEnd(std::string_view s, std::size_t pos);
bool startsNumber(std::string_view s, std::size_t pos);
std::size_t numberEnd(std::string_view s, std::size_t pos);
std::size_t constantEnd(std::string_view s, std::size_t pos);  // at '@': @pi, @eps, @3, or '@' alone
std::size_t punctuatorEnd(std::string_view s, std::size_t pos);
std::size_t lineCommentEnd(std::string_view s, std::size_t pos);  // at "//": the line end or the text end

// A string from its opening quote, or a block comment from its "/*".
struct Span {
    std::size_t end;   // just past the closing quote or "*/", or the end of what was searched
    int newlines;      // line ends inside
    bool closed;
};
// In a directive line a string ends at the line end, as in C.
Span stringSpan(std::string_view s, std::size_t pos, bool endsAtLineEnd);
Span blockCommentSpan(std::string_view s, std::size_t pos);

// Blanks that separate tokens on a line.
inline bool isBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == '\r'; }

// Whether two pieces of text written side by side would read as one token
// (or open a comment) where they were two: a blank must go between them.
bool wouldJoin(unsigned char last, unsigned char next);

// Splits a text into tokens. In text mode line ends are Newline tokens and
// strings run across them; in directive mode (a directive line, a macro
// body, a pasted pair) the text is one line and a string ends at its end.
class Lexer {
public:
    Lexer(std::string_view text, bool directive, int line = 1) : text_(text), directive_(directive), line_(line) {}
    Token next();
    std::size_t position() const { return pos_; }
    int line() const { return line_; }
    void moveTo(std::size_t pos, int line) {
        pos_ = pos;
        line_ = line;
    }
    // True when the last string read ran to the end of the line or text.
    bool lastStringOpen() const { return lastStringOpen_; }

private:
    std::string_view text_;
    bool directive_;
    std::size_t pos_ = 0;
    int line_;
    bool lastStringOpen_ = false;
};

}  // namespace pp
