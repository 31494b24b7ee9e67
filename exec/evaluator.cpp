// The node evaluator: one recursive dispatch over the node kinds.
#include <new>
#include <stdexcept>
#include <vector>

#include "exec/depth_guard.h"
#include "exec/eval_parts.h"
#include "exec/functions.h"
#include "exec/lvalue.h"
#include "exec/prepare.h"
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

// The kernel applied to one pair; the common ones inlined, since a scalar
// loop spends much of its time here.
__attribute__((always_inline)) inline Complex applyKernel(Kernel2 f, int line, Complex a, Complex b) {
    if (f == k_add) return kern::add(a, b);
    if (f == k_sub) return kern::sub(a, b);
    if (f == k_mul) return kern::mul(a, b);
    if (f == k_lt) return kern::lt(line, a, b);
    if (f == k_eq) return kern::eq(a, b);
    if (f == k_div) return kern::div(a, b);
    return f(line, a, b);
}

}  // namespace

NRefPtr binaryOp(int line, NRefPtr a, NRefPtr b, Complex (*f)(int, Complex, Complex)) {
    NNum* x = scalarNum(a);
    NNum* y = scalarNum(b);
    if (!x || !y) return op2(line, a, b, f);
    Complex z = applyKernel(f, line, x->data[0], y->data[0]);
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

namespace {

NRefPtr addAny(int line, NRefPtr a, NRefPtr b) {
    if (scalarNum(a) && scalarNum(b)) return binaryOp(line, std::move(a), std::move(b), k_add);
    return addValues(line, a, b);
}

using Compare = NRefPtr (*)(int, const NRefPtr&, const NRefPtr&);

#define HANDLER_DECL __attribute__((noinline))

NRefPtr compareAny(int line, NRefPtr a, NRefPtr b, Compare general, Kernel2 kernel) {
    if (scalarNum(a) && scalarNum(b)) return binaryOp(line, std::move(a), std::move(b), kernel);
    return general(line, a, b);
}

// An operand of a binary operation. A 1x1 number is carried as its element,
// so that literals and scalar variables cost no allocation; ref holds the
// value itself whenever one exists (a temporary may be reused for the result).
struct Operand {
    NRefPtr ref;
    Complex z{0.0, 0.0};
    bool scalar = false;
};

inline void fetchOperand(NContext& ctx, Node* node, Operand& out);

// The value of an operand for the general (matrix, string) operations.
NRefPtr operandValue(Operand& o) {
    if (o.ref) return std::move(o.ref);
    return makeNum(o.z);
}

Kernel2 elementKernel(std::int32_t kind) {
    switch (kind) {
    case OP_SUB: return k_sub;
    case OP_MUL: return k_mul;
    case OP_DIV: return k_div;
    case OP_POW: return k_pow;
    case OP_MOD: return k_mod;
    case OP_LDIV: return k_ldiv;
    default: return nullptr;
    }
}

// The plain binary operation of kind (OP_ADD .. OP_LDIV) on two values.
NRefPtr combine(int line, std::int32_t kind, NRefPtr a, NRefPtr b) {
    if (kind == OP_ADD) return addAny(line, std::move(a), std::move(b));
    if (kind == OP_DOT) return matrixProduct(line, a, b);
    return binaryOp(line, std::move(a), std::move(b), elementKernel(kind));
}

Symbol* visibleSymbol(Node* ident) {
    Symbol* s = scopeLookupFast(identName(ident));
    if (!s) raiseError(ident->line, "Variable %s not declared", identName(ident));
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
    if (lv.kind == LValue::WHOLE && kind != OP_DOT && lv.epoch == symbolEpoch()) {
        NNum* y = scalarNum(x);
        NNum* n = soleScalar(lv.sym);
        if (y && n) {
            n->data[0] = applyKernel(kind == OP_ADD ? k_add : elementKernel(kind), line, n->data[0], y->data[0]);
            return NRefPtr(n);
        }
    }
    NRefPtr old = readTarget(line, lv);
    NRefPtr updated = combine(line, node->kind - kCompoundOffset, std::move(old), std::move(x));
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

// The scalar z as an operation's result: kept in a temporary operand that
// nobody else holds, as binaryOp() does, else carried as the bare element.
__attribute__((always_inline)) inline void scalarInto(Operand& a, Operand& b, Complex z, Operand& out) {
    if (NNum* x = scalarNum(a.ref); x && unshared(x)) {
        x->data[0] = z;
        out.ref = std::move(a.ref);
    } else if (NNum* y = scalarNum(b.ref); y && unshared(y)) {
        y->data[0] = z;
        out.ref = std::move(b.ref);
    }
    out.z = z;
    out.scalar = true;
}

NRefPtr resultOf(Operand& r) { return r.ref ? std::move(r.ref) : makeNum(r.z); }

bool isArithmetic(std::int32_t kind) { return (kind >= OP_ADD && kind <= OP_LDIV) || kind == OP_AND || kind == OP_OR; }
bool isComparison(std::int32_t kind) { return kind >= OP_EQ && kind <= OP_LE; }

const Compare kGeneralCompare[] = {compareEQ, compareNE, compareGT, compareGE, compareLT, compareLE};
const Kernel2 kCompareKernel[] = {k_eq, k_ne, k_gt, k_ge, k_lt, k_le};

// The operation of kind on values of any shape and kind (matrices, strings),
// kept out of the frame that nested operations recurse through.
HANDLER_DECL NRefPtr generalOperation(int line, std::int32_t kind, Operand& a, Operand& b) {
    try {
        if (isComparison(kind)) return kGeneralCompare[kind - OP_EQ](line, operandValue(a), operandValue(b));
        if (kind == OP_DOT) return matrixProduct(line, operandValue(a), operandValue(b));
        if (kind == OP_ADD && (asString(a.ref) || asString(b.ref))) return addValues(line, operandValue(a), operandValue(b));
        Kernel2 f = kind == OP_ADD ? k_add : kind == OP_AND ? k_and : kind == OP_OR ? k_or : elementKernel(kind);
        return op2Reusing(line, operandValue(a), operandValue(b), f);
    } catch (const std::bad_alloc&) {
        raiseError(line, "Not enough memory");
    } catch (const std::length_error&) {
        raiseError(line, "Not enough memory");
    }
}

// A binary operator (OP_ADD .. OP_LDIV, OP_AND, OP_OR) or comparison (OP_EQ ..
// OP_LE) node into out. Scalar operands nested inside are combined without a
// value object for each. Its frame is kept small: how deep an expression may
// nest depends on the stack each level takes.
HANDLER_DECL void operationOperand(NContext& ctx, Node* node, Operand& out) {
    Operand a, b;
    if (node->note.flags & NOTE_SCALAR_LEFT) {
        fetchOperand(ctx, node->child[0], a);
        fetchOperand(ctx, node->child[1], b);
    } else {
        // The right operand may store into the left one's variable: both are
        // taken as values, and a scalar's element is read only once both exist.
        a.ref = evaluate(ctx, node->child[0]);
        b.ref = evaluate(ctx, node->child[1]);
        for (Operand* o : {&a, &b}) {
            if (NNum* x = scalarNum(o->ref)) {
                o->z = x->data[0];
                o->scalar = true;
            }
        }
    }
    std::int32_t kind = node->kind;
    if (a.scalar && b.scalar && kind != OP_DOT) {
        Kernel2 f = isComparison(kind) ? kCompareKernel[kind - OP_EQ] : kind == OP_ADD ? k_add : kind == OP_AND ? k_and : kind == OP_OR ? k_or : elementKernel(kind);
        return scalarInto(a, b, applyKernel(f, node->line, a.z, b.z), out);
    }
    out.ref = generalOperation(node->line, kind, a, b);
    if (NNum* x = scalarNum(out.ref)) {
        out.z = x->data[0];
        out.scalar = true;
    }
}

// Operands that are operations or anything else: out of line, so that the
// literal and variable cases of fetchOperand() cost no frame of their own.
HANDLER_DECL void fetchComposite(NContext& ctx, Node* node, Operand& out) {
    std::int32_t kind = node->kind;
    if (isArithmetic(kind) || isComparison(kind)) {
        // The guard evaluate() would have set up: nesting stays bounded.
        DepthGuard guard(node->line);
        return operationOperand(ctx, node, out);
    }
    out.ref = evaluate(ctx, node);
    if (NNum* x = scalarNum(out.ref)) {
        out.z = x->data[0];
        out.scalar = true;
    }
}

inline void fetchOperand(NContext& ctx, Node* node, Operand& out) {
    std::int32_t kind = node->kind;
    if (kind == OP_NUM) {
        out.z = Complex{node->re, node->im};
        out.scalar = true;
        return;
    }
    if (kind != OP_IDENT) return fetchComposite(ctx, node, out);
    NRef* v = visibleSymbol(node)->value;
    // A scalar is copied out now: later changes to the variable cannot reach it.
    if (NNum* n = v && v->kind == NKind::Num ? static_cast<NNum*>(v) : nullptr; n && n->cols == 1 && n->rows == 1) {
        out.z = n->data[0];
        out.scalar = true;
        return;
    }
    out.ref = NRefPtr(v);
}

HANDLER evalBinary(NContext& ctx, Node* node) {
    Operand r;
    operationOperand(ctx, node, r);
    return resultOf(r);
}

HANDLER evalUnary(NContext& ctx, Node* node) {
    NRefPtr a = evaluate(ctx, node->child[0]);
    int line = node->line;
    switch (node->kind) {
    case OP_NEG: return unaryOp(line, std::move(a), k_neg);
    case OP_NOT: return unaryOp(line, std::move(a), k_not);
    case OP_TRANS: return transpose(line, a);
    case OP_ANY: return anyOf(line, a);
    default: return allOf(line, a);
    }
}

HANDLER evalAssign(NContext& ctx, Node* node) {
    Node* target = node->child[0];
    if (target->kind != OP_IDENT) {
        NRefPtr v = evaluate(ctx, node->child[1]);
        return assignTo(ctx, target, v);
    }
    Operand r;
    fetchOperand(ctx, node->child[1], r);
    if (r.scalar) {
        // A scalar stored over a scalar that only this variable holds.
        if (Symbol* s = scopeLookupFast(identName(target))) {
            if (NNum* n = soleScalar(s)) {
                n->data[0] = r.z;
                return NRefPtr(n);
            }
        }
    }
    return assignTo(ctx, target, resultOf(r));
}

HANDLER evalComma(NContext& ctx, Node* node) {
    evaluate(ctx, node->child[0]);
    return evaluate(ctx, node->child[1]);
}

HANDLER evalCompare(NContext& ctx, Node* node) {
    Operand r;
    operationOperand(ctx, node, r);
    return resultOf(r);
}

// A comparison as a condition: two scalars give their truth without making
// the 0 or 1 in between.
HANDLER_DECL bool compareTruth(NContext& ctx, Node* node, int line) {
    Operand r;
    operationOperand(ctx, node, r);
    if (r.scalar) return kern::truth(r.z);
    return conditionTest(line, r.ref);
}

HANDLER evalSame(NContext& ctx, Node* node) {
    NRefPtr b = evaluate(ctx, node->child[1]);
    NRefPtr a = evaluate(ctx, node->child[0]);
    int line = node->line;
    if (node->kind == OP_SAME) return allOf(line, compareAny(line, a, b, compareEQ, k_eq));
    return anyOf(line, compareAny(line, a, b, compareNE, k_ne));
}

HANDLER evalJump(NContext& ctx, Node* node) {
    if (node->kind == OP_RETURN) {
        NRefPtr v = node->child[0] ? evaluate(ctx, node->child[0]) : makeNum(0.0);
        ctx.setWithValue(CS_RETURN, node->line, std::move(v));
    } else {
        ctx.setJump(node->kind == OP_BREAK ? CS_BREAK : CS_CONTINUE, node->line, 1);
    }
    return makeNum(0.0);
}

HANDLER evalFileId(Node* node) {
    double re = node->re;
    return NRefPtr(new NFileID(re > -1e9 && re < 1e9 ? static_cast<std::int32_t>(re) : -1));
}

#undef HANDLER

}  // namespace

namespace {

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
    case OP_OR: return evalBinary(ctx, node);
    case OP_NEG:
    case OP_TRANS:
    case OP_NOT:
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
    case OP_CALL: return evalCall(ctx, node);
    case OP_IF: return evalIf(ctx, node);
    case OP_WHILE:
    case OP_DO:
    case OP_FOR: return evalLoop(ctx, node);
    case OP_TRY: return evalTry(ctx, node);
    case OP_SWITCH: return evalSwitch(ctx, node);
    case OP_CASE:
    case OP_DEFAULT: return makeNum(0.0);
    case OP_EQ:
    case OP_NE:
    case OP_GT:
    case OP_GE:
    case OP_LT:
    case OP_LE: return evalCompare(ctx, node);
    case OP_SAME:
    case OP_NSAME: return evalSame(ctx, node);
    case OP_BREAK:
    case OP_CONTINUE:
    case OP_RETURN: return evalJump(ctx, node);
    case OP_SWAP: return evalSwap(ctx, node);
    case OP_INPUT:
    case OP_LINPUT: return evalInput(ctx, node);
    default: raiseError(node->line, "Unknown opcode: %d", node->kind);
    }
}

}  // namespace

NRefPtr evaluate(NContext& ctx, Node* node) {
    // Leaves nest nothing: the guard of the node above them bounds the depth.
    if (node->kind == OP_NUM) return makeNum(node->re, node->im);
    if (node->kind == OP_IDENT) return evalIdent(node);
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

bool evaluateCondition(NContext& ctx, Node* node, int line) {
    if (node->kind >= OP_EQ && node->kind <= OP_LE) return compareTruth(ctx, node, line);
    return conditionTest(line, evaluate(ctx, node));
}

void evaluateForEffect(NContext& ctx, Node* node) {
    std::int32_t kind = node->kind;
    if (kind >= OP_PREINC && kind <= OP_POSTDEC && node->child[0]->kind == OP_IDENT) {
        if (Symbol* s = scopeLookupFast(identName(node->child[0]))) {
            if (NNum* n = soleScalar(s)) {
                Complex one{1.0, 0.0};
                bool up = kind == OP_PREINC || kind == OP_POSTINC;
                n->data[0] = up ? kern::add(n->data[0], one) : kern::sub(n->data[0], one);
                return;
            }
        }
    }
    evaluate(ctx, node);
}
