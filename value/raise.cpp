#include "value/raise.h"

#include <cstdarg>
#include <cstdio>
#include <string>

void raiseError(int line, const char* format, ...) {
    // The message is formatted whole, however long; no fixed buffer can overflow.
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string message(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(message.data(), message.size() + 1, format, again);
    va_end(again);
    std::string text = line >= 1 ? "error [" + std::to_string(line) + "]: " + message : "error: " + message;
    throw std::runtime_error(text);
}

namespace {
void (*g_interruptionRaiser)(int line) = nullptr;
}

void setInterruptionRaiser(void (*raiser)(int line)) { g_interruptionRaiser = raiser; }

void raiseInterruption(int line) {
    if (g_interruptionRaiser) g_interruptionRaiser(line);
    raiseError(line, "Interrupted");
}
