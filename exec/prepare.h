// Prepares a parsed tree for running: notes, once per node, what the
// evaluator may take for granted about it.
#pragma once

#include <cstdint>

#include "frontend/context.h"
#include "frontend/node.h"

enum NoteFlag : std::uint32_t {
    // Evaluating the node (with its operands) may store into elements of a
    // variable's matrix, or run code that might: element stores, calls,
    // input statements.
    NOTE_MAY_STORE = 1u << 0,
    // A binary operation or comparison whose right operand cannot store into
    // a variable: a scalar variable on the left may be read as its element.
    NOTE_SCALAR_LEFT = 1u << 1,
};

void prepareTree(Node* root);
void prepareList(const Context& statements);
