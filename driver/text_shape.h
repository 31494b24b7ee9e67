// What a talk-mode text leaves open at its end, judged with the scanner's
// rules for strings, comments and directive lines: whether more lines must
// follow before it can run (on a terminal), and whether it ends inside a
// line comment or a directive line.
#pragma once

#include <string>

struct TextShape {
    bool needsMoreLines = false;  // a bracket left open, or a block comment
    bool endsInLineComment = false;  // "//" or a "#" line still open at the end
};

// startsInComment: a block comment of an earlier input is still open.
TextShape shapeOf(const std::string& text, bool startsInComment);
