// Handlers of the evaluator that live in their own files.
#pragma once

#include "exec/exec.h"

// Statements and control flow.
NRefPtr evalBlock(NContext& ctx, Node* node);
NRefPtr evalIf(NContext& ctx, Node* node);
NRefPtr evalLoop(NContext& ctx, Node* node);  // OP_WHILE, OP_DO, OP_FOR
NRefPtr evalSwitch(NContext& ctx, Node* node);
NRefPtr evalTry(NContext& ctx, Node* node);

// Declarations.
NRefPtr evalVar(NContext& ctx, Node* node);
NRefPtr evalExtern(NContext& ctx, Node* node);

// input(...) and linput(...).
NRefPtr evalInput(NContext& ctx, Node* node);

// The truth of a condition node, as conditionTest(line, evaluate(ctx, node)).
bool evaluateCondition(NContext& ctx, Node* node, int line);

// evaluate() for a node whose value is not wanted (a loop's step).
void evaluateForEffect(NContext& ctx, Node* node);

// Element-wise arithmetic with the 1x1 case computed directly. A temporary
// that nobody else holds is reused for the result.
NRefPtr binaryOp(int line, NRefPtr a, NRefPtr b, Complex (*f)(int, Complex, Complex));
NRefPtr unaryOp(int line, NRefPtr a, Complex (*f)(int, Complex));
