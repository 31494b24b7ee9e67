// Handlers of the evaluator that live in their own files.
#pragma once

#include "exec/exec.h"

// Statements and control flow. The exec forms run a statement whose value
// is not wanted; evaluate() yields the scalar zero for them.
NRefPtr evalBlock(NContext& ctx, Node* node);
void execBlock(NContext& ctx, Node* node);
void execIf(NContext& ctx, Node* node);
void execLoop(NContext& ctx, Node* node);  // OP_WHILE, OP_DO, OP_FOR
void execSwitch(NContext& ctx, Node* node);
void execTry(NContext& ctx, Node* node);
// A statement list whose value is not wanted (a function body, a loop's block).
void runListForEffect(NContext& ctx, Context* list);

// Declarations.
NRefPtr evalVar(NContext& ctx, Node* node);
NRefPtr evalExtern(NContext& ctx, Node* node);

// input(...) and linput(...).
NRefPtr evalInput(NContext& ctx, Node* node);

// evaluate() for a statement whose value is not wanted.
void execute(NContext& ctx, Node* node);

// The error of an identifier that names no visible variable. Out of line,
// so that the reads that may raise it stay short.
[[noreturn]] __attribute__((noinline)) void notDeclared(Node* ident);

// Element-wise arithmetic with the 1x1 case computed directly. A temporary
// that nobody else holds is reused for the result.
NRefPtr binaryOp(int line, NRefPtr a, NRefPtr b, Complex (*f)(int, Complex, Complex));
NRefPtr unaryOp(int line, NRefPtr a, Complex (*f)(int, Complex));
