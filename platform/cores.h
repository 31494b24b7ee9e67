// How many processors this process may run on.
#pragma once

// The processors in the process's affinity mask (what taskset or a cpuset
// leaves it), at least 1.
int usableCores();
