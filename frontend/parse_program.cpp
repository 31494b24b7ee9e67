// The parse entry and the parse's own state. A parse is a transaction: on
// success the caller receives the statement list and the pending function
// definitions, on failure every block the parse allocated is released.
#include <new>
#include <string>
#include <unordered_set>
#include <vector>

#include "frontend/frontend.h"
#include "frontend/memman.h"
#include "frontend/parser_support.h"
#include "parser.hpp"

int yyparse();

namespace {

struct ParseState {
    PendingTable* pending = nullptr;
    std::vector<Context*> openBlocks;  // the bottom one is the program's list
    // Every statement list made by the parse in progress and not yet
    // destroyed; a failed parse deletes them without walking their trees.
    std::unordered_set<Context*> lists;
    int errors = 0;
};

ParseState state;

Context* newList() {
    Context* ctx = new Context;
    state.lists.insert(ctx);
    return ctx;
}

// Undoes everything of a failed parse.
void discardParse() {
    // Pending definitions are whole trees: free them properly.
    for (auto& [key, def] : *state.pending) {
        if (def.params != nullptr) node_free(def.params);
        if (def.body != nullptr) node_free(def.body);
    }
    state.pending->clear();
    // The remaining lists either are still open or hang from nodes that no
    // complete tree reaches; their nodes are all in the memory record.
    std::unordered_set<Context*> lists;
    lists.swap(state.lists);
    for (Context* ctx : lists) {
        ctx->clear();
        delete ctx;
    }
    state.openBlocks.clear();
    memMan().releaseAll();
}

}  // namespace

void parse_open_block() { state.openBlocks.push_back(newList()); }

Node* parse_close_block() {
    Context* ctx = state.openBlocks.back();
    state.openBlocks.pop_back();
    return node_block(ctx);
}

void parse_append_statement(Node* statement) { state.openBlocks.back()->push_back(statement); }

void parse_define_function(Node* name, Node* params, Node* body) {
    int count = 0;
    for (Node* p = params; p != nullptr; p = nextOf(p)) ++count;
    std::string key = std::string(identName(name)) + "$" + std::to_string(count);
    node_free(name);
    auto it = state.pending->find(key);
    if (it != state.pending->end()) {
        // A later definition in the same text replaces the earlier one.
        if (it->second.params != nullptr) node_free(it->second.params);
        if (it->second.body != nullptr) node_free(it->second.body);
        it->second = PendingDef{params, body};
    } else {
        state.pending->emplace(std::move(key), PendingDef{params, body});
    }
}

bool parse_row_is_assignable(const Node* row) {
    for (const Node* e = row->child[0]; e != nullptr; e = nextOf(e))
        if (e->kind != OP_IDENT && e->kind != OP_INDEX) return false;
    return true;
}

void parse_report_error(const char* message) {
    ++state.errors;
    print_frontend_error(message);
}

void parse_context_destroyed(Context* ctx) {
    if (!state.lists.empty()) state.lists.erase(ctx);
}

Context* parse_program(PendingTable& pending) {
    state.pending = &pending;
    state.errors = 0;
    state.openBlocks.clear();
    state.lists.clear();
    MemMan& mm = memMan();
    mm.setRecording(true);
    int result;
    try {
        state.openBlocks.push_back(newList());
        result = yyparse();
    } catch (const std::bad_alloc&) {
        outOfMemory();
    }
    scanner_detach();
    Context* program = nullptr;
    if (result == 0 && state.errors == 0) {
        program = state.openBlocks.front();
        state.openBlocks.clear();
        state.lists.clear();
        mm.forgetAll();
    } else {
        discardParse();
    }
    mm.setRecording(false);
    state.pending = nullptr;
    return program;
}
