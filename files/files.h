// The front door of the file subsystem: the ten file slots and the file
// built-ins (open, close, eof, rewind) of the core table.
#pragma once

#include "exec/exec.h"
