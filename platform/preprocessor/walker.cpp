#include "platform/preprocessor/walker.h"

#include <algorithm>
#include <climits>

#include "platform/interrupt.h"
#include "platform/preprocessor/expression.h"
#include "platform/preprocessor/lines.h"
#include "platform/preprocessor/sources.h"

namespace pp {

namespace {

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == npos ? std::string() : path.substr(0, slash + 1);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// Every fault reaches the user in this one form.
Failure failureAt(const std::string& name, int line, const std::string& message) {
    return Failure{"error [" + name + ":" + std::to_string(line) + "]: " + message};
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
    if (source.status != SourceFile::Read) {
        std::string why = source.status == SourceFile::Directory ? "Is a directory"
                          : source.error.empty()                   ? "No such file or directory"
                                                                   : source.error;
        throw Failure{"error: cannot open script file \"" + script + "\": " + why};
    }
    File file;
    file.path = script;
    file.name = script;
    file.text = std::move(source.bytes);
    processFile(file);
}

void Walker::chargeInput(std::size_t bytes) {
    if (bytes > kMaxInputBytes - inputBytes_) throw Fault{"too much included text (over 256 MiB in all)"};
    inputBytes_ += bytes;
}

SourceFile Walker::read(const std::string& path) {
    chargeInput(kFileOpenCost);
    SourceFile file;
    if (job_.read) {
        file = job_.read(path);
        acceptText(file);
    } else {
        file = readSourceFile(path);
    }
    if (file.status == SourceFile::Failed && interruptPending()) throw Fault{"Interrupted"};
    // A fault in the file's own text is reported at its own line.
    if (file.status == SourceFile::Failed && file.line > 0) throw failureAt(path, file.line, file.error);
    if (file.status == SourceFile::Read) chargeInput(file.bytes.size());
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
        throw failureAt(file.name, line, f.message);
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
    if (text.size() > kMaxDirectiveBytes) throw Fault{"directive too long (over 1 MiB)"};
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
        if (found.status == SourceFile::Failed)
            throw Fault{"cannot read include file \"" + target + "\": " + found.error};
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
    // Later lines count on from the number, and the scanner one past the
    // last: they too must stay in range.
    const long long room = INT_MAX - 1 - static_cast<long long>(file.text.size() - file.pos);
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

}  // namespace pp
