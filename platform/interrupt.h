// A request to stop the running program, made from a signal handler or
// another thread and honoured by the interpreter at its next step.
#pragma once

void requestInterrupt() noexcept;  // async-signal-safe
bool interruptPending() noexcept;
void clearInterrupt() noexcept;
