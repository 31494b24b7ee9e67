// The text lines of a script: copied as they stand except for macro uses,
// with the line markers that keep the scanner's count that of the sources.
#include <algorithm>

#include "platform/preprocessor/lines.h"
#include "platform/preprocessor/walker.h"

namespace pp {

namespace {

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
            passString(file, string, line);
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

void Walker::passString(File& file, const Span& string, int line) {
    if (!string.closed) {
        std::string message = "Unterminated string";
        if (file.firstLongString > 0 && file.firstLongString < line)
            message += " (the string opened at line " + std::to_string(file.firstLongString) + " runs across lines)";
        throw Fault{message, line};
    }
    if (string.newlines > 0 && file.firstLongString == 0) file.firstLongString = line;
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
            passString(file, string, file.line);
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
