// The interpreter state every whole-run fuzz input starts from and leaves
// behind.
#pragma once

// The core table with the keys that reach outside the process refused, one
// global frame, no open file, the default settings, the scanner as a fresh
// program has it.
void openFreshState();
// Calls main as the driver does for a script, when the program defines one,
// so that the test scripts among the seeds run their bodies.
void callMain();
void clearState();
