// Raising the interruption error inside the executor.
#pragma once

// Clears the request and throws InterruptedError with "error [LINE]: Interrupted".
[[noreturn]] void raiseInterrupted(int line);
// Notes that a run ended by interruption (read by takeRunInterrupted).
void noteRunInterrupted();
