// String literals. While a literal is scanned its text is kept in an escaped
// intermediate form that never holds a NUL byte (\0, \xNN and \oNNN stay
// written out); the finished form is decoded from it once, after the text
// has been converted back to Shift_JIS, and may hold any byte.
#pragma once

#include <string>
#include <string_view>

// Appends the intermediate form of a hexadecimal (\x) or octal (\o) escape
// whose value has been read from the source.
void appendHexEscape(std::string& buffer, unsigned value);
void appendOctalEscape(std::string& buffer, unsigned value);

// Decodes the intermediate form (already Shift_JIS) into the final bytes.
std::string decodeStringLiteral(std::string_view intermediate);
