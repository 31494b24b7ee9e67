// The line structure of a source as the preprocessor sees it: where a
// directive line starts, and its text from the '#' to its end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pp {

constexpr std::size_t npos = std::string::npos;

// The '#' of a directive when the line at `pos` is one: blanks and block
// comments may come before it. npos otherwise.
std::size_t directiveStart(std::string_view text, std::size_t pos);

// The directive line from just after its '#' to its end: a backslash before
// a line end joins the next line, a block comment may run across lines, and
// a string ends at the line end. Returns the position after the line end;
// `lines` counts the line ends passed.
std::size_t extractDirective(std::string_view text, std::size_t pos, std::string& out, int& lines);

}  // namespace pp
