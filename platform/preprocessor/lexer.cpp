#include "platform/preprocessor/lexer.h"

#include <cstring>

#include "platform/codepage.h"

namespace pp {

namespace {

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

unsigned char at(std::string_view s, std::size_t pos) {
    return pos < s.size() ? static_cast<unsigned char>(s[pos]) : 0;
}

std::size_t digitsEnd(std::string_view s, std::size_t pos) {
    while (isDigit(at(s, pos))) ++pos;
    return pos;
}

// The constants the scanner knows after '@', matched by prefix like the
// scanner does: @pix is @pi and a name x.
const char* const kConstants[] = {"pi", "e", "i", "j", "nan", "inf", "eps", "max", "min"};

}  // namespace

bool isNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$' || c >= 0x80;
}

bool isNamePart(unsigned char c) { return isNameStart(c) ? c != '$' : isDigit(c); }

bool isDoubleByte(std::string_view s, std::size_t pos) {
    return pos + 1 < s.size() && isLeadByte(static_cast<unsigned char>(s[pos])) &&
           isTrailByte(static_cast<unsigned char>(s[pos + 1]));
}

std::size_t nameEnd(std::string_view s, std::size_t pos) {
    pos += isDoubleByte(s, pos) ? 2 : 1;  // the first character may be '$'
    while (pos < s.size()) {
        if (isDoubleByte(s, pos)) {
            pos += 2;
        } else if (isNamePart(static_cast<unsigned char>(s[pos]))) {
            ++pos;
        } else {
            break;
        }
    }
    return pos;
}

bool startsNumber(std::string_view s, std::size_t pos) {
    return isDigit(at(s, pos)) || (at(s, pos) == '.' && isDigit(at(s, pos + 1)));
}

// Digits with an optional fraction, or a fraction alone; an optional
// exponent; an optional imaginary suffix. 1ei is the number 1 and the name ei.
std::size_t numberEnd(std::string_view s, std::size_t pos) {
    std::size_t end = digitsEnd(s, pos);
    if (at(s, end) == '.') end = digitsEnd(s, end + 1);
    unsigned char e = at(s, end);
    if (e == 'e' || e == 'E') {
        std::size_t exponent = end + 1;
        if (at(s, exponent) == '+' || at(s, exponent) == '-') ++exponent;
        if (isDigit(at(s, exponent))) end = digitsEnd(s, exponent);
    }
    unsigned char suffix = at(s, end);
    if (suffix == 'i' || suffix == 'I' || suffix == 'j' || suffix == 'J') ++end;
    return end;
}

std::size_t constantEnd(std::string_view s, std::size_t pos) {
    if (isDigit(at(s, pos + 1))) return pos + 2;
    std::size_t best = pos + 1;
    for (const char* name : kConstants) {
        std::size_t n = std::strlen(name);
        if (s.compare(pos + 1, n, name) == 0 && pos + 1 + n > best) best = pos + 1 + n;
    }
    return best;
}

std::size_t punctuatorEnd(std::string_view s, std::size_t pos) {
    static const char* const kLong[] = {"===", "!==", "**=", "...", "==", "!=", ">=", "<=", "&&", "||", "+=",
                                        "-=",  "*=",  "/=",  "^=",  "%=", "\\=", ".=", "++", "--", "**", "<<",
                                        ">>",  "##"};
    for (const char* p : kLong) {
        std::size_t n = std::strlen(p);
        if (s.compare(pos, n, p) == 0) return pos + n;
    }
    return pos + 1;
}

std::size_t lineCommentEnd(std::string_view s, std::size_t pos) {
    std::size_t end = s.find('\n', pos);
    return end == std::string_view::npos ? s.size() : end;
}

Span stringSpan(std::string_view s, std::size_t pos, bool endsAtLineEnd) {
    int newlines = 0;
    std::size_t i = pos + 1;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == '"') return {i + 1, newlines, true};
        if (c == '\n') {
            if (endsAtLineEnd) return {i, newlines, false};
            ++newlines;
            ++i;
        } else if (isDoubleByte(s, i)) {
            i += 2;
        } else if (c == '\\' && i + 1 < s.size() && !isDoubleByte(s, i + 1)) {
            // The escaped byte cannot end the string; an escaped line end
            // is still a line end.
            if (s[i + 1] == '\n') {
                if (endsAtLineEnd) return {i + 1, newlines, false};
                ++newlines;
            }
            i += 2;
        } else {
            ++i;
        }
    }
    return {s.size(), newlines, false};
}

Span blockCommentSpan(std::string_view s, std::size_t pos) {
    int newlines = 0;
    for (std::size_t i = pos + 2; i < s.size(); ++i) {
        if (s[i] == '\n') {
            ++newlines;
        } else if (s[i] == '*' && i + 1 < s.size() && s[i + 1] == '/') {
            return {i + 2, newlines, true};
        }
    }
    return {s.size(), newlines, false};
}

bool wouldJoin(unsigned char last, unsigned char next) {
    bool wordLast = isNamePart(last) || last == '$' || last == '@';
    if (wordLast && (isNamePart(next) || next == '$')) return true;
    if ((last == '.' && isDigit(next)) || (isDigit(last) && next == '.')) return true;
    if (next == '=' && last != 0 && std::strchr("=!<>+-*/^%\\.", last)) return true;
    if (last == next && last != 0 && std::strchr("&|+-*<>#.", last)) return true;
    return last == '/' && (next == '*' || next == '/');
}

Token Lexer::next() {
    Token token;
    bool space = false;
    for (;;) {
        if (pos_ >= text_.size()) {
            token.kind = TokenKind::End;
            token.space = space;
            return token;
        }
        unsigned char c = static_cast<unsigned char>(text_[pos_]);
        unsigned char c2 = at(text_, pos_ + 1);
        if (isBlank(c)) {
            ++pos_;
            space = true;
        } else if (c == '\n') {
            ++pos_;
            ++line_;
            if (!directive_) {
                token.kind = TokenKind::Newline;
                token.space = space;
                return token;
            }
            space = true;  // a line end inside a block comment of a directive
        } else if (c == '/' && c2 == '*') {
            Span comment = blockCommentSpan(text_, pos_);
            pos_ = comment.end;
            line_ += comment.newlines;
            space = true;
        } else if (c == '/' && c2 == '/') {
            pos_ = lineCommentEnd(text_, pos_);
            space = true;
        } else {
            break;
        }
    }
    std::size_t start = pos_;
    unsigned char c = static_cast<unsigned char>(text_[pos_]);
    if (c == '"') {
        Span string = stringSpan(text_, pos_, directive_);
        pos_ = string.end;
        line_ += string.newlines;
        lastStringOpen_ = !string.closed;
        token.kind = TokenKind::String;
    } else if (isNameStart(c)) {
        pos_ = nameEnd(text_, pos_);
        token.kind = TokenKind::Name;
    } else if (startsNumber(text_, pos_)) {
        pos_ = numberEnd(text_, pos_);
        token.kind = TokenKind::Number;
    } else if (c == '@') {
        pos_ = constantEnd(text_, pos_);
        token.kind = pos_ - start > 1 ? TokenKind::Number : TokenKind::Punctuator;
    } else {
        pos_ = punctuatorEnd(text_, pos_);
        token.kind = TokenKind::Punctuator;
    }
    token.text.assign(text_.data() + start, pos_ - start);
    token.space = space;
    return token;
}

}  // namespace pp
