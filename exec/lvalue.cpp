#include "exec/lvalue.h"

#include <algorithm>

#include "value/raise.h"
#include "value/settings.h"

namespace {

// The symbol a record names, found again by name when symbols were
// destroyed since it was resolved (a redeclaration inside an eval text).
Symbol* liveSymbol(int line, LValue& lv) {
    if (lv.epoch != symbolEpoch()) {
        lv.sym = lookupIdent(lv.ident);
        lv.epoch = symbolEpoch();
        if (!lv.sym) raiseError(line, "Variable %s not declared", identName(lv.ident));
    }
    return lv.sym;
}

// One side of a subscript: -1 (open) for *, else the index of its value.
std::int32_t sideIndex(NContext& ctx, int line, Node* expr) {
    if (expr->kind == OP_ALLRANGE) return -1;
    return subscriptIndex(line, evaluate(ctx, expr));
}

struct Bounds {
    std::int32_t lo, hi;
};

Bounds evalSubscript(NContext& ctx, int line, Node* sub) {
    if (sub->kind == OP_RANGE) {
        std::int32_t lo = sideIndex(ctx, line, sub->child[0]);
        std::int32_t hi = sideIndex(ctx, line, sub->child[1]);
        return {lo, hi};
    }
    std::int32_t i = sideIndex(ctx, line, sub);
    return {i, i};
}

void storeWhole(int line, Symbol* s, const NRefPtr& v) {
    if (!asNum(v) && !asString(v)) raiseError(line, "Bad assignment with void expression");
    s->bindValue(v);
}

NNum& numberOf(int line, LValue& lv) {
    NNum* m = asNum(liveSymbol(line, lv)->valueRef());
    if (!m) raiseError(line, "Bad type operation for submatrix");
    return *m;
}

}  // namespace

LValue resolveTarget(NContext& ctx, Node* node) {
    LValue lv;
    if (node->kind != OP_IDENT && node->kind != OP_INDEX) return lv;
    lv.ident = node->kind == OP_IDENT ? node : node->child[0];
    lv.sym = lookupIdent(lv.ident);
    if (!lv.sym) raiseError(node->line, "Variable %s not declared", identName(lv.ident));
    lv.epoch = symbolEpoch();
    lv.kind = LValue::WHOLE;
    if (node->kind == OP_IDENT) return lv;
    int line = node->line;
    numberOf(line, lv);
    Node* first = node->child[1];
    if (!first) raiseError(line, "Submatrix range error");
    Node* second = nextOf(first);
    if (!second) {
        Bounds b = evalSubscript(ctx, line, first);
        // Subscripts may run code that changes the variable: check it as it is now.
        lv.array = resolveSubarray(line, numberOf(line, lv), b.lo, b.hi);
        lv.kind = LValue::SUBARRAY;
        return lv;
    }
    Bounds rows = evalSubscript(ctx, line, first);
    Bounds cols = evalSubscript(ctx, line, second);
    lv.block = resolveSubmatrix(line, numberOf(line, lv), rows.lo, rows.hi, cols.lo, cols.hi);
    lv.kind = LValue::SUBMATRIX;
    return lv;
}

NRefPtr readTarget(int line, LValue& lv) {
    switch (lv.kind) {
    case LValue::WHOLE:
        return liveSymbol(line, lv)->valueRef();
    case LValue::SUBARRAY:
        return readSubarray(line, numberOf(line, lv), lv.array);
    case LValue::SUBMATRIX:
        return readSubmatrix(line, numberOf(line, lv), lv.block);
    default:
        return NRefPtr();
    }
}

void storeTarget(int line, LValue& lv, const NRefPtr& v) {
    switch (lv.kind) {
    case LValue::WHOLE:
        storeWhole(line, liveSymbol(line, lv), v);
        return;
    case LValue::SUBARRAY:
    case LValue::SUBMATRIX: {
        if (!asNum(v) && !asString(v)) raiseError(line, "Bad assignment with void expression");
        NNum& m = numberOf(line, lv);
        if (lv.kind == LValue::SUBARRAY)
            storeSubarray(line, m, lv.array, v);
        else
            storeSubmatrix(line, m, lv.block, v);
        return;
    }
    default:
        return;
    }
}

NRefPtr assignTo(NContext& ctx, Node* target, const NRefPtr& v) {
    int line = target->line;
    switch (target->kind) {
    case OP_IDENT: {
        Symbol* s = lookupIdent(target);
        if (!s) {
            if (strictMode()) raiseError(line, "Variable %s not declared", identName(target));
            s = declareIdent(target);
            if (!s) return v;
        }
        storeWhole(line, s, v);
        return v;
    }
    case OP_INDEX: {
        LValue lv = resolveTarget(ctx, target);
        storeTarget(line, lv, v);
        return v;
    }
    case OP_ROW: {
        NNum* n = asNum(v);
        if (!n) {
            for (Node* t = target->child[0]; t; t = nextOf(t)) assignTo(ctx, t, v);
            return v;
        }
        std::size_t count = n->count();
        std::size_t k = 0;
        for (Node* t = target->child[0]; t; t = nextOf(t), ++k) {
            // A list cannot be filled from a matrix with no elements.
            if (count == 0) raiseError(line, "Subarray size error");
            assignTo(ctx, t, makeNum(n->data[std::min(k, count - 1)]));
        }
        return v;
    }
    default:
        return makeNum(0.0);
    }
}
