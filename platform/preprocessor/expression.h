// The integer constant expression of #if and #elif, with the operators and
// precedence of C, 64-bit signed arithmetic that wraps, and defined NAME or
// defined(NAME). Names left after macro replacement count as 0.
#pragma once

#include "platform/preprocessor/macros.h"

namespace pp {

// Reads the whole expression from `tokens`; throws Fault on a malformed
// one or a division by zero where it is evaluated.
bool evaluateCondition(Expander& tokens, MacroTable& macros);

}  // namespace pp
