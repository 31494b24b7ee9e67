// The run-time error: a std::runtime_error whose text is the finished message.
#pragma once

#include <stdexcept>

// Formats the message printf-style; the text is "error [LINE]: MESSAGE" when
// line >= 1, else "error: MESSAGE". Never returns.
[[noreturn]] void raiseError(int line, const char* format, ...) __attribute__((format(printf, 2, 3)));

// An operation that stopped early because the user asked to interrupt (a long
// matrix product) ends here. The executor installs the raise of its own
// interruption error, which scripts cannot catch; until one is installed this
// raises the run-time error "Interrupted".
[[noreturn]] void raiseInterruption(int line);
void setInterruptionRaiser(void (*raiser)(int line));
