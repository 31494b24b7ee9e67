#include "exec/interrupt.h"

#include <string>

#include "exec/exec.h"
#include "platform/interrupt.h"
#include "value/raise.h"

namespace {
bool g_runInterrupted = false;
}

void raiseInterrupted(int line) {
    clearInterrupt();
    std::string text = line >= 1 ? "error [" + std::to_string(line) + "]: Interrupted" : "error: Interrupted";
    throw InterruptedError(text);
}

// Kernels below the executor (a long matrix product) that stop early at
// Ctrl-C end through the executor's interruption error too.
namespace {
const bool kKernelsRaiseInterrupted = (setInterruptionRaiser(raiseInterrupted), true);
}

void noteRunInterrupted() { g_runInterrupted = true; }

bool takeRunInterrupted() {
    bool was = g_runInterrupted;
    g_runInterrupted = false;
    return was;
}
