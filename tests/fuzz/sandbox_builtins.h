// Built-ins that reach outside the process (shell commands, waits, sound,
// console keys, writing files) must not run from fuzz input: this replaces
// their keys with entries that raise a run-time error.
#pragma once

// Call after registerCoreBuiltins(); registering a key again replaces it.
void installSandboxBuiltins();
