#include "platform/preprocessor/expression.h"

#include <cstdint>

namespace pp {

namespace {

using Value = std::int64_t;
using Bits = std::uint64_t;

// Wrapping arithmetic through unsigned values, so that no overflow is
// undefined behaviour.
Value wrap(Bits b) { return static_cast<Value>(b); }

class Parser {
public:
    Parser(Expander& tokens, MacroTable& macros) : tokens_(tokens), macros_(macros) { advance(); }

    Value parseAll() {
        if (!have_) throw Fault{"#if with no expression"};
        Value v = conditional(true);
        if (have_) throw Fault{"unexpected \"" + current_.text + "\" in #if expression"};
        return v;
    }

private:
    void advance() { have_ = tokens_.next(current_); }
    bool at(const char* op) const { return have_ && isPunct(current_, op); }
    bool take(const char* op) {
        if (!at(op)) return false;
        advance();
        return true;
    }

    // Keeps the C++ recursion as shallow as the text's nesting allows.
    struct Nest {
        explicit Nest(int& depth) : depth_(depth) {
            if (++depth_ > kMaxExpressionDepth) throw Fault{"#if expression nested too deeply"};
        }
        ~Nest() { --depth_; }
        int& depth_;
    };

    Value conditional(bool live) {
        Nest nest(depth_);
        Value c = logicalOr(live);
        if (!take("?")) return c;
        Value yes = conditional(live && c != 0);
        if (!take(":")) throw Fault{"\"?\" without \":\" in #if expression"};
        Value no = conditional(live && c == 0);
        return c != 0 ? yes : no;
    }

    Value logicalOr(bool live) {
        Value v = logicalAnd(live);
        while (take("||")) {
            Value r = logicalAnd(live && v == 0);
            v = (v != 0 || r != 0) ? 1 : 0;
        }
        return v;
    }

    Value logicalAnd(bool live) {
        Value v = binary(0, live);
        while (take("&&")) {
            Value r = binary(0, live && v != 0);
            v = (v != 0 && r != 0) ? 1 : 0;
        }
        return v;
    }

    // The left-associative binary operators from | (level 0) to * / % (level 7).
    static int levelOf(const std::string& op) {
        static const char* const levels[][4] = {{"|"},        {"^"},        {"&"},       {"==", "!="},
                                                {"<", ">", "<=", ">="}, {"<<", ">>"}, {"+", "-"}, {"*", "/", "%"}};
        for (int level = 0; level < 8; ++level)
            for (const char* o : levels[level])
                if (o && op == o) return level;
        return -1;
    }

    Value binary(int level, bool live) {
        if (level == 8) return unary(live);
        Value v = binary(level + 1, live);
        while (have_ && current_.kind == TokenKind::Punctuator && levelOf(current_.text) == level) {
            std::string op = current_.text;
            advance();
            Value r = binary(level + 1, live);
            v = apply(op, v, r, live);
        }
        return v;
    }

    static Value apply(const std::string& op, Value a, Value b, bool live) {
        Bits ua = static_cast<Bits>(a), ub = static_cast<Bits>(b);
        switch (op[0]) {
        case '|': return wrap(ua | ub);
        case '^': return wrap(ua ^ ub);
        case '&': return wrap(ua & ub);
        case '=': return a == b;
        case '!': return a != b;
        case '+': return wrap(ua + ub);
        case '-': return wrap(ua - ub);
        case '*': return wrap(ua * ub);
        case '/':
        case '%':
            if (b == 0) {
                if (live) throw Fault{"division by zero in #if"};
                return 0;
            }
            if (b == -1) return op[0] == '/' ? wrap(0 - ua) : 0;
            return op[0] == '/' ? a / b : a % b;
        default: break;
        }
        if (op == "<<" || op == ">>") {
            bool left = (op == "<<") == (b >= 0);
            Bits count = b >= 0 ? ub : 0 - ub;
            if (left) return count >= 64 ? 0 : wrap(ua << count);
            if (count >= 64) return a < 0 ? -1 : 0;
            return a < 0 ? wrap(~(~ua >> count)) : wrap(ua >> count);
        }
        if (op == "<") return a < b;
        if (op == ">") return a > b;
        if (op == "<=") return a <= b;
        return a >= b;
    }

    Value unary(bool live) {
        Nest nest(depth_);
        if (take("-")) return wrap(0 - static_cast<Bits>(unary(live)));
        if (take("+")) return unary(live);
        if (take("~")) return wrap(~static_cast<Bits>(unary(live)));
        if (take("!")) return unary(live) == 0;
        return primary(live);
    }

    Value primary(bool live) {
        if (!have_) throw Fault{"#if expression ends too soon"};
        if (take("(")) {
            Value v = conditional(live);
            if (!take(")")) throw Fault{"missing \")\" in #if expression"};
            return v;
        }
        if (current_.kind == TokenKind::Name && current_.text == "defined") return definedOperand();
        if (current_.kind == TokenKind::Number) {
            Value v = integer(current_.text);
            advance();
            return v;
        }
        if (current_.kind == TokenKind::Name) {
            advance();
            return 0;
        }
        throw Fault{"unexpected \"" + current_.text + "\" in #if expression"};
    }

    // The name after defined is read as it stands, never replaced.
    Value definedOperand() {
        Token t;
        bool paren = false;
        if (!tokens_.nextUnexpanded(t)) throw Fault{"operator \"defined\" requires an identifier"};
        if (isPunct(t, "(")) {
            paren = true;
            if (!tokens_.nextUnexpanded(t)) throw Fault{"operator \"defined\" requires an identifier"};
        }
        if (t.kind != TokenKind::Name) throw Fault{"operator \"defined\" requires an identifier"};
        Value v = macros_.isDefined(t.text) ? 1 : 0;
        if (paren) {
            Token close;
            if (!tokens_.nextUnexpanded(close) || !isPunct(close, ")"))
                throw Fault{"missing \")\" after \"defined\""};
        }
        advance();
        return v;
    }

    static Value integer(const std::string& text) {
        Bits v = 0;
        for (char c : text) {
            if (c < '0' || c > '9') throw Fault{"\"" + text + "\" is not an integer (in #if)"};
            Bits digit = static_cast<Bits>(c - '0');
            if (v > (static_cast<Bits>(INT64_MAX) - digit) / 10) throw Fault{"integer " + text + " too large in #if"};
            v = v * 10 + digit;
        }
        return static_cast<Value>(v);
    }

    Expander& tokens_;
    MacroTable& macros_;
    Token current_;
    bool have_ = false;
    int depth_ = 0;
};

}  // namespace

bool evaluateCondition(Expander& tokens, MacroTable& macros) { return Parser(tokens, macros).parseAll() != 0; }

}  // namespace pp
