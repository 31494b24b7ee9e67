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
    // Evaluating the node may declare a name in the innermost block scope:
    // var, extern, eval() and the input statements (which run typed text).
    NOTE_MAY_DECLARE = 1u << 2,
    // A block, if, loop or switch in which nothing can declare: it needs no
    // block scope of its own.
    NOTE_NO_SCOPE = 1u << 3,
    // s = s + t: an assignment whose value is the sum of its own variable
    // and something else (a string may be appended to in place).
    NOTE_APPEND = 1u << 4,
    // An operator with a handler whose 1x1 result is always a new value, never
    // a variable's own object: its element may stand for it.
    NOTE_FRESH_SCALAR = 1u << 5,
    // A tree at most kShallowHeight nodes high: evaluating it cannot nest
    // deep enough to need the depth guard (what it calls is guarded).
    NOTE_SHALLOW = 1u << 6,
    // if (c) return e; with no else and no block scope of its own.
    NOTE_IF_RETURN = 1u << 7,
};

constexpr std::uint32_t kShallowHeight = 16;

void prepareTree(Node* root);
void prepareList(const Context& statements);
