// Macro definitions and their expansion: object-like and function-like
// macros, # and ##, variadic arguments, and the rule that a macro is not
// replaced again inside its own expansion. The algorithm is the classic one:
// each expansion is a frame of tokens read before the text that follows;
// while a frame is open its macro is busy, and a busy macro's name met then
// is marked never to expand.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/preprocessor/fault.h"
#include "platform/preprocessor/lexer.h"

namespace pp {

struct Macro {
    bool functionLike = false;
    bool variadic = false;  // the last parameter is __VA_ARGS__
    int paramCount = 0;
    std::vector<Token> body;
    bool busy = false;
};

// The name after #define, #undef, #ifdef or #ifndef (`directive`) must be
// an identifier.
void checkMacroName(const Token& name, const std::string& directive);

class MacroTable {
public:
    // Reads the rest of a #define line: the name, the parameters when "("
    // follows the name directly, the replacement. A new definition
    // replaces an old one.
    void define(Lexer& line);
    void undefine(const std::string& name);
    Macro* find(std::string_view name);
    bool isDefined(std::string_view name);  // __FILE__ and __LINE__ count
    bool empty() const { return macros_.empty(); }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };
    std::unordered_map<std::string, Macro, Hash, std::equal_to<>> macros_;
    std::size_t definedTokens_ = 0;  // in all replacements, capped
};

// The expansion work one run may do, so that a macro bomb ends with a
// message instead of filling the memory. Spending also polls Ctrl-C.
class Budget {
public:
    void startUse() { useTokens_ = 0; }
    void spend(std::size_t tokens);

private:
    std::size_t useTokens_ = 0;
    std::size_t runTokens_ = 0;
    std::size_t sincePoll_ = 0;
};

// Where tokens come from beneath the macro frames: the text of the file
// being read, or a fixed list (an argument, the rest of a directive).
class TokenSource {
public:
    virtual ~TokenSource() = default;
    // False at the end. Line ends only set the next token's space flag.
    virtual bool next(Token& token) = 0;
    // Takes a "(" that comes next; false, taking nothing, otherwise.
    virtual bool takeOpenParen() = 0;
};

class ListSource : public TokenSource {
public:
    explicit ListSource(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}
    bool next(Token& token) override;
    bool takeOpenParen() override;

private:
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
};

// The position that __FILE__ and __LINE__ stand for.
struct Where {
    std::string name;
    int line = 0;
};

class Expander {
public:
    Expander(MacroTable& macros, Budget& budget, TokenSource& base, const Where& where, int depth = 0)
        : macros_(macros), budget_(budget), base_(base), where_(where), depth_(depth) {}
    Expander(const Expander&) = delete;
    Expander& operator=(const Expander&) = delete;
    ~Expander();

    // The next token with every macro replaced; false at the end.
    bool next(Token& token);
    // The next token as it stands (the operand of defined).
    bool nextUnexpanded(Token& token);
    // One use of `macro` met in the text as `name`: appends its expansion
    // to `out`, reading arguments (and, for a function-like macro at the
    // end of the expansion, further arguments) from the base. False,
    // taking nothing, when a function-like macro's name has no "(" after it.
    bool expandUse(Macro& macro, const Token& name, std::vector<Token>& out);

private:
    struct Frame {
        std::vector<Token> tokens;
        std::size_t pos = 0;
        Macro* macro = nullptr;
    };
    bool readRaw(Token& token, bool fromBase);
    bool replace(Token& token);
    bool enter(Macro& macro, const Token& name);
    bool takeOpenParen();
    void popFrame();
    struct Arguments {
        std::vector<std::vector<Token>> values;
        bool variadicOmitted = false;  // F(a) for F(a, ...), not F(a,)
    };
    Arguments collectArguments(const Macro& macro, const Token& name);
    std::vector<Token> substitute(const Macro& macro, const Arguments& args);
    std::vector<Token> expandArgument(const std::vector<Token>& arg);

    MacroTable& macros_;
    Budget& budget_;
    TokenSource& base_;
    const Where& where_;
    int depth_;
    std::vector<Frame> frames_;
};

// The spelling of tokens as a string literal, as # makes it: one blank
// where blanks were, quotes and backslashes escaped so that the string's
// value is the spelling itself.
Token stringize(const std::vector<Token>& tokens);
// A name as a string literal (__FILE__) and as a line-marker name: the
// scanner's marker cannot hold a quote or a line end.
std::string markerName(const std::string& name);

}  // namespace pp
