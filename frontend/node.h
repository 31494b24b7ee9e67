// Syntax-tree nodes. The scanner makes the leaves, the parser the inner
// nodes; the executor walks them by kind. Every node block is allocated
// through the memory manager so that a failed parse can release it all.
#pragma once

#include <cstdint>
#include <span>

class Context;

enum OpKind : std::int32_t {
    OP_NUM = 1, OP_IDENT, OP_STR, OP_FILEID, OP_MATRIX, OP_ROW, OP_ALLRANGE, OP_RANGE, OP_INDEX,
    OP_ADD = 10, OP_SUB, OP_MUL, OP_DIV, OP_POW, OP_MOD, OP_DOT, OP_LDIV, OP_NEG, OP_TRANS,
    OP_BLOCK = 20, OP_ASSIGN, OP_COND, OP_COMMA, OP_PREINC, OP_POSTINC, OP_PREDEC, OP_POSTDEC,
    OP_ADDSET = 28, OP_SUBSET, OP_MULSET, OP_DIVSET, OP_POWSET, OP_MODSET, OP_DOTSET, OP_LDIVSET,
    OP_VAR = 36, OP_EXTERN, OP_CALL, OP_IF, OP_WHILE, OP_DO, OP_FOR, OP_TRY, OP_SWITCH,
    OP_CASE = 45, OP_DEFAULT, OP_EQ, OP_NE, OP_GT, OP_GE, OP_LT, OP_LE, OP_SAME, OP_NSAME,
    OP_ANY = 55, OP_ALL, OP_NOT, OP_AND, OP_OR, OP_BREAK, OP_CONTINUE, OP_RETURN, OP_SWAP,
    OP_INPUT = 64, OP_LINPUT = 65,
};

// A compound assignment's kind is its binary operator's kind plus 18.
constexpr std::int32_t kCompoundOffset = OP_ADDSET - OP_ADD;

// What the executor remembers about a node: filled in when a parsed tree is
// prepared for running, and at the node's first evaluations. All zero when
// the node is made.
struct ExecNote {
    std::uint32_t flags;
    std::int32_t id;       // an identifier's interned name number
    std::uint32_t hint;    // where an identifier's symbol was last found
    std::uint64_t stamp;   // generation of what `cached` was found in
    void* cached;          // a call site's function record
    void (*handler)();     // the executor's handler chosen for the node
};

struct token_tag__ {
    std::int32_t kind;
    double re;
    double im;
    std::int32_t line;
    std::int32_t file;   // source-name index, -1 for none
    void* data;          // kind-specific payload
    token_tag__* child[3];  // child[2] is also the next link of lists
    ExecNote note;
};
using Node = token_tag__;

inline Node* nextOf(const Node* n) { return n->child[2]; }

// OP_STR payload: the bytes carry a NUL after the last one and may hold NULs.
struct StrPayload {
    char* bytes;
    std::uint32_t length;
};
// OP_COND, OP_IF {cond, then, else}; OP_WHILE, OP_DO {cond, body};
// OP_FOR {init, cond, step, body}; OP_TRY {try, catch statement, catch var};
// OP_SWITCH {block, selector}.
struct Payload2 { Node* p[2]; };
struct Payload3 { Node* p[3]; };
struct Payload4 { Node* p[4]; };

inline const char* identName(const Node* n) { return static_cast<const char*>(n->data); }
inline Context* blockContext(const Node* n) { return static_cast<Context*>(n->data); }
// The nodes a node's payload holds: a block's statements, or the parts of a
// conditional, loop, switch or try (null for a part left out); none for the
// other kinds.
std::span<Node* const> payloadNodes(const Node* n);

// Constructors: each takes the scanner's current line and file.
Node* node_number(double re, double im);
Node* node_ident(const char* eucText);       // converted from EUC-JP to Shift_JIS
Node* node_ident_sjis(const char* sjisText); // already Shift_JIS
Node* node_string(const char* bytes, std::uint32_t length);
Node* node_binary(std::int32_t kind, Node* c0, Node* c1);
Node* node_unary(std::int32_t kind, Node* c0);
Node* node_block(Context* ctx);
Node* node_fileid(int number);
Node* node_cond(Node* cond, Node* then, Node* otherwise);
Node* node_if(Node* cond, Node* then, Node* otherwise);
Node* node_loop(std::int32_t kind, Node* cond, Node* body);  // OP_WHILE or OP_DO
Node* node_for(Node* init, Node* cond, Node* step, Node* body);
Node* node_switch(Node* selector, Node* block);
Node* node_try(Node* tryStmt, Node* catchVar, Node* catchStmt);

// Frees a whole sub-tree, depth first. Null is not accepted.
void node_free(Node* n);
