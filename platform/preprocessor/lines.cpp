#include "platform/preprocessor/lines.h"

#include "platform/preprocessor/lexer.h"

namespace pp {

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

}  // namespace pp
