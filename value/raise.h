// The run-time error: a std::runtime_error whose text is the finished message.
#pragma once

#include <stdexcept>

// Formats the message printf-style; the text is "error [LINE]: MESSAGE" when
// line >= 1, else "error: MESSAGE". Never returns.
[[noreturn]] void raiseError(int line, const char* format, ...) __attribute__((format(printf, 2, 3)));
