#include "driver/text_shape.h"

TextShape shapeOf(const std::string& text, bool startsInComment) {
    enum class Mode { Code, String, BlockComment, LineComment, Directive };
    Mode mode = startsInComment ? Mode::BlockComment : Mode::Code;
    int open = 0;
    bool overClosed = false;  // a closer without its opener: the parser says so at once
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        const char next = i + 1 < n ? text[i + 1] : '\0';
        switch (mode) {
            case Mode::Code:
                if (c == '"') {
                    mode = Mode::String;
                } else if (c == '/' && next == '*') {
                    mode = Mode::BlockComment;
                    ++i;
                } else if (c == '/' && next == '/') {
                    mode = Mode::LineComment;
                    ++i;
                } else if (c == '#') {
                    mode = Mode::Directive;
                } else if (c == '(' || c == '[' || c == '{') {
                    ++open;
                } else if (c == ')' || c == ']' || c == '}') {
                    if (--open < 0) overClosed = true;
                }
                break;
            case Mode::String:
                if (c == '\\') {
                    ++i;  // an escaped quote or backslash does not end the literal
                } else if (c == '"') {
                    mode = Mode::Code;
                }
                break;
            case Mode::BlockComment:
                if (c == '*' && next == '/') {
                    mode = Mode::Code;
                    ++i;
                }
                break;
            case Mode::LineComment:
                if (c == '\n') mode = Mode::Code;
                break;
            case Mode::Directive:
                if (c == '\\' && next == '\n') {
                    ++i;  // continued on the next line
                } else if (c == '\n') {
                    mode = Mode::Code;
                }
                break;
        }
    }
    TextShape shape;
    // A string left open is reported by the scanner when the text runs.
    shape.needsMoreLines = mode == Mode::BlockComment || (mode != Mode::String && open > 0 && !overClosed);
    shape.endsInLineComment = mode == Mode::LineComment || mode == Mode::Directive;
    return shape;
}
