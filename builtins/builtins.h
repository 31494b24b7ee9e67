// The front door of the built-in library: registration of the core table.
#pragma once

#include "exec/exec.h"

// Registers the core built-ins in table order.
void registerCoreBuiltins();
