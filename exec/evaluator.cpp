// The node evaluator: one recursive dispatch over the node kinds.
#include <new>
#include <stdexcept>
#include <vector>

#include "exec/depth_guard.h"
#include "exec/eval_parts.h"
#include "exec/functions.h"
#include "exec/lvalue.h"
#include "exec/prepare.h"
#include "exec/scalar_eval.h"
#include "value/kernels.h"
#include "value/ops.h"
#include "value/raise.h"

NContext::~NContext() = default;

namespace {

inline NNum* scalarNum(const NRefPtr& v) {
    NNum* n = asNum(v);
    return n && n->cols == 1 && n->rows == 1 ? n : nullptr;
}
// Held by this one reference and bound to no variable: free to overwrite.
inline bool unshared(const NNum* n) { return n->refCount == 1 && n->bindCount == 0; }

}  // namespace

NRefPtr binaryOp(int line, NRefPtr a, NRefPtr b, Complex (*f)(int, Complex, Complex)) {
    NNum* x = scalarNum(a);
    NNum* y = scalarNum(b);
    if (!x || !y) return op2(line, a, b, f);
    Complex z = f(line, x->data[0], y->data[0]);
    if (unshared(x)) {
        x->data[0] = z;
        return a;
    }
    if (unshared(y)) {
        y->data[0] = z;
        return b;
    }
    return makeNum(z);
}

NRefPtr unaryOp(int line, NRefPtr a, Complex (*f)(int, Complex)) {
    NNum* x = scalarNum(a);
    if (!x) return op1(line, a, f);
    Complex z = f(line, x->data[0]);
    if (unshared(x)) {
        x->data[0] = z;
        return a;
    }
    return makeNum(z);
}

void notDeclared(Node* ident) { raiseError(ident->line, "Variable %s not declared", identName(ident)); }

namespace {

#define HANDLER_DECL __attribute__((noinline))

// The plain binary operation of kind (OP_ADD .. OP_LDIV) on two values.
NRefPtr combine(int line, std::int32_t kind, NRefPtr a, NRefPtr b) {
    NNum* x = scalarNum(a);
    NNum* y = scalarNum(b);
    if (x && y && kind != OP_DOT) return makeNum(elementOperation(kind, line, x->data[0], y->data[0]));
    return generalOperation(line, kind, std::move(a), std::move(b));
}

inline Symbol* visibleSymbol(Node* ident) {
    Symbol* s = lookupIdent(ident);
    if (!s) notDeclared(ident);
    return s;
}

NRefPtr evalIdent(Node* node) { return visibleSymbol(node)->valueRef(); }

// The handlers are kept out of line, so that the recursive evaluate() frame
// stays small: how deep a recursion can go depends on the stack it takes.
#define HANDLER __attribute__((noinline)) NRefPtr

HANDLER evalMatrix(NContext& ctx, Node* node) {
    int line = node->line;
    std::vector<NRefPtr> kept;
    std::int64_t totalRows = 0;
    std::int64_t width = 0;
    for (Node* row = node->child[0]; row; row = nextOf(row)) {
        std::int64_t w = 0;
        std::int64_t h = 0;
        for (Node* e = row->child[0]; e; e = nextOf(e)) {
            NRefPtr v = evaluate(ctx, e);
            NNum* m = asNum(v);
            if (!m) raiseError(line, "Matrix element must be number");
            w += m->cols;
            if (h < 1)
                h = m->rows;
            else if (m->rows != h)
                raiseError(line, "Matrix size error");
            kept.push_back(std::move(v));
        }
        totalRows += h;
        if (width > 0 && w != width) raiseError(line, "Matrix size error");
        if (width <= 0) width = w;
    }
    if (width > INT32_MAX || totalRows > INT32_MAX) raiseError(line, "Matrix size error");
    NNum* result = new NNum(static_cast<std::int32_t>(width), static_cast<std::int32_t>(totalRows));
    NRefPtr out(result);
    std::size_t k = 0;
    std::int32_t rowOffset = 0;
    for (Node* row = node->child[0]; row; row = nextOf(row)) {
        std::int32_t colOffset = 0;
        std::int32_t lastRows = 0;
        for (Node* e = row->child[0]; e; e = nextOf(e)) {
            const NNum* m = static_cast<const NNum*>(kept[k++].get());
            for (std::int32_t r = 0; r < m->rows; ++r)
                for (std::int32_t c = 0; c < m->cols; ++c) result->at(rowOffset + r, colOffset + c) = m->at(r, c);
            colOffset += m->cols;
            lastRows = m->rows;
        }
        rowOffset += lastRows;
    }
    return out;
}

HANDLER evalCond(NContext& ctx, Node* node) {
    int line = node->line;
    Node* const* p = static_cast<Payload3*>(node->data)->p;
    NRefPtr m = unaryOp(line, evaluate(ctx, p[0]), k_truth);
    NRefPtr n = unaryOp(line, m, k_not);
    NRefPtr e = binaryOp(line, std::move(n), evaluate(ctx, p[2]), k_select);
    NRefPtr t = binaryOp(line, std::move(m), evaluate(ctx, p[1]), k_select);
    return binaryOp(line, std::move(t), std::move(e), k_add);
}

// A variable's 1x1 number held by that variable alone: an update may
// overwrite it in place, as no one can observe the old object.
NNum* soleScalar(Symbol* s) {
    NRef* v = s->value;
    if (!v || v->kind != NKind::Num || v->bindCount != 1 || v->refCount != 0) return nullptr;
    NNum* n = static_cast<NNum*>(v);
    return n->cols == 1 && n->rows == 1 ? n : nullptr;
}

// A variable's string held by that variable alone (and by `holders` more
// references the caller knows of): a join may append to it in place.
NString* soleString(NRef* v, std::int32_t holders) {
    if (!v || v->kind != NKind::String || v->bindCount != 1 || v->refCount != holders) return nullptr;
    return static_cast<NString*>(v);
}

HANDLER evalStep(NContext& ctx, Node* node) {
    int line = node->line;
    bool up = node->kind == OP_PREINC || node->kind == OP_POSTINC;
    if (Node* target = node->child[0]; target->kind == OP_IDENT) {
        Symbol* s = visibleSymbol(target);
        if (NNum* n = soleScalar(s)) {
            Complex old = n->data[0];
            n->data[0] = up ? kern::add(old, Complex{1.0, 0.0}) : kern::sub(old, Complex{1.0, 0.0});
            if (node->kind == OP_POSTINC || node->kind == OP_POSTDEC) return makeNum(old);
            return NRefPtr(n);
        }
    }
    LValue lv = resolveTarget(ctx, node->child[0]);
    NRefPtr old = readTarget(line, lv);
    NRefPtr updated = binaryOp(line, old, makeNum(1.0), up ? k_add : k_sub);
    storeTarget(line, lv, updated);
    if (node->kind == OP_POSTINC || node->kind == OP_POSTDEC) return old;
    return updated;
}

HANDLER evalCompound(NContext& ctx, Node* node) {
    int line = node->line;
    LValue lv = resolveTarget(ctx, node->child[0]);
    NRefPtr x = evaluate(ctx, node->child[1]);
    std::int32_t kind = node->kind - kCompoundOffset;
    if (lv.kind == LValue::WHOLE && lv.epoch == symbolEpoch()) {
        if (kind != OP_DOT) {
            NNum* y = scalarNum(x);
            NNum* n = soleScalar(lv.sym);
            if (y && n) {
                n->data[0] = elementOperation(kind, line, n->data[0], y->data[0]);
                return NRefPtr(n);
            }
        }
        // s += t on a string only s holds: the joined string takes its place.
        NString* t = asString(x);
        if (kind == OP_ADD && t) {
            if (NString* s = soleString(lv.sym->value, 0); s && s != t) {
                s->text.append(t->text);
                return NRefPtr(s);
            }
        }
    }
    NRefPtr old = readTarget(line, lv);
    NRefPtr updated = combine(line, kind, std::move(old), std::move(x));
    storeTarget(line, lv, updated);
    return updated;
}

HANDLER evalSwap(NContext& ctx, Node* node) {
    int line = node->line;
    LValue a = resolveTarget(ctx, node->child[0]);
    LValue b = resolveTarget(ctx, node->child[1]);
    NRefPtr va = readTarget(line, a);
    NRefPtr vb = readTarget(line, b);
    storeTarget(line, a, vb);
    storeTarget(line, b, va);
    return makeNum(0.0);
}

HANDLER evalString(Node* node) {
    const StrPayload* s = static_cast<const StrPayload*>(node->data);
    return makeString(std::string(s->bytes, s->length));
}

HANDLER evalIndex(NContext& ctx, Node* node) {
    LValue lv = resolveTarget(ctx, node);
    return readTarget(node->line, lv);
}

HANDLER evalUnary(NContext& ctx, Node* node) {
    NRefPtr a = evaluate(ctx, node->child[0]);
    int line = node->line;
    switch (node->kind) {
    case OP_TRANS: return transpose(line, a);
    case OP_ANY: return anyOf(line, a);
    default: return allOf(line, a);
    }
}

// s = s + t, where s holds a string that only s holds: the joined string
// takes the old one's place. Anything else is the plain assignment of the
// plain sum, with the sum's operands already evaluated in their order.
HANDLER_DECL NRefPtr appendAssign(NContext& ctx, Node* node) {
    Node* target = node->child[0];
    Node* sum = node->child[1];
    NRefPtr left = evalIdent(sum->child[0]);
    NRefPtr right = evaluate(ctx, sum->child[1]);
    NString* t = asString(right);
    Symbol* stored = lookupIdent(target);
    if (NString* s = soleString(left.get(), 1); s && t && s != t && stored && stored->value == s) {
        s->text.append(t->text);
        return left;
    }
    return assignTo(ctx, target, combine(sum->line, OP_ADD, std::move(left), std::move(right)));
}

// target = e for a variable: a scalar stored over a scalar that only the
// variable holds overwrites it. Yields the assigned value when wanted.
template <bool WantValue>
__attribute__((always_inline)) inline NRefPtr assignVariable(NContext& ctx, Node* node) {
    Node* target = node->child[0];
    if (node->note.flags & NOTE_APPEND) {
        // Only when the variable holds a string now: numbers take the path below.
        Symbol* s = lookupIdent(target);
        if (s && s->value && s->value->kind == NKind::String) return appendAssign(ctx, node);
    }
    Complex z;
    NRefPtr v;
    if (evalScalar(ctx, node->child[1], &z, &v)) {
        if (Symbol* s = lookupIdent(target)) {
            if (NNum* n = soleScalar(s)) {
                n->data[0] = z;
                return WantValue ? NRefPtr(n) : NRefPtr();
            }
        }
        if (!v) v = makeNum(z);
    }
    if (WantValue) return assignTo(ctx, target, v);
    assignTo(ctx, target, v);
    return NRefPtr();
}

// x[e] = value, with one plain subscript: a 1x1 value is stored as its
// element. When the assignment's value is wanted, only for a value that is
// no variable's own object (an operator's result), since the element then
// stands for it.
template <bool WantValue>
__attribute__((always_inline)) inline NRefPtr assignElement(NContext& ctx, Node* node) {
    Node* target = node->child[0];
    Node* source = node->child[1];
    if (!WantValue || (source->note.flags & NOTE_FRESH_SCALAR)) {
        Complex z;
        NRefPtr v;
        if (evalScalar(ctx, source, &z, &v)) {
            storeElement(ctx, target, z);
            if (!WantValue) return NRefPtr();
            return v ? std::move(v) : makeNum(z);
        }
        return assignTo(ctx, target, v);
    }
    NRefPtr v = evaluate(ctx, source);
    return assignTo(ctx, target, v);
}

HANDLER evalAssign(NContext& ctx, Node* node) {
    Node* target = node->child[0];
    if (target->kind == OP_IDENT) return assignVariable<true>(ctx, node);
    if (plainElement(target)) return assignElement<true>(ctx, node);
    NRefPtr v = evaluate(ctx, node->child[1]);
    return assignTo(ctx, target, v);
}

HANDLER evalComma(NContext& ctx, Node* node) {
    evaluate(ctx, node->child[0]);
    return evaluate(ctx, node->child[1]);
}

HANDLER evalSame(NContext& ctx, Node* node) {
    NRefPtr b = evaluate(ctx, node->child[1]);
    NRefPtr a = evaluate(ctx, node->child[0]);
    int line = node->line;
    bool same = node->kind == OP_SAME;
    NRefPtr compared;
    if (scalarNum(a) && scalarNum(b))
        compared = binaryOp(line, std::move(a), std::move(b), same ? k_eq : k_ne);
    else
        compared = same ? compareEQ(line, a, b) : compareNE(line, a, b);
    return same ? allOf(line, compared) : anyOf(line, compared);
}

void jump(NContext& ctx, Node* node) {
    if (node->kind == OP_RETURN) {
        NRefPtr v = node->child[0] ? valueOf(ctx, node->child[0]) : makeNum(0.0);
        ctx.setWithValue(CS_RETURN, node->line, std::move(v));
    } else {
        ctx.setJump(node->kind == OP_BREAK ? CS_BREAK : CS_CONTINUE, node->line, 1);
    }
}

HANDLER evalFileId(Node* node) {
    double re = node->re;
    return NRefPtr(new NFileID(re > -1e9 && re < 1e9 ? static_cast<std::int32_t>(re) : -1));
}

#undef HANDLER

NRefPtr dispatch(NContext& ctx, Node* node) {
    switch (node->kind) {
    case OP_NUM: return makeNum(node->re, node->im);
    case OP_IDENT: return evalIdent(node);
    case OP_STR: return evalString(node);
    case OP_FILEID: return evalFileId(node);
    case OP_MATRIX: return evalMatrix(ctx, node);
    case OP_INDEX: return evalIndex(ctx, node);
    case OP_ADD:
    case OP_SUB:
    case OP_MUL:
    case OP_DIV:
    case OP_POW:
    case OP_MOD:
    case OP_DOT:
    case OP_LDIV:
    case OP_AND:
    case OP_OR:
    case OP_EQ:
    case OP_NE:
    case OP_GT:
    case OP_GE:
    case OP_LT:
    case OP_LE:
    case OP_NEG:
    case OP_NOT: return evalOperator(ctx, node);
    case OP_TRANS:
    case OP_ANY:
    case OP_ALL: return evalUnary(ctx, node);
    case OP_BLOCK: return evalBlock(ctx, node);
    case OP_ASSIGN: return evalAssign(ctx, node);
    case OP_COND: return evalCond(ctx, node);
    case OP_COMMA: return evalComma(ctx, node);
    case OP_PREINC:
    case OP_POSTINC:
    case OP_PREDEC:
    case OP_POSTDEC: return evalStep(ctx, node);
    case OP_ADDSET:
    case OP_SUBSET:
    case OP_MULSET:
    case OP_DIVSET:
    case OP_POWSET:
    case OP_MODSET:
    case OP_DOTSET:
    case OP_LDIVSET: return evalCompound(ctx, node);
    case OP_VAR: return evalVar(ctx, node);
    case OP_EXTERN: return evalExtern(ctx, node);
    case OP_CALL: return evaluateCall(ctx, node);
    case OP_IF: return execIf(ctx, node), makeNum(0.0);
    case OP_WHILE:
    case OP_DO:
    case OP_FOR: return execLoop(ctx, node), makeNum(0.0);
    case OP_TRY: return execTry(ctx, node), makeNum(0.0);
    case OP_SWITCH: return execSwitch(ctx, node), makeNum(0.0);
    case OP_CASE:
    case OP_DEFAULT: return makeNum(0.0);
    case OP_SAME:
    case OP_NSAME: return evalSame(ctx, node);
    case OP_BREAK:
    case OP_CONTINUE:
    case OP_RETURN: return jump(ctx, node), makeNum(0.0);
    case OP_SWAP: return evalSwap(ctx, node);
    case OP_INPUT:
    case OP_LINPUT: return evalInput(ctx, node);
    default: raiseError(node->line, "Unknown opcode: %d", node->kind);
    }
}

// Every node but the leaves and calls: under the guard, so that nesting
// ends in an error before the stack does.
__attribute__((noinline)) NRefPtr evaluateGuarded(NContext& ctx, Node* node) {
    DepthGuard guard(node->line);
    try {
        return dispatch(ctx, node);
    } catch (const std::bad_alloc&) {
        // A script that grows a value without bound (s += s) ends in an
        // error of its own run, not in the end of the process.
        raiseError(node->line, "Not enough memory");
    } catch (const std::length_error&) {
        raiseError(node->line, "Not enough memory");
    }
}

}  // namespace

NRefPtr evaluate(NContext& ctx, Node* node) {
    // Leaves nest nothing: the guard of the node above them bounds the depth.
    if (node->kind == OP_NUM) return makeNum(node->re, node->im);
    if (node->kind == OP_IDENT) return evalIdent(node);
    // A call takes its levels itself.
    if (node->kind == OP_CALL) return evaluateCall(ctx, node);
    return evaluateGuarded(ctx, node);
}

namespace {

// x++ and the like on a scalar only x holds: updated in place.
bool stepInPlace(Node* node) {
    Node* target = node->child[0];
    if (target->kind != OP_IDENT) return false;
    Symbol* s = lookupIdent(target);
    NNum* n = s ? soleScalar(s) : nullptr;
    if (!n) return false;
    Complex one{1.0, 0.0};
    bool up = node->kind == OP_PREINC || node->kind == OP_POSTINC;
    n->data[0] = up ? kern::add(n->data[0], one) : kern::sub(n->data[0], one);
    return true;
}

// Assignments and steps run for effect, kept out of the dispatch below so
// that the statements which only pass control on (if, return, loops) do not
// pay for the registers these need.
__attribute__((noinline)) void executeAssign(NContext& ctx, Node* node) {
    if (node->child[0]->kind == OP_IDENT) {
        assignVariable<false>(ctx, node);
        return;
    }
    if (plainElement(node->child[0])) {
        assignElement<false>(ctx, node);
        return;
    }
    evaluate(ctx, node);
}

__attribute__((noinline)) void executeStep(NContext& ctx, Node* node) {
    if (!stepInPlace(node)) evaluate(ctx, node);
}

__attribute__((noinline)) void executeOther(NContext& ctx, Node* node) { evaluate(ctx, node); }

inline void executeStatement(NContext& ctx, Node* node) {
    switch (node->kind) {
    case OP_ASSIGN: return executeAssign(ctx, node);
    case OP_PREINC:
    case OP_POSTINC:
    case OP_PREDEC:
    case OP_POSTDEC: return executeStep(ctx, node);
    // Statements that nest others: their nesting is bounded by the parser's
    // depth, and recursion passes through calls, which evaluate() guards.
    case OP_BLOCK: return execBlock(ctx, node);
    case OP_IF: return execIf(ctx, node);
    case OP_WHILE:
    case OP_DO:
    case OP_FOR: return execLoop(ctx, node);
    case OP_SWITCH: return execSwitch(ctx, node);
    case OP_TRY: return execTry(ctx, node);
    case OP_BREAK:
    case OP_CONTINUE:
    case OP_RETURN: return jump(ctx, node);
    default: return executeOther(ctx, node);
    }
}

}  // namespace

void execute(NContext& ctx, Node* node) {
    try {
        executeStatement(ctx, node);
    } catch (const std::bad_alloc&) {
        raiseError(node->line, "Not enough memory");
    } catch (const std::length_error&) {
        raiseError(node->line, "Not enough memory");
    }
}
