// Evaluation of expressions whose value is most often a 1x1 number: the
// element comes back alone, without a value object made for it. Each
// prepared operator node gets a handler made for its kind and the kinds of
// its operands (a literal, a variable, anything else), chosen once when the
// tree is prepared.
#pragma once

#include "exec/exec.h"
#include "exec/prepare.h"
#include "value/kernels.h"

// true: the value is a 1x1 number, its element is in *z; *v may then hold a
// new object (no variable's, held by nothing else) whose element is that
// same one, for a caller that needs the value as an object. false: the value
// (of any shape or kind, or none) is in *v. A variable read this way is
// copied, so callers use it only where nothing can store into the variable
// before the element is used.
using ScalarFn = bool (*)(NContext& ctx, Node* node, Complex* z, NRefPtr* v);

// The general handler: the node evaluated as a value, then looked at.
bool scalarByValue(NContext& ctx, Node* node, Complex* z, NRefPtr* v);

inline bool evalScalar(NContext& ctx, Node* node, Complex* z, NRefPtr* v) {
    auto f = reinterpret_cast<ScalarFn>(node->note.handler);
    return f ? f(ctx, node, z, v) : scalarByValue(ctx, node, z, v);
}

// A node's value. An operator's 1x1 result (never a variable's own object)
// is made straight from its element; anything else is evaluated as usual.
__attribute__((always_inline)) inline NRefPtr valueOf(NContext& ctx, Node* node) {
    if (node->note.flags & NOTE_FRESH_SCALAR) {
        Complex z;
        NRefPtr v;
        if (evalScalar(ctx, node, &z, &v) && !v) return makeNum(z);
        return v;
    }
    return evaluate(ctx, node);
}

// The truth of a condition node, as conditionTest(line, evaluate(ctx, node)).
inline bool evaluateCondition(NContext& ctx, Node* node, int line) {
    Complex z;
    NRefPtr v;
    if (evalScalar(ctx, node, &z, &v)) return kern::truth(z);
    return conditionTest(line, v);
}

// An operator node (binary, comparison, negation, not) evaluated as a value.
NRefPtr evalOperator(NContext& ctx, Node* node);

// x[e] with one subscript that is neither a range nor *.
bool plainElement(const Node* target);
// Stores z into such a target, as assigning a 1x1 number to it does: the
// subscript is evaluated and checked now.
void storeElement(NContext& ctx, Node* target, Complex z);

// The handler for a prepared node, or null for the general one.
ScalarFn scalarHandlerFor(const Node* node);

// The binary operation or comparison of kind on two values of any shape
// and kind.
NRefPtr generalOperation(int line, std::int32_t kind, NRefPtr a, NRefPtr b);
// The same on two elements (not OP_DOT).
Complex elementOperation(std::int32_t kind, int line, Complex a, Complex b);
