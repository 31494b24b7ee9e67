#include "exec/prepare.h"

#include <cstring>
#include <vector>

#include "exec/scalar_eval.h"
#include "exec/symbols.h"

namespace {

bool isIndexTarget(const Node* target) {
    if (target->kind == OP_INDEX) return true;
    if (target->kind != OP_ROW) return false;
    for (const Node* t = target->child[0]; t; t = nextOf(t))
        if (t->kind == OP_INDEX) return true;
    return false;
}

// Whether this node itself (not counting its operands) may store into a
// variable's elements.
bool storesItself(const Node* n) {
    switch (n->kind) {
    case OP_CALL:
    case OP_INPUT:
    case OP_LINPUT:
        return true;
    case OP_ASSIGN:
        return isIndexTarget(n->child[0]);
    case OP_SWAP:
        return isIndexTarget(n->child[0]) || isIndexTarget(n->child[1]);
    default:
        if ((n->kind >= OP_PREINC && n->kind <= OP_POSTDEC) || (n->kind >= OP_ADDSET && n->kind <= OP_LDIVSET))
            return isIndexTarget(n->child[0]);
        return false;
    }
}

// Whether this node itself may declare a name in the scope it runs in.
bool declaresItself(const Node* n) {
    switch (n->kind) {
    case OP_VAR:
    case OP_EXTERN:
    case OP_INPUT:
    case OP_LINPUT:
        return true;
    case OP_CALL:
        // The built-in that runs a text in the caller's scope.
        return std::strcmp(identName(n->child[1]), "eval") == 0;
    default:
        return false;
    }
}

bool opensScope(std::int32_t kind) {
    return kind == OP_BLOCK || kind == OP_IF || kind == OP_WHILE || kind == OP_DO || kind == OP_FOR || kind == OP_SWITCH;
}

bool isAppend(const Node* n) {
    if (n->kind != OP_ASSIGN) return false;
    const Node* target = n->child[0];
    const Node* sum = n->child[1];
    return target->kind == OP_IDENT && sum->kind == OP_ADD && sum->child[0]->kind == OP_IDENT &&
           std::strcmp(identName(target), identName(sum->child[0])) == 0;
}

bool isIfReturn(const Node* n, std::uint32_t flags) {
    if (n->kind != OP_IF || !(flags & NOTE_NO_SCOPE)) return false;
    Node* const* p = static_cast<const Payload3*>(n->data)->p;
    return p[1] && p[1]->kind == OP_RETURN && !p[2];
}

bool isBinaryOperation(std::int32_t kind) {
    return (kind >= OP_ADD && kind <= OP_LDIV) || kind == OP_AND || kind == OP_OR || (kind >= OP_EQ && kind <= OP_LE);
}

// Calls f on the first node of every list that hangs from n: its operands,
// its payload's parts and a block's statements (each a list of one).
template <class F>
void forEachList(Node* n, F f) {
    f(n->child[0]);
    f(n->child[1]);
    for (Node* p : payloadNodes(n)) f(p);
}

template <class F>
void forEachPart(Node* n, F f) {
    forEachList(n, [&](Node* first) {
        for (Node* x = first; x; x = nextOf(x)) f(x);
    });
}

}  // namespace

void prepareTree(Node* root) {
    if (!root) return;
    // Trees can be very deep, so the walk keeps its own list: every node
    // comes after its parent, and is noted before it in the reverse pass.
    std::vector<Node*> order{root};
    for (std::size_t i = 0; i < order.size(); ++i) forEachPart(order[i], [&](Node* part) { order.push_back(part); });
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Node* n = *it;
        std::uint32_t flags = (storesItself(n) ? std::uint32_t{NOTE_MAY_STORE} : 0u) | (declaresItself(n) ? std::uint32_t{NOTE_MAY_DECLARE} : 0u);
        // The height of the tree below; held in the hint of nodes that are no
        // identifiers (theirs is where their symbol was last found).
        std::uint32_t height = 1;
        forEachPart(n, [&](Node* part) {
            flags |= part->note.flags & (NOTE_MAY_STORE | NOTE_MAY_DECLARE);
            std::uint32_t below = part->kind == OP_IDENT ? 1 : part->note.hint;
            if (below + 1 > height) height = below + 1;
        });
        if (n->kind != OP_IDENT)
            n->note.hint = height;
        else
            identId(n);
        if (height <= kShallowHeight) flags |= NOTE_SHALLOW;
        if (isBinaryOperation(n->kind) && !(n->child[1]->note.flags & NOTE_MAY_STORE)) flags |= NOTE_SCALAR_LEFT;
        if (opensScope(n->kind) && !(flags & NOTE_MAY_DECLARE)) flags |= NOTE_NO_SCOPE;
        if (isAppend(n)) flags |= NOTE_APPEND;
        if (isIfReturn(n, flags)) flags |= NOTE_IF_RETURN;
        n->note.flags = flags;
        ScalarFn handler = scalarHandlerFor(n);
        n->note.handler = reinterpret_cast<void (*)()>(handler);
        // A variable's value, or a call's (which may return a variable's own
        // object), is no fresh value.
        if (handler && n->kind != OP_IDENT && n->kind != OP_CALL) n->note.flags |= NOTE_FRESH_SCALAR;
    }
}

void prepareList(const Context& statements) {
    for (Node* s : statements) prepareTree(s);
}
