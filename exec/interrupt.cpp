#include "exec/interrupt.h"

#include <string>

#include "exec/exec.h"
#include "platform/interrupt.h"

namespace {
bool g_runInterrupted = false;
}

void raiseInterrupted(int line) {
    clearInterrupt();
    std::string text = line >= 1 ? "error [" + std::to_string(line) + "]: Interrupted" : "error: Interrupted";
    throw InterruptedError(text);
}

void noteRunInterrupted() { g_runInterrupted = true; }

bool takeRunInterrupted() {
    bool was = g_runInterrupted;
    g_runInterrupted = false;
    return was;
}
