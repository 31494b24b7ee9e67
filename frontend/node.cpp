#include "frontend/node.h"

#include <cstring>
#include <string>
#include <vector>

#include "frontend/context.h"
#include "frontend/frontend.h"
#include "frontend/memman.h"
#include "platform/codepage.h"

namespace {

Node* newNode(std::int32_t kind) {
    Node* n = static_cast<Node*>(memMan().allocate(sizeof(Node)));
    n->kind = kind;
    n->re = 0;
    n->im = 0;
    n->line = scanner_line();
    n->file = scanner_file();
    n->data = nullptr;
    n->child[0] = n->child[1] = n->child[2] = nullptr;
    n->note = ExecNote{};
    return n;
}

template <typename Payload>
Payload* newPayload() {
    return static_cast<Payload*>(memMan().allocate(sizeof(Payload)));
}

char* copyName(const std::string& name) {
    char* bytes = static_cast<char*>(memMan().allocate(name.size() + 1));
    std::memcpy(bytes, name.c_str(), name.size() + 1);
    return bytes;
}

}  // namespace

Node* node_number(double re, double im) {
    Node* n = newNode(OP_NUM);
    n->re = re;
    n->im = im;
    return n;
}

Node* node_ident(const char* eucText) {
    Node* n = newNode(OP_IDENT);
    n->data = copyName(eucToSjis(eucText));
    return n;
}

Node* node_ident_sjis(const char* sjisText) {
    Node* n = newNode(OP_IDENT);
    n->data = copyName(sjisText);
    return n;
}

Node* node_string(const char* bytes, std::uint32_t length) {
    Node* n = newNode(OP_STR);
    char* copy = static_cast<char*>(memMan().allocate(static_cast<std::size_t>(length) + 1));
    if (length > 0) std::memcpy(copy, bytes, length);
    copy[length] = '\0';
    auto* header = newPayload<StrPayload>();
    header->bytes = copy;
    header->length = length;
    n->data = header;
    return n;
}

Node* node_binary(std::int32_t kind, Node* c0, Node* c1) {
    Node* n = newNode(kind);
    n->child[0] = c0;
    n->child[1] = c1;
    return n;
}

Node* node_unary(std::int32_t kind, Node* c0) {
    Node* n = newNode(kind);
    n->child[0] = c0;
    return n;
}

Node* node_block(Context* ctx) {
    Node* n = newNode(OP_BLOCK);
    n->data = ctx;
    return n;
}

Node* node_fileid(int number) {
    Node* n = newNode(OP_FILEID);
    n->re = number;
    return n;
}

static Node* threeWay(std::int32_t kind, Node* a, Node* b, Node* c) {
    Node* n = newNode(kind);
    auto* p = newPayload<Payload3>();
    p->p[0] = a;
    p->p[1] = b;
    p->p[2] = c;
    n->data = p;
    return n;
}

Node* node_cond(Node* cond, Node* then, Node* otherwise) { return threeWay(OP_COND, cond, then, otherwise); }

Node* node_if(Node* cond, Node* then, Node* otherwise) { return threeWay(OP_IF, cond, then, otherwise); }

Node* node_loop(std::int32_t kind, Node* cond, Node* body) {
    Node* n = newNode(kind);
    auto* p = newPayload<Payload2>();
    p->p[0] = cond;
    p->p[1] = body;
    n->data = p;
    return n;
}

Node* node_for(Node* init, Node* cond, Node* step, Node* body) {
    Node* n = newNode(OP_FOR);
    auto* p = newPayload<Payload4>();
    p->p[0] = init;
    p->p[1] = cond;
    p->p[2] = step;
    p->p[3] = body;
    n->data = p;
    return n;
}

Node* node_switch(Node* selector, Node* block) {
    Node* n = newNode(OP_SWITCH);
    auto* p = newPayload<Payload2>();
    p->p[0] = block;
    p->p[1] = selector;
    n->data = p;
    return n;
}

Node* node_try(Node* tryStmt, Node* catchVar, Node* catchStmt) {
    return threeWay(OP_TRY, tryStmt, catchStmt, catchVar);
}

std::span<Node* const> payloadNodes(const Node* n) {
    if (n->data == nullptr) return {};
    switch (n->kind) {
    case OP_BLOCK: return *blockContext(n);
    case OP_COND:
    case OP_IF:
    case OP_TRY: return static_cast<const Payload3*>(n->data)->p;
    case OP_WHILE:
    case OP_DO:
    case OP_SWITCH: return static_cast<const Payload2*>(n->data)->p;
    case OP_FOR: return static_cast<const Payload4*>(n->data)->p;
    default: return {};
    }
}

void node_free(Node* root) {
    // Trees can be very deep (a + b + c ... grows to the left without bound)
    // and lists very long, so the walk keeps its own stack instead of
    // recursing; a block's statements join the same walk.
    std::vector<Node*> work{root};
    while (!work.empty()) {
        Node* n = work.back();
        work.pop_back();
        for (Node* c : n->child)
            if (c != nullptr) work.push_back(c);
        for (Node* c : payloadNodes(n))
            if (c != nullptr) work.push_back(c);
        if (n->data != nullptr) {
            if (n->kind == OP_STR) memMan().release(static_cast<StrPayload*>(n->data)->bytes);
            if (n->kind == OP_BLOCK) {
                Context* ctx = blockContext(n);
                ctx->clear();
                delete ctx;
                n->data = nullptr;
            }
            if (n->data != nullptr) memMan().release(n->data);
        }
        memMan().release(n);
    }
}
