#include "exec/scalar_eval.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "exec/depth_guard.h"
#include "exec/eval_parts.h"
#include "exec/prepare.h"
#include "exec/symbols.h"
#include "value/kernels.h"
#include "value/ops.h"
#include "value/raise.h"
#include "value/settings.h"
#include "value/subscript.h"

namespace {

inline NNum* scalarNum(NRef* v) {
    if (!v || v->kind != NKind::Num) return nullptr;
    NNum* n = static_cast<NNum*>(v);
    return n->cols == 1 && n->rows == 1 ? n : nullptr;
}

bool isComparison(std::int32_t kind) { return kind >= OP_EQ && kind <= OP_LE; }

// A temporary 1x1 number nobody else holds (no variable, no other
// reference) takes the result z, and is handed on with it.
inline void passOn(NRefPtr& temp, Complex z, NRefPtr* v) {
    if (NNum* n = scalarNum(temp.get()); n && n->refCount == 1 && n->bindCount == 0) {
        n->data[0] = z;
        *v = std::move(temp);
    }
}

// A value just made or returned, as a handler yields it: a 1x1 number as
// its element (the object handed on when nobody else holds it), anything
// else as itself.
__attribute__((always_inline)) inline bool yieldValue(NRefPtr& r, Complex* z, NRefPtr* v) {
    if (NNum* m = scalarNum(r.get())) {
        *z = m->data[0];
        passOn(r, *z, v);
        return true;
    }
    *v = std::move(r);
    return false;
}

Kernel2 kernelOf(std::int32_t kind) {
    switch (kind) {
    case OP_ADD: return k_add;
    case OP_SUB: return k_sub;
    case OP_MUL: return k_mul;
    case OP_DIV: return k_div;
    case OP_POW: return k_pow;
    case OP_MOD: return k_mod;
    case OP_LDIV: return k_ldiv;
    case OP_AND: return k_and;
    case OP_OR: return k_or;
    default: return nullptr;
    }
}

// Two real elements compared with the tolerance 0: the comparison kernels
// then reduce to the plain comparison of the real parts (NaN compares
// false, and unequal for !=), to the bit.
inline bool isZero(double x) {
    std::uint64_t u;
    std::memcpy(&u, &x, sizeof u);
    return (u << 1) == 0;  // +0 or -0
}
inline bool plainComparison(Complex a, Complex b) { return isZero(a.im) && isZero(b.im) && isZero(compareTolerance()); }
inline Complex truthOf(bool t) { return Complex{t ? 1.0 : 0.0, 0.0}; }

// The element kernel of kind, inlined into each handler made for it.
template <std::int32_t K>
__attribute__((always_inline)) inline Complex kernelFor(int line, Complex a, Complex b) {
    if constexpr (K >= OP_EQ && K <= OP_LE) {
        if (plainComparison(a, b)) {
            if constexpr (K == OP_EQ) return truthOf(a.re == b.re);
            if constexpr (K == OP_NE) return truthOf(!(a.re == b.re));
            if constexpr (K == OP_GT) return truthOf(a.re > b.re);
            if constexpr (K == OP_GE) return truthOf(a.re >= b.re);
            if constexpr (K == OP_LT) return truthOf(a.re < b.re);
            if constexpr (K == OP_LE) return truthOf(a.re <= b.re);
        }
        // Complex elements or a tolerance: the kernels themselves, out of line.
        if constexpr (K == OP_EQ) return k_eq(line, a, b);
        if constexpr (K == OP_NE) return k_ne(line, a, b);
        if constexpr (K == OP_GT) return k_gt(line, a, b);
        if constexpr (K == OP_GE) return k_ge(line, a, b);
        if constexpr (K == OP_LT) return k_lt(line, a, b);
        if constexpr (K == OP_LE) return k_le(line, a, b);
    }
    if constexpr (K == OP_ADD) return kern::add(a, b);
    if constexpr (K == OP_SUB) return kern::sub(a, b);
    if constexpr (K == OP_MUL) return kern::mul(a, b);
    if constexpr (K == OP_DIV) return kern::div(a, b);
    if constexpr (K == OP_MOD) return kern::mod(line, a, b);
    if constexpr (K == OP_LDIV) return kern::ldiv(line, a, b);
    if constexpr (K == OP_POW) return kern::pow(a, b);
    if constexpr (K == OP_AND) return kern::land(a, b);
    if constexpr (K == OP_OR) return kern::lor(a, b);
}

enum Shape { LITERAL, VARIABLE, OTHER };

Shape shapeOf(const Node* n) { return n->kind == OP_NUM ? LITERAL : n->kind == OP_IDENT ? VARIABLE : OTHER; }

// A literal or variable operand, read without running any code: a value
// that is not a 1x1 number comes back as a plain pointer in *raw.
template <Shape S>
__attribute__((always_inline)) inline bool peek(Node* n, Complex* z, NRef** raw) {
    if constexpr (S == LITERAL) {
        *z = Complex{n->re, n->im};
        return true;
    } else {
        Symbol* s = lookupIdent(n);
        if (!s) notDeclared(n);
        if (NNum* m = scalarNum(s->value)) {
            *z = m->data[0];
            return true;
        }
        *raw = s->value;
        return false;
    }
}

// One operand, by the shape of its node.
template <Shape S>
__attribute__((always_inline)) inline bool fetch(NContext& ctx, Node* n, Complex* z, NRefPtr* v) {
    if constexpr (S != OTHER) {
        NRef* raw = nullptr;
        if (peek<S>(n, z, &raw)) return true;
        *v = NRefPtr(raw);
        return false;
    } else {
        auto f = reinterpret_cast<ScalarFn>(n->note.handler);
        if (!f) return scalarByValue(ctx, n, z, v);  // evaluate() guards it
        if (n->note.flags & NOTE_SHALLOW) return f(ctx, n, z, v);
        // The guard evaluate() would have set up: nesting stays bounded.
        DepthGuard guard(n->line);
        return f(ctx, n, z, v);
    }
}

// The operation on operands of which one at least is not a 1x1 number.
__attribute__((noinline)) bool binarySlow(Node* node, bool sa, Complex a, NRefPtr& va, bool sb, Complex b, NRefPtr& vb,
                                          Complex* z, NRefPtr* v) {
    NRefPtr x = sa ? makeNum(a) : std::move(va);
    NRefPtr y = sb ? makeNum(b) : std::move(vb);
    NRefPtr r = generalOperation(node->line, node->kind, std::move(x), std::move(y));
    return yieldValue(r, z, v);
}

__attribute__((noinline)) bool binarySlowRaw(Node* node, bool sa, Complex a, NRef* ra, bool sb, Complex b, NRef* rb,
                                             Complex* z, NRefPtr* v) {
    NRefPtr va(ra), vb(rb);  // held at once: nothing ran since they were read
    return binarySlow(node, sa, a, va, sb, b, vb, z, v);
}

// A literal or a variable holding a 1x1 number, read only where the node's
// remembered position finds it at once (no walk, no extern marker): false
// otherwise, and the caller reads it the full way.
template <Shape S>
__attribute__((always_inline)) inline bool quickOperand(const Node* n, Complex* z) {
    if constexpr (S == LITERAL) {
        *z = Complex{n->re, n->im};
        return true;
    } else {
        const SymMan* f = scope_state::lookupFrame;
        if (!f) return false;
        std::uint32_t h = n->note.hint;
        if (h >= f->size()) return false;
        const Symbol* s = (*f)[h];
        if (s->id != n->note.id || s->isExtern) return false;
        const NNum* m = scalarNum(s->value);
        if (!m) return false;
        *z = m->data[0];
        return true;
    }
}

// The element kernel of kind when it needs no call (for a comparison: plain
// real elements and no tolerance); false to take the general way.
template <std::int32_t K>
__attribute__((always_inline)) inline bool quickKernel(int line, Complex a, Complex b, Complex* z) {
    if constexpr (K >= OP_EQ && K <= OP_LE) {
        if (!plainComparison(a, b)) return false;
    }
    if constexpr (K == OP_POW) return false;
    *z = kernelFor<K>(line, a, b);
    return true;
}

template <std::int32_t K, Shape L, Shape R>
bool binaryHandler(NContext& ctx, Node* node, Complex* z, NRefPtr* v);

// Two operands that run no code: the common case without a stack frame of
// its own; anything else is read again the full way.
template <std::int32_t K, Shape L, Shape R>
bool binaryQuick(NContext& ctx, Node* node, Complex* z, NRefPtr* v) {
    Complex a, b;
    if (__builtin_expect(quickOperand<L>(node->child[0], &a) && quickOperand<R>(node->child[1], &b), 1) &&
        quickKernel<K>(node->line, a, b, z))
        return true;
    return binaryHandler<K, L, R>(ctx, node, z, v);
}

template <std::int32_t K, Shape L, Shape R>
__attribute__((noinline)) bool binaryHandler(NContext& ctx, Node* node, Complex* z, NRefPtr* v) {
    Complex a, b;
    if constexpr (L != OTHER && R != OTHER) {
        // Neither operand runs code: both are read as they stand.
        NRef* ra = nullptr;
        NRef* rb = nullptr;
        bool sa = peek<L>(node->child[0], &a, &ra);
        bool sb = peek<R>(node->child[1], &b, &rb);
        if (__builtin_expect(sa && sb, 1)) {
            *z = kernelFor<K>(node->line, a, b);
            return true;
        }
        return binarySlowRaw(node, sa, a, ra, sb, b, rb, z, v);
    } else if constexpr (R != OTHER) {
        // The right operand runs no code: it is read once the left is done.
        NRefPtr va;
        NRef* rb = nullptr;
        bool sa = fetch<L>(ctx, node->child[0], &a, &va);
        bool sb = peek<R>(node->child[1], &b, &rb);
        if (__builtin_expect(sa && sb, 1)) {
            *z = kernelFor<K>(node->line, a, b);
            if (va) passOn(va, *z, v);
            return true;
        }
        NRefPtr vb(rb);
        return binarySlow(node, sa, a, va, sb, b, vb, z, v);
    } else {
        NRefPtr va, vb;
        bool sa = fetch<L>(ctx, node->child[0], &a, &va);
        bool sb = fetch<R>(ctx, node->child[1], &b, &vb);
        if (__builtin_expect(sa && sb, 1)) {
            *z = kernelFor<K>(node->line, a, b);
            if (va)
                passOn(va, *z, v);
            else if (vb)
                passOn(vb, *z, v);
            return true;
        }
        return binarySlow(node, sa, a, va, sb, b, vb, z, v);
    }
}

// Any binary operation whose right operand may store into the left one's
// variable: the left is the value itself, its element read only once the
// right is done. Also the matrix product, and nodes never prepared.
template <std::int32_t K>
bool binaryByReference(NContext& ctx, Node* node, Complex* z, NRefPtr* v) {
    Node* left = node->child[0];
    NRefPtr va = left->kind == OP_CALL ? evaluateCall(ctx, left) : evaluate(ctx, left);
    Complex b;
    NRefPtr vb;
    bool sb = fetch<OTHER>(ctx, node->child[1], &b, &vb);
    if constexpr (K != OP_DOT) {
        if (NNum* x = scalarNum(va.get()); x && sb) {
            *z = kernelFor<K>(node->line, x->data[0], b);
            passOn(va, *z, v);
            if (!*v && vb) passOn(vb, *z, v);
            return true;
        }
    }
    return binarySlow(node, false, Complex{}, va, sb, b, vb, z, v);
}

// The by-reference handler of a kind.
ScalarFn byReferenceFor(std::int32_t kind) {
    switch (kind) {
    case OP_ADD: return binaryByReference<OP_ADD>;
    case OP_SUB: return binaryByReference<OP_SUB>;
    case OP_MUL: return binaryByReference<OP_MUL>;
    case OP_DIV: return binaryByReference<OP_DIV>;
    case OP_MOD: return binaryByReference<OP_MOD>;
    case OP_LDIV: return binaryByReference<OP_LDIV>;
    case OP_POW: return binaryByReference<OP_POW>;
    case OP_AND: return binaryByReference<OP_AND>;
    case OP_OR: return binaryByReference<OP_OR>;
    case OP_EQ: return binaryByReference<OP_EQ>;
    case OP_NE: return binaryByReference<OP_NE>;
    case OP_GT: return binaryByReference<OP_GT>;
    case OP_GE: return binaryByReference<OP_GE>;
    case OP_LT: return binaryByReference<OP_LT>;
    case OP_LE: return binaryByReference<OP_LE>;
    case OP_DOT: return binaryByReference<OP_DOT>;
    default: return nullptr;
    }
}

template <std::int32_t K, Shape C>
bool unaryHandler(NContext& ctx, Node* node, Complex* z, NRefPtr* v) {
    Complex a;
    NRefPtr va;
    if (__builtin_expect(fetch<C>(ctx, node->child[0], &a, &va), 1)) {
        *z = K == OP_NEG ? kern::neg(a) : kern::lnot(a);
        if (va) passOn(va, *z, v);
        return true;
    }
    NRefPtr r = op1(node->line, va, K == OP_NEG ? k_neg : k_not);
    if (NNum* m = scalarNum(r.get())) {
        *z = m->data[0];
        return true;
    }
    *v = std::move(r);
    return false;
}

// ---------------------------------------------------------------- elements
//
// x[e] with one plain subscript (neither a range nor *), read or stored as
// one element: the steps, checks and messages of resolving, reading and
// storing a subarray, without the lvalue record or a value for the element.

bool plainSubscript(const Node* index) {
    const Node* sub = index->child[1];
    return sub && !nextOf(sub) && sub->kind != OP_RANGE && sub->kind != OP_ALLRANGE;
}

[[noreturn]] __attribute__((noinline)) void badSubscript(int line, const char* message) { raiseError(line, "%s", message); }

// The variable's symbol and matrix, as resolving finds them.
inline Symbol* matrixSymbol(Node* ident, int line) {
    Symbol* s = lookupIdent(ident);
    if (!s) raiseError(line, "Variable %s not declared", identName(ident));
    if (!s->value || s->value->kind != NKind::Num) badSubscript(line, "Bad type operation for submatrix");
    return s;
}

// Resolves x[e] down to its matrix and index; an index below 0 stands for
// the whole matrix (the open range 0 .. last).
template <Shape S>
inline NNum* resolveElement(NContext& ctx, Node* index, std::int32_t* at) {
    int line = index->line;
    Node* ident = index->child[0];
    Symbol* s = matrixSymbol(ident, line);
    std::uint64_t epoch = symbolEpoch();
    Complex k;
    NRefPtr kv;
    if (!fetch<S>(ctx, index->child[1], &k, &kv)) badSubscript(line, "Submatrix range error");
    double re = k.re;
    if (!(re > -2147483649.0 && re < 2147483648.0)) badSubscript(line, "Submatrix range error");
    std::int32_t i = static_cast<std::int32_t>(re);
    // The subscript may have run code that changed the variable, or (when a
    // symbol went) the variable the name stands for.
    if (epoch != symbolEpoch()) s = lookupIdent(ident);
    if (!s) raiseError(line, "Variable %s not declared", identName(ident));
    NRef* v = s->value;
    if (!v || v->kind != NKind::Num) badSubscript(line, "Bad type operation for submatrix");
    NNum* m = static_cast<NNum*>(v);
    std::size_t n = m->count();
    if ((i >= 0 && static_cast<std::size_t>(i) >= n) || (i < 0 && n == 0)) badSubscript(line, "Subarray size error");
    *at = i;
    return m;
}

template <Shape S>
bool elementHandler(NContext& ctx, Node* node, Complex* z, NRefPtr* v) {
    std::int32_t i;
    NNum* m = resolveElement<S>(ctx, node, &i);
    if (__builtin_expect(i >= 0, 1)) {
        *z = m->data[i];
        return true;
    }
    NRefPtr whole = readSubarray(node->line, *m, Subarray{0, static_cast<std::int32_t>(m->count()) - 1});
    if (NNum* w = scalarNum(whole.get())) {
        *z = w->data[0];
        return true;
    }
    *v = std::move(whole);
    return false;
}

template <Shape S>
void storeElementAt(NContext& ctx, Node* index, Complex z) {
    std::int32_t i;
    NNum* m = resolveElement<S>(ctx, index, &i);
    if (__builtin_expect(i >= 0, 1)) {
        m->data[i] = z;
        return;
    }
    std::fill(m->data, m->data + m->count(), z);  // a 1x1 source fills the part
}

bool literalHandler(NContext& ctx, Node* node, Complex* z, NRefPtr* v) { return fetch<LITERAL>(ctx, node, z, v); }

// A call as an operand, with the guard and the checks of evaluate().
bool callHandler(NContext& ctx, Node* node, Complex* z, NRefPtr* v) {
    NRefPtr r = evaluateCall(ctx, node);
    return yieldValue(r, z, v);
}
bool variableHandler(NContext& ctx, Node* node, Complex* z, NRefPtr* v) { return fetch<VARIABLE>(ctx, node, z, v); }

template <std::int32_t K>
ScalarFn binaryFor(Shape l, Shape r) {
    static constexpr ScalarFn table[3][3] = {
        {binaryQuick<K, LITERAL, LITERAL>, binaryQuick<K, LITERAL, VARIABLE>, binaryHandler<K, LITERAL, OTHER>},
        {binaryQuick<K, VARIABLE, LITERAL>, binaryQuick<K, VARIABLE, VARIABLE>, binaryHandler<K, VARIABLE, OTHER>},
        {binaryHandler<K, OTHER, LITERAL>, binaryHandler<K, OTHER, VARIABLE>, binaryHandler<K, OTHER, OTHER>},
    };
    return table[l][r];
}

template <std::int32_t K>
ScalarFn unaryFor(Shape c) {
    static constexpr ScalarFn table[3] = {unaryHandler<K, LITERAL>, unaryHandler<K, VARIABLE>, unaryHandler<K, OTHER>};
    return table[c];
}

}  // namespace

Complex elementOperation(std::int32_t kind, int line, Complex a, Complex b) {
    switch (kind) {
    case OP_ADD: return kernelFor<OP_ADD>(line, a, b);
    case OP_SUB: return kernelFor<OP_SUB>(line, a, b);
    case OP_MUL: return kernelFor<OP_MUL>(line, a, b);
    case OP_DIV: return kernelFor<OP_DIV>(line, a, b);
    case OP_MOD: return kernelFor<OP_MOD>(line, a, b);
    case OP_LDIV: return kernelFor<OP_LDIV>(line, a, b);
    case OP_AND: return kernelFor<OP_AND>(line, a, b);
    case OP_OR: return kernelFor<OP_OR>(line, a, b);
    case OP_EQ: return kernelFor<OP_EQ>(line, a, b);
    case OP_NE: return kernelFor<OP_NE>(line, a, b);
    case OP_GT: return kernelFor<OP_GT>(line, a, b);
    case OP_GE: return kernelFor<OP_GE>(line, a, b);
    case OP_LT: return kernelFor<OP_LT>(line, a, b);
    case OP_LE: return kernelFor<OP_LE>(line, a, b);
    default: return kernelFor<OP_POW>(line, a, b);
    }
}

NRefPtr generalOperation(int line, std::int32_t kind, NRefPtr a, NRefPtr b) {
    try {
        if (isComparison(kind)) {
            using Compare = NRefPtr (*)(int, const NRefPtr&, const NRefPtr&);
            static const Compare general[] = {compareEQ, compareNE, compareGT, compareGE, compareLT, compareLE};
            return general[kind - OP_EQ](line, a, b);
        }
        if (kind == OP_DOT) return matrixProduct(line, a, b);
        if (kind == OP_ADD && (asString(a) || asString(b))) return addValues(line, a, b);
        return op2Reusing(line, std::move(a), std::move(b), kernelOf(kind));
    } catch (const std::bad_alloc&) {
        raiseError(line, "Not enough memory");
    } catch (const std::length_error&) {
        raiseError(line, "Not enough memory");
    }
}

bool scalarByValue(NContext& ctx, Node* node, Complex* z, NRefPtr* v) {
    NRefPtr r = evaluate(ctx, node);
    return yieldValue(r, z, v);
}

NRefPtr evalOperator(NContext& ctx, Node* node) {
    auto f = reinterpret_cast<ScalarFn>(node->note.handler);
    if (!f) {
        // A node never prepared: the general form of its kind.
        if (node->kind == OP_NEG || node->kind == OP_NOT)
            f = node->kind == OP_NEG ? unaryFor<OP_NEG>(OTHER) : unaryFor<OP_NOT>(OTHER);
        else
            f = byReferenceFor(node->kind);
    }
    Complex z;
    NRefPtr v;
    if (f(ctx, node, &z, &v) && !v) return makeNum(z);
    return v;
}

bool plainElement(const Node* target) { return target->kind == OP_INDEX && plainSubscript(target); }

void storeElement(NContext& ctx, Node* target, Complex z) {
    switch (shapeOf(target->child[1])) {
    case LITERAL: return storeElementAt<LITERAL>(ctx, target, z);
    case VARIABLE: return storeElementAt<VARIABLE>(ctx, target, z);
    default: return storeElementAt<OTHER>(ctx, target, z);
    }
}

ScalarFn scalarHandlerFor(const Node* node) {
    switch (node->kind) {
    case OP_NUM: return literalHandler;
    case OP_IDENT: return variableHandler;
    case OP_CALL: return callHandler;
    case OP_INDEX:
        if (!plainSubscript(node)) return nullptr;
        switch (shapeOf(node->child[1])) {
        case LITERAL: return elementHandler<LITERAL>;
        case VARIABLE: return elementHandler<VARIABLE>;
        default: return elementHandler<OTHER>;
        }
    case OP_NEG: return unaryFor<OP_NEG>(shapeOf(node->child[0]));
    case OP_NOT: return unaryFor<OP_NOT>(shapeOf(node->child[0]));
    default: break;
    }
    if (!(node->note.flags & NOTE_SCALAR_LEFT)) return byReferenceFor(node->kind);
    Shape l = shapeOf(node->child[0]), r = shapeOf(node->child[1]);
    switch (node->kind) {
    case OP_ADD: return binaryFor<OP_ADD>(l, r);
    case OP_SUB: return binaryFor<OP_SUB>(l, r);
    case OP_MUL: return binaryFor<OP_MUL>(l, r);
    case OP_DIV: return binaryFor<OP_DIV>(l, r);
    case OP_MOD: return binaryFor<OP_MOD>(l, r);
    case OP_LDIV: return binaryFor<OP_LDIV>(l, r);
    case OP_EQ: return binaryFor<OP_EQ>(l, r);
    case OP_NE: return binaryFor<OP_NE>(l, r);
    case OP_GT: return binaryFor<OP_GT>(l, r);
    case OP_GE: return binaryFor<OP_GE>(l, r);
    case OP_LT: return binaryFor<OP_LT>(l, r);
    case OP_LE: return binaryFor<OP_LE>(l, r);
    case OP_AND: return binaryFor<OP_AND>(l, r);
    case OP_OR: return binaryFor<OP_OR>(l, r);
    case OP_POW:
    case OP_DOT: return byReferenceFor(node->kind);
    default: return nullptr;
    }
}
