#include "platform/preprocessor/walker.h"

#include <algorithm>
#include <climits>

#include "platform/interrupt.h"
#include "platform/preprocessor/expression.h"
#include "platform/preprocessor/sources.h"

namespace pp {

namespace {

constexpr std::size_t npos = std::string::npos;

// The '#' of a directive when the line at `pos` is one: blanks and block
// comments may come before it.
std::size_t directiveStart(std::string_view text, std::size_t pos) {
    const std::size_t n = text.size();
    for (;;) {
        while (pos < n && isBlank(static_cast<unsigned char>(text[pos]))) ++pos;
        if (pos + 1 < n && text[pos] == '/' && text[pos + 1] == '*') {
            Span comment = blockCommentSpan(text, pos);
            if (!comment.closed) return npos;
            pos = comment.end;
            continue;
        }
        return pos < n && text[pos] == '#' ? pos : npos;
    }
}

// The directive line from just after its '#' to its end: a backslash before
// a line end joins the next line, a block comment may run across lines, and
// a string ends at the line end. Returns the position after the line end;
// `lines` counts the line ends passed.
std::size_t extractDirective(std::string_view text, std::size_t i, std::string& out, int& lines) {
    enum { Code, String, BlockComment, LineComment } state = Code;
    const std::size_t n = text.size();
    lines = 0;
    while (i < n) {
        char c = text[i];
        char c2 = i + 1 < n ? text[i + 1] : '\0';
        if (c == '\\' && c2 == '\n') {
            i += 2;
            ++lines;
            continue;
        }
        if (isDoubleByte(text, i)) {
            out.append(text.data() + i, 2);
            i += 2;
            continue;
        }
        if (c == '\n') {
            ++lines;
            ++i;
            if (state != BlockComment) return i;
            out += c;
            continue;
        }
        if (state == Code) {
            if (c == '"') {
                state = String;
            } else if (c == '/' && c2 == '*') {
                out += "/*";
                i += 2;
                state = BlockComment;
                continue;
            } else if (c == '/' && c2 == '/') {
                state = LineComment;
            }
        } else if (state == String) {
            if (c == '\\' && c2 != '\0' && !isDoubleByte(text, i + 1)) {
                out += c;
                out += c2;
                i += 2;
                continue;
            }
            if (c == '"') state = Code;
        } else if (state == BlockComment && c == '*' && c2 == '/') {
            out += "*/";
            i += 2;
            state = Code;
            continue;
        }
        out += c;
        ++i;
    }
    return n;
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == npos ? std::string() : path.substr(0, slash + 1);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

bool isPunct(const Token& t, const char* text) { return t.kind == TokenKind::Punctuator && t.text == text; }

void checkMacroName(const Token& name, const std::string& directive) {
    if (name.kind == TokenKind::End) throw Fault{"no macro name given in #" + directive + " directive"};
    if (name.kind != TokenKind::Name) throw Fault{"macro names must be identifiers"};
}

std::vector<Token> restOf(Lexer& line) {
    std::vector<Token> tokens;
    for (Token t = line.next(); t.kind != TokenKind::End; t = line.next()) tokens.push_back(std::move(t));
    return tokens;
}

std::string spelling(const std::vector<Token>& tokens) {
    std::string s;
    for (const Token& t : tokens) {
        if (!s.empty() && t.space) s += ' ';
        s += t.text;
    }
    return s;
}

// The text of the file being read, as the base beneath macro frames while
// a macro use in a text line is expanded: its arguments may run across
// lines, but never into a directive line.
class TextSource : public TokenSource {
public:
    TextSource(std::string_view text, std::size_t pos, int line) : text_(text), lexer_(text, false, line) {
        lexer_.moveTo(pos, line);
    }
    bool next(Token& token) override {
        bool newline = false;
        for (;;) {
            token = lexer_.next();
            if (token.kind == TokenKind::End) return false;
            if (token.kind == TokenKind::Newline) {
                if (directiveStart(text_, lexer_.position()) != npos) return false;
                newline = true;
                continue;
            }
            if (token.kind == TokenKind::String && lexer_.lastStringOpen()) {
                int began = lexer_.line() - static_cast<int>(std::count(token.text.begin(), token.text.end(), '\n'));
                throw Fault{"Unterminated string", began};
            }
            if (newline) token.space = true;
            return true;
        }
    }
    bool takeOpenParen() override {
        const std::size_t pos = lexer_.position();
        const int line = lexer_.line();
        for (;;) {
            Token t = lexer_.next();
            if (t.kind == TokenKind::Newline && directiveStart(text_, lexer_.position()) == npos) continue;
            if (isPunct(t, "(")) return true;
            break;
        }
        lexer_.moveTo(pos, line);
        return false;
    }
    std::size_t position() const { return lexer_.position(); }
    int line() const { return lexer_.line(); }

private:
    std::string_view text_;
    Lexer lexer_;
};

}  // namespace

// ---- options and the run ----

void Walker::applyOption(const std::string& option) {
    std::string body = option.substr(2);
    std::replace(body.begin(), body.end(), '\n', ' ');
    try {
        if (option[1] == 'U') {
            Lexer line(body, true);
            Token name = line.next();
            checkMacroName(name, "undef");
            macros_.undefine(name.text);
        } else {
            // -DNAME is NAME defined as 1; -DNAME=VALUE as VALUE.
            std::size_t eq = body.find('=');
            std::string text = eq == npos ? body + " 1" : body.substr(0, eq) + " " + body.substr(eq + 1);
            Lexer line(text, true);
            macros_.define(line);
        }
    } catch (const Fault& f) {
        throw Failure{"error: option \"" + option + "\": " + f.message};
    }
}

void Walker::run(const std::string& script) {
    SourceFile source;
    try {
        source = read(script);
    } catch (const Fault& f) {
        throw Failure{"error: " + f.message};
    }
    if (source.status == SourceFile::Failed && source.line > 0)
        throw Failure{"error [" + script + ":" + std::to_string(source.line) + "]: " + source.error};
    if (source.status != SourceFile::Read) {
        std::string why = source.status == SourceFile::Missing     ? "No such file or directory"
                          : source.status == SourceFile::Directory ? "Is a directory"
                                                                   : source.error;
        throw Failure{"error: cannot open script file \"" + script + "\": " + why};
    }
    File file;
    file.path = script;
    file.name = script;
    file.text = std::move(source.bytes);
    processFile(file);
}

SourceFile Walker::read(const std::string& path) {
    if (inputBytes_ > kMaxInputBytes - kFileOpenCost) throw Fault{"too much included text (over 256 MiB in all)"};
    inputBytes_ += kFileOpenCost;
    SourceFile file;
    if (job_.read) {
        file = job_.read(path);
        acceptText(file);
    } else {
        file = readSourceFile(path);
    }
    if (file.status == SourceFile::Failed && interruptPending()) throw Fault{"Interrupted"};
    if (file.status == SourceFile::Read) {
        if (file.bytes.size() > kMaxInputBytes - inputBytes_) throw Fault{"too much included text (over 256 MiB in all)"};
        inputBytes_ += file.bytes.size();
    }
    return file;
}

void Walker::pollInterrupt() {
    if (++linesSincePoll_ < 256) return;
    linesSincePoll_ = 0;
    if (interruptPending()) throw Fault{"Interrupted"};
}

void Walker::processFile(File& file) {
    try {
        walk(file);
    } catch (const Fault& f) {
        int line = f.line > 0 ? f.line : file.faultLine;
        throw Failure{"error [" + file.name + ":" + std::to_string(line) + "]: " + f.message};
    }
}

void Walker::walk(File& file) {
    if (file.text.compare(0, 2, "#!") == 0) {
        std::size_t end = file.text.find('\n');
        file.pos = end == npos ? file.text.size() : end + 1;
        file.line = 2;
    }
    while (file.pos < file.text.size()) {
        file.faultLine = file.line;
        pollInterrupt();
        std::size_t hash = directiveStart(file.text, file.pos);
        if (hash != npos) {
            directive(file, hash);
        } else if (file.active()) {
            copyTextLine(file);
        } else {
            skipTextLine(file);
        }
    }
    if (!file.conditionals.empty()) {
        const Conditional& open = file.conditionals.front();
        throw Fault{"unterminated #" + open.directive, open.line};
    }
}

// ---- directives ----

void Walker::directive(File& file, std::size_t hash) {
    file.line += static_cast<int>(std::count(file.text.begin() + static_cast<std::ptrdiff_t>(file.pos),
                                             file.text.begin() + static_cast<std::ptrdiff_t>(hash), '\n'));
    file.faultLine = file.line;
    std::string text;
    int lines = 0;
    file.pos = extractDirective(file.text, hash + 1, text, lines);
    file.line += lines;
    Lexer line(text, true, file.faultLine);
    Token name = line.next();
    if (name.kind != TokenKind::Name) return;  // "#" alone, "#!..." and the like
    const std::string& d = name.text;
    if (d == "if" || d == "ifdef" || d == "ifndef" || d == "elif" || d == "else" || d == "endif") {
        conditional(file, d, line);
        return;
    }
    if (!file.active()) return;
    if (d == "define") {
        macros_.define(line);
    } else if (d == "undef") {
        Token macro = line.next();
        checkMacroName(macro, "undef");
        macros_.undefine(macro.text);
    } else if (d == "include") {
        include(file, line, text);
    } else if (d == "line") {
        lineDirective(file, expandRest(file, line));
    } else if (d == "error") {
        throw Fault{"#error " + spelling(restOf(line))};
    }
    // #pragma and directives unknown here are passed over.
}

void Walker::conditional(File& file, const std::string& d, Lexer& line) {
    std::vector<Conditional>& open = file.conditionals;
    if (d == "if" || d == "ifdef" || d == "ifndef") {
        const bool parent = file.active();
        bool value = false;
        if (parent && d == "if") {
            value = evaluate(file, line);
        } else if (parent) {
            Token macro = line.next();
            checkMacroName(macro, d);
            value = macros_.isDefined(macro.text) == (d == "ifdef");
        }
        open.push_back(Conditional{file.faultLine, d, parent, parent && value, !parent || value, false});
        return;
    }
    if (open.empty()) throw Fault{"#" + d + " without #if"};
    Conditional& c = open.back();
    if (d == "endif") {
        open.pop_back();
        return;
    }
    if (c.sawElse) throw Fault{"#" + d + " after #else"};
    if (d == "else") {
        c.sawElse = true;
        c.active = c.parentActive && !c.taken;
        c.taken = true;
        return;
    }
    if (c.taken) {
        c.active = false;
        return;
    }
    c.active = c.taken = evaluate(file, line);
}

bool Walker::evaluate(File& file, Lexer& line) {
    ListSource source(restOf(line));
    where_ = Where{file.name, file.faultLine};
    budget_.startUse();
    Expander tokens(macros_, budget_, source, where_);
    return evaluateCondition(tokens, macros_);
}

std::vector<Token> Walker::expandRest(File& file, Lexer& line) {
    ListSource source(restOf(line));
    where_ = Where{file.name, file.faultLine};
    budget_.startUse();
    Expander expander(macros_, budget_, source, where_);
    std::vector<Token> tokens;
    Token t;
    while (expander.next(t)) tokens.push_back(std::move(t));
    return tokens;
}

void Walker::include(File& file, Lexer& line, const std::string& lineText) {
    if (file.depth >= kMaxIncludeDepth) throw Fault{"#include nested too deeply"};
    std::string target;
    bool angled = false;
    std::size_t p = line.position();
    while (p < lineText.size() && isBlank(static_cast<unsigned char>(lineText[p]))) ++p;
    if (p < lineText.size() && lineText[p] == '<') {
        std::size_t close = lineText.find('>', p + 1);
        if (close == npos) throw Fault{"missing \">\" in #include"};
        target = lineText.substr(p + 1, close - p - 1);
        angled = true;
    } else {
        // "name" as written, or macros that make "name" or <name>.
        std::vector<Token> tokens;
        Lexer probe = line;
        Token first = probe.next();
        if (first.kind == TokenKind::String) {
            tokens.push_back(first);
        } else {
            tokens = expandRest(file, line);
        }
        if (!tokens.empty() && tokens[0].kind == TokenKind::String && tokens[0].text.size() >= 2 &&
            tokens[0].text.back() == '"') {
            target = tokens[0].text.substr(1, tokens[0].text.size() - 2);
        } else if (!tokens.empty() && isPunct(tokens[0], "<")) {
            auto close = std::find_if(tokens.begin() + 1, tokens.end(), [](const Token& t) { return isPunct(t, ">"); });
            if (close == tokens.end()) throw Fault{"missing \">\" in #include"};
            target = spelling(std::vector<Token>(tokens.begin() + 1, close));
            angled = true;
        } else {
            throw Fault{"#include expects \"FILENAME\" or <FILENAME>"};
        }
    }
    if (target.empty()) throw Fault{"empty file name in #include"};

    std::vector<std::string> candidates;
    if (target[0] == '/') {
        candidates.push_back(target);
    } else {
        if (!angled) candidates.push_back(folderOf(file.path) + target);
        for (const std::string& dir : includeDirs_) candidates.push_back(joinPath(dir, target));
    }
    for (const std::string& path : candidates) {
        SourceFile found = read(path);
        if (found.status == SourceFile::Missing || found.status == SourceFile::Directory) continue;
        if (found.status == SourceFile::Failed) {
            if (found.line > 0) throw Failure{"error [" + path + ":" + std::to_string(found.line) + "]: " + found.error};
            throw Fault{"cannot read include file \"" + target + "\": " + found.error};
        }
        File child;
        child.path = path;
        child.name = path;
        child.text = std::move(found.bytes);
        child.depth = file.depth + 1;
        processFile(child);
        return;
    }
    throw Fault{"include file \"" + target + "\" not found"};
}

void Walker::lineDirective(File& file, std::vector<Token> tokens) {
    if (tokens.empty() || tokens[0].kind != TokenKind::Number) throw Fault{"#line needs a line number"};
    long long number = 0;
    for (char c : tokens[0].text) {
        if (c < '0' || c > '9') throw Fault{"\"" + tokens[0].text + "\" is not a line number"};
        number = number * 10 + (c - '0');
        if (number > INT_MAX) break;
    }
    // Later lines count on from the number: they too must stay in range.
    const long long room = INT_MAX - static_cast<long long>(file.text.size() - file.pos);
    if (number < 1 || number > room) throw Fault{"line number out of range"};
    if (tokens.size() > 1) {
        const std::string& s = tokens[1].text;
        if (tokens[1].kind != TokenKind::String || s.size() < 3 || s.back() != '"')
            throw Fault{"invalid file name in #line"};
        std::string name;
        for (std::size_t i = 1; i + 1 < s.size(); ++i) {
            if (s[i] == '\\' && i + 2 < s.size() && !isDoubleByte(s, i + 1)) ++i;
            name += s[i];
        }
        file.name = name;
    }
    file.line = static_cast<int>(number);
}

// ---- text lines ----

void Walker::sync(const File& file, int line) {
    if (!outStarted_ || outName_ != file.name || line < outLine_ || line - outLine_ > 8) {
        out_ += "#line " + std::to_string(line) + " \"" + markerName(file.name) + "\"\n";
        outName_ = file.name;
        outLine_ = line;
        outStarted_ = true;
    } else {
        out_.append(static_cast<std::size_t>(line - outLine_), '\n');
        outLine_ = line;
    }
}

// Copies one text line as it stands, except for the macro uses in it. This
// is the path nearly every line of a script takes, so it walks bytes and
// makes no tokens until it meets a macro name.
void Walker::copyTextLine(File& file) {
    const std::string& text = file.text;
    const std::size_t n = text.size();
    int line = file.line;
    sync(file, line);
    std::size_t i = file.pos;
    std::size_t flushed = i;
    auto flush = [&](std::size_t upTo) {
        out_.append(text, flushed, upTo - flushed);
        flushed = upTo;
    };
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const char c2 = i + 1 < n ? text[i + 1] : '\0';
        if (c == '\n') break;
        if (isNameStart(c)) {
            std::size_t end = nameEnd(text, i);
            Macro* macro = macros_.empty() ? nullptr : macros_.find(std::string_view(text).substr(i, end - i));
            if (macro != nullptr) {
                flush(i);
                if (expandInText(file, *macro, i, end, line)) {
                    i = flushed = file.pos;
                    continue;
                }
            }
            i = end;
        } else if (c == '"') {
            Span string = stringSpan(text, i, false);
            if (!string.closed) throw Fault{"Unterminated string", line};
            line += string.newlines;
            outLine_ += string.newlines;
            i = string.end;
        } else if (c == '/' && c2 == '*') {
            Span comment = blockCommentSpan(text, i);
            if (!comment.closed) {
                // Left open at the end: dropped, so the scanner does not
                // stay inside it for the next text it reads.
                flush(i);
                i = flushed = n;
                break;
            }
            line += comment.newlines;
            outLine_ += comment.newlines;
            i = comment.end;
        } else if (c == '/' && c2 == '/') {
            i = lineCommentEnd(text, i);
        } else if (startsNumber(text, i)) {
            i = numberEnd(text, i);
        } else if (c == '@') {
            i = constantEnd(text, i);
        } else {
            ++i;
        }
    }
    flush(i);
    out_ += '\n';
    ++outLine_;
    if (i < n) {
        ++i;
        ++line;
    }
    file.pos = i;
    file.line = line;
    if (out_.size() > kMaxOutputBytes) throw Fault{"macro expansion too large"};
}

// A text line of a group left out: only where it ends matters, and a
// string may run across lines there too.
void Walker::skipTextLine(File& file) {
    const std::string& text = file.text;
    const std::size_t n = text.size();
    std::size_t i = file.pos;
    while (i < n && text[i] != '\n') {
        const char c = text[i];
        const char c2 = i + 1 < n ? text[i + 1] : '\0';
        if (c == '"') {
            Span string = stringSpan(text, i, false);
            if (!string.closed) throw Fault{"Unterminated string", file.line};
            file.line += string.newlines;
            i = string.end;
        } else if (c == '/' && c2 == '*') {
            Span comment = blockCommentSpan(text, i);
            file.line += comment.newlines;
            i = comment.end;
        } else if (c == '/' && c2 == '/') {
            i = lineCommentEnd(text, i);
        } else if (isDoubleByte(text, i)) {
            i += 2;
        } else {
            ++i;
        }
    }
    if (i < n) {
        ++i;
        ++file.line;
    }
    file.pos = i;
}

bool Walker::expandInText(File& file, Macro& macro, std::size_t nameStart, std::size_t nameEnd, int& line) {
    const std::string& text = file.text;
    TextSource source(text, nameEnd, line);
    where_ = Where{file.name, line};
    budget_.startUse();
    Token name{text.substr(nameStart, nameEnd - nameStart), TokenKind::Name};
    std::vector<Token> tokens;
    {
        Expander expander(macros_, budget_, source, where_);
        if (!expander.expandUse(macro, name, tokens)) return false;
    }
    for (const Token& t : tokens) {
        if (t.text.empty()) continue;
        const unsigned char back = out_.empty() ? '\n' : static_cast<unsigned char>(out_.back());
        if (back != '\n' && !isBlank(back) && (t.space || wouldJoin(back, static_cast<unsigned char>(t.text[0]))))
            out_ += ' ';
        out_ += t.text;
        if (t.kind == TokenKind::String) outLine_ += static_cast<int>(std::count(t.text.begin(), t.text.end(), '\n'));
    }
    file.pos = source.position();
    line = source.line();
    // What follows in the text must not run into the expansion's end.
    if (file.pos < text.size() && !out_.empty() &&
        wouldJoin(static_cast<unsigned char>(out_.back()), static_cast<unsigned char>(text[file.pos])))
        out_ += ' ';
    return true;
}

}  // namespace pp
