// Small helpers that build syntax trees by hand for the executor's tests.
#pragma once

#include <initializer_list>

#include "exec/exec.h"
#include "frontend/context.h"
#include "frontend/node.h"

inline Node* num(double x) { return node_number(x, 0); }
inline Node* ident(const char* name) { return node_ident_sjis(name); }

// A call node; the arguments are chained through next.
inline Node* call(const char* name, std::initializer_list<Node*> args = {}) {
    Node* first = nullptr;
    Node* last = nullptr;
    for (Node* a : args) {
        if (last)
            last->child[2] = a;
        else
            first = a;
        last = a;
    }
    return node_binary(OP_CALL, first, ident(name));
}

inline Node* block(std::initializer_list<Node*> statements) {
    Context* ctx = new Context;
    for (Node* s : statements) ctx->push_back(s);
    return node_block(ctx);
}

inline Node* ret(Node* e) { return node_unary(OP_RETURN, e); }

// Enters a user function through the pending table, as a parse would.
inline void defineUser(const char* key, Node* params, Node* body) {
    PendingTable pending;
    pending[key] = PendingDef{params, body};
    commitPending(pending);
}
