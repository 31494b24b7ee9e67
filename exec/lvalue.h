// Assignment targets: a whole variable, a block of rows and columns
// (submatrix) or a run of elements in storage order (subarray).
#pragma once

#include <cstdint>

#include "exec/exec.h"
#include "exec/symbols.h"
#include "value/subscript.h"

struct LValue {
    enum Kind : std::uint8_t { NONE, WHOLE, SUBMATRIX, SUBARRAY };
    Kind kind = NONE;
    Symbol* sym = nullptr;
    Node* ident = nullptr;       // the variable's identifier node
    std::uint64_t epoch = 0;     // symbolEpoch() when sym was found
    Subarray array{0, 0};          // SUBARRAY
    Submatrix block{0, 0, 0, 0};   // SUBMATRIX
};

// Resolves an OP_IDENT or OP_INDEX (subscripts evaluated and checked against
// the current shape); any other node gives a record of kind NONE.
LValue resolveTarget(NContext& ctx, Node* node);
// The whole value (shared, not copied) or a new value holding the part.
NRefPtr readTarget(int line, LValue& lv);
// Stores v; a part is re-checked against the variable's current shape first.
void storeTarget(int line, LValue& lv, const NRefPtr& v);
// The assignment of an evaluated value to a target node; yields v (or the
// scalar zero for a node that is no target).
NRefPtr assignTo(NContext& ctx, Node* target, const NRefPtr& v);
