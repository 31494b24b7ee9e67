// A request to stop the running program, made from a signal handler or
// another thread and honoured by the interpreter at its next step.
//
// Waiting for input goes through waitForInput(), which a request wakes at
// once: a blocking read would only notice it after the next key or line.
#pragma once

void requestInterrupt() noexcept;  // async-signal-safe
bool interruptPending() noexcept;
void clearInterrupt() noexcept;

// Waits until a read of fd would not block (input, end of input or an
// error). False when an interrupt is requested before that; the request
// stays pending and nothing has been read.
bool waitForInput(int fd) noexcept;
