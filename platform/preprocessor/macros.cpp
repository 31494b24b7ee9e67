#include "platform/preprocessor/macros.h"

#include <algorithm>
#include <unordered_map>

#include "platform/interrupt.h"

namespace pp {

namespace {

bool isDynamic(std::string_view name) { return name == "__FILE__" || name == "__LINE__"; }

// A's spelling followed by B's, read again: one token when they make one,
// otherwise the two as they were (a pair like "/" "/" or two strings).
std::vector<Token> paste(const Token& left, const Token& right) {
    std::string joined = left.text + right.text;
    Lexer lexer(joined, true);
    Token t = lexer.next();
    if (t.kind != TokenKind::End && lexer.position() == joined.size() && t.text.size() == joined.size()) {
        t.space = left.space;
        return {t};
    }
    Token second = right;
    second.space = false;
    return {left, second};
}

}  // namespace

void checkMacroName(const Token& name, const std::string& directive) {
    if (name.kind == TokenKind::End) throw Fault{"no macro name given in #" + directive + " directive"};
    if (name.kind != TokenKind::Name) throw Fault{"macro names must be identifiers"};
}

// ---- the table ----

void MacroTable::define(Lexer& line) {
    Token name = line.next();
    checkMacroName(name, "define");
    if (name.text == "defined") throw Fault{"\"defined\" cannot be used as a macro name"};
    Macro macro;
    std::unordered_map<std::string, int> params;
    Token t = line.next();
    if (isPunct(t, "(") && !t.space) {
        macro.functionLike = true;
        t = line.next();
        if (!isPunct(t, ")")) {
            for (;;) {
                if (isPunct(t, "...")) {
                    macro.variadic = true;
                    params.emplace("__VA_ARGS__", static_cast<int>(params.size()));
                    t = line.next();
                    if (!isPunct(t, ")")) throw Fault{"missing \")\" after \"...\" in the parameters of " + name.text};
                    break;
                }
                if (t.kind != TokenKind::Name || t.text == "__VA_ARGS__")
                    throw Fault{"\"" + t.text + "\" cannot be a parameter of " + name.text};
                if (!params.emplace(t.text, static_cast<int>(params.size())).second)
                    throw Fault{"duplicate parameter \"" + t.text + "\" of " + name.text};
                if (params.size() > kMaxParams) throw Fault{"too many parameters of " + name.text};
                t = line.next();
                if (isPunct(t, ")")) break;
                if (!isPunct(t, ",")) throw Fault{"missing \")\" in the parameters of " + name.text};
                t = line.next();
            }
        }
        t = line.next();
    }
    for (; t.kind != TokenKind::End; t = line.next()) {
        if (macro.functionLike && t.kind == TokenKind::Name) {
            auto p = params.find(t.text);
            if (p != params.end()) t.param = static_cast<std::int16_t>(p->second);
        }
        macro.body.push_back(std::move(t));
    }
    std::vector<Token>& body = macro.body;
    if (!body.empty()) {
        body.front().space = false;
        if (isPunct(body.front(), "##") || isPunct(body.back(), "##"))
            throw Fault{"\"##\" cannot begin or end the replacement of " + name.text};
    }
    if (macro.functionLike) {
        for (std::size_t i = 0; i < body.size(); ++i) {
            if (isPunct(body[i], "#") && (i + 1 == body.size() || body[i + 1].param < 0))
                throw Fault{"\"#\" is not followed by a parameter in the replacement of " + name.text};
        }
    }
    macro.paramCount = static_cast<int>(params.size());
    undefine(name.text);
    if (body.size() > kMaxDefinedTokens - definedTokens_) throw Fault{"macro definitions too large in all"};
    definedTokens_ += body.size();
    macros_.emplace(name.text, std::move(macro));
}

void MacroTable::undefine(const std::string& name) {
    auto it = macros_.find(name);
    if (it == macros_.end()) return;
    definedTokens_ -= it->second.body.size();
    macros_.erase(it);
}

Macro* MacroTable::find(std::string_view name) {
    auto it = macros_.find(name);
    return it == macros_.end() ? nullptr : &it->second;
}

bool MacroTable::isDefined(std::string_view name) { return find(name) != nullptr || isDynamic(name); }

// ---- work and sources ----

void Budget::spend(std::size_t tokens) {
    useTokens_ += tokens;
    runTokens_ += tokens;
    if (useTokens_ > kMaxUseTokens || runTokens_ > kMaxRunTokens) throw Fault{"macro expansion too large"};
    sincePoll_ += tokens;
    if (sincePoll_ >= 4096) {
        sincePoll_ = 0;
        if (interruptPending()) throw Fault{"Interrupted"};
    }
}

bool ListSource::next(Token& token) {
    if (pos_ >= tokens_.size()) return false;
    token = std::move(tokens_[pos_++]);
    return true;
}

bool ListSource::takeOpenParen() {
    if (pos_ >= tokens_.size() || !isPunct(tokens_[pos_], "(")) return false;
    ++pos_;
    return true;
}

// ---- expansion ----

Expander::~Expander() {
    // A fault can leave frames open; their macros must not stay busy.
    for (Frame& f : frames_)
        if (f.macro) f.macro->busy = false;
}

void Expander::popFrame() {
    if (frames_.back().macro) frames_.back().macro->busy = false;
    frames_.pop_back();
}

bool Expander::readRaw(Token& token, bool fromBase) {
    while (!frames_.empty()) {
        Frame& f = frames_.back();
        if (f.pos < f.tokens.size()) {
            token = std::move(f.tokens[f.pos++]);
            return true;
        }
        popFrame();
    }
    return fromBase && base_.next(token);
}

bool Expander::takeOpenParen() {
    while (!frames_.empty()) {
        Frame& f = frames_.back();
        if (f.pos < f.tokens.size()) {
            if (!isPunct(f.tokens[f.pos], "(")) return false;
            ++f.pos;
            return true;
        }
        popFrame();
    }
    return base_.takeOpenParen();
}

bool Expander::next(Token& token) {
    for (;;) {
        if (!readRaw(token, true)) return false;
        if (!replace(token)) return true;
    }
}

bool Expander::nextUnexpanded(Token& token) { return readRaw(token, true); }

bool Expander::expandUse(Macro& macro, const Token& name, std::vector<Token>& out) {
    if (!enter(macro, name)) return false;
    Token t;
    while (readRaw(t, false)) {
        if (!replace(t)) out.push_back(std::move(t));
    }
    return true;
}

// Replaces a macro name by a new frame; false when the token stays.
bool Expander::replace(Token& token) {
    if (token.kind != TokenKind::Name || token.noExpand) return false;
    Macro* macro = macros_.find(token.text);
    if (macro == nullptr) {
        if (token.text == "__LINE__") {
            token.text = std::to_string(where_.line);
            token.kind = TokenKind::Number;
        } else if (token.text == "__FILE__") {
            token = Token{stringize({Token{markerName(where_.name), TokenKind::Name}}).text, TokenKind::String,
                          token.space};
        }
        return false;
    }
    if (macro->busy) {
        token.noExpand = true;
        return false;
    }
    return enter(*macro, token);
}

bool Expander::enter(Macro& macro, const Token& name) {
    Arguments args;
    if (macro.functionLike) {
        if (!takeOpenParen()) return false;
        args = collectArguments(macro, name);
    }
    std::vector<Token> tokens = substitute(macro, args);
    if (!tokens.empty()) tokens.front().space = name.space;
    frames_.push_back(Frame{std::move(tokens), 0, &macro});
    macro.busy = true;
    return true;
}

Expander::Arguments Expander::collectArguments(const Macro& macro, const Token& name) {
    Arguments result;
    std::vector<std::vector<Token>>& args = result.values;
    args.resize(1);
    int depth = 0;
    Token t;
    for (;;) {
        if (!readRaw(t, true)) throw Fault{"unterminated argument list invoking macro \"" + name.text + "\""};
        budget_.spend(1);
        if (t.kind == TokenKind::Punctuator) {
            if (t.text == "(") {
                ++depth;
            } else if (t.text == ")") {
                if (depth == 0) break;
                --depth;
            } else if (t.text == "," && depth == 0 &&
                       !(macro.variadic && static_cast<int>(args.size()) == macro.paramCount)) {
                args.emplace_back();
                continue;
            }
        }
        args.back().push_back(std::move(t));
    }
    const int want = macro.paramCount;
    const int given = static_cast<int>(args.size());
    if (want == 0 && given == 1 && args[0].empty()) {
        args.clear();
    } else if (macro.variadic && given == want - 1) {
        args.emplace_back();
        result.variadicOmitted = true;
    } else if (given > want) {
        throw Fault{"macro \"" + name.text + "\" passed " + std::to_string(given) + " arguments, but takes just " +
                    std::to_string(want)};
    } else if (given < want) {
        throw Fault{"macro \"" + name.text + "\" requires " + std::to_string(want) + " arguments, but only " +
                    std::to_string(given) + " given"};
    }
    return result;
}

std::vector<Token> Expander::expandArgument(const std::vector<Token>& arg) {
    if (depth_ >= kMaxArgumentDepth) throw Fault{"macro arguments nested too deeply"};
    ListSource source(arg);
    Expander inner(macros_, budget_, source, where_, depth_ + 1);
    std::vector<Token> out;
    Token t;
    while (inner.next(t)) out.push_back(std::move(t));
    budget_.spend(out.size());
    return out;
}

std::vector<Token> Expander::substitute(const Macro& macro, const Arguments& arguments) {
    const std::vector<std::vector<Token>>& args = arguments.values;
    const std::vector<Token>& body = macro.body;
    std::vector<Token> out;
    // Every token added is paid for as it comes, so that a large argument
    // used many times ends the expansion before it takes the memory.
    auto append = [&](const std::vector<Token>& tokens, std::size_t from = 0) {
        budget_.spend(tokens.size() - from + 1);
        out.insert(out.end(), tokens.begin() + static_cast<std::ptrdiff_t>(from), tokens.end());
    };
    std::vector<std::vector<Token>> expanded(args.size());
    std::vector<bool> isExpanded(args.size(), false);
    // The tokens an operand of ## stands for: a parameter's argument as
    // written, #parameter, or the token itself. Advances i past it.
    auto operand = [&](std::size_t& i) -> std::vector<Token> {
        const Token& b = body[i];
        if (macro.functionLike && isPunct(b, "#")) {
            ++i;
            Token s = stringize(args[body[i].param]);
            s.space = b.space;
            return {s};
        }
        if (b.param >= 0) {
            std::vector<Token> arg = args[b.param];
            if (!arg.empty()) arg.front().space = b.space;
            return arg;
        }
        return {b};
    };
    for (std::size_t i = 0; i < body.size(); ++i) {
        const Token& b = body[i];
        const bool pastedAfter = i + 1 < body.size() && isPunct(body[i + 1], "##");
        if (isPunct(b, "##")) {
            ++i;
            const bool variadicRight = macro.variadic && body[i].param == macro.paramCount - 1;
            std::vector<Token> right = operand(i);
            if (variadicRight && !out.empty() && isPunct(out.back(), ",")) {
                // , ## __VA_ARGS__: the comma goes when the variable
                // arguments are left out altogether.
                if (arguments.variadicOmitted) out.pop_back();
                append(right);
                continue;
            }
            if (right.empty()) continue;
            if (out.empty() || out.back().kind == TokenKind::Placemarker) {
                if (!out.empty()) out.pop_back();
                append(right);
                continue;
            }
            Token left = std::move(out.back());
            out.pop_back();
            std::vector<Token> joined = paste(left, right.front());
            append(joined);
            append(right, 1);
            continue;
        }
        if (b.param >= 0 && !pastedAfter) {
            const int p = b.param;
            if (!isExpanded[p]) {
                expanded[p] = expandArgument(args[p]);
                isExpanded[p] = true;
            }
            std::size_t first = out.size();
            append(expanded[p]);
            if (out.size() > first) out[first].space = b.space;
            continue;
        }
        std::vector<Token> tokens = operand(i);
        if (tokens.empty()) tokens.push_back(Token{"", TokenKind::Placemarker, b.space});
        append(tokens);
    }
    out.erase(std::remove_if(out.begin(), out.end(), [](const Token& t) { return t.kind == TokenKind::Placemarker; }),
              out.end());
    return out;
}

// ---- spellings ----

Token stringize(const std::vector<Token>& tokens) {
    std::string s = "\"";
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == TokenKind::Placemarker) continue;
        if (i > 0 && tokens[i].space && s.size() > 1) s += ' ';
        const std::string& text = tokens[i].text;
        for (std::size_t k = 0; k < text.size(); ++k) {
            if (isDoubleByte(text, k)) {
                s.append(text, k, 2);
                ++k;
            } else if (text[k] == '"' || text[k] == '\\') {
                s += '\\';
                s += text[k];
            } else if (text[k] == '\n') {
                s += "\\n";
            } else {
                s += text[k];
            }
        }
    }
    s += '"';
    return Token{s, TokenKind::String};
}

std::string markerName(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (c == '"' || c == '\n') c = '_';
    return out;
}

}  // namespace pp
