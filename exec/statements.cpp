// Statement lists, blocks, conditionals, loops, switch and try. Break,
// continue, return and exit travel as states of the control record; every
// runner stops once a state is set. Scopes are opened and closed explicitly:
// when an exception passes, the handler that opened a scope leaves it, and
// the catcher (try, the run entry point) cuts the stack back.
#include "exec/depth_guard.h"
#include "exec/eval_parts.h"
#include "exec/interrupt.h"
#include "exec/lvalue.h"
#include "exec/prepare.h"
#include "exec/scalar_eval.h"
#include "exec/symbols.h"
#include "value/ops.h"
#include "value/raise.h"
#include "value/settings.h"

NRefPtr runList(NContext& ctx, Context* list) {
    if (!list) return makeNum(0.0);
    NRefPtr result;
    for (Node* entry : *list) {
        if (ctx.state != CS_NONE) break;
        if (entry) result = evaluate(ctx, entry);
    }
    return result;
}

void runListForEffect(NContext& ctx, Context* list) {
    if (!list) return;
    for (Node* entry : *list) {
        if (ctx.state != CS_NONE) break;
        if (entry) execute(ctx, entry);
    }
}

namespace {

Node* const* payload(Node* node) { return static_cast<Payload4*>(node->data)->p; }

// What a loop does after its body ran: true to go on.
bool loopGoesOn(NContext& ctx) {
    switch (ctx.state) {
    case CS_BREAK:
        if (--ctx.levels == 0) ctx.takeValue();
        return false;
    case CS_CONTINUE:
        if (--ctx.levels != 0) return false;
        ctx.takeValue();
        return true;
    case CS_NONE:
        return true;
    default:
        return false;  // return or exit pass through
    }
}

}  // namespace

namespace {

// The block scope of a statement, opened unless nothing in the statement can
// declare a name in it (the placeholder would stay empty and unseen).
class StatementScope {
public:
    explicit StatementScope(const Node* node) : open_(!(node->note.flags & NOTE_NO_SCOPE)) {
        if (open_) scopeOpenBlock();
    }
    void close() {
        if (open_) scopeClose();
    }

private:
    bool open_;
};

}  // namespace

NRefPtr evalBlock(NContext& ctx, Node* node) {
    StatementScope scope(node);
    NRefPtr result = runList(ctx, blockContext(node));
    scope.close();
    return result;
}

void execBlock(NContext& ctx, Node* node) {
    StatementScope scope(node);
    runListForEffect(ctx, blockContext(node));
    scope.close();
}

void execIf(NContext& ctx, Node* node) {
    Node* const* p = static_cast<Payload3*>(node->data)->p;
    StatementScope scope(node);
    if (evaluateCondition(ctx, p[0], node->line)) {
        if (p[1]) execute(ctx, p[1]);
    } else if (p[2]) {
        execute(ctx, p[2]);
    }
    scope.close();
}

void execLoop(NContext& ctx, Node* node) {
    int line = node->line;
    Node *init = nullptr, *cond = nullptr, *step = nullptr, *body = nullptr;
    if (node->kind == OP_FOR) {
        Node* const* p = payload(node);
        init = p[0];
        cond = p[1];
        step = p[2];
        body = p[3];
    } else {
        Node* const* p = static_cast<Payload2*>(node->data)->p;
        cond = p[0];
        body = p[1];
    }
    StatementScope scope(node);
    bool goOn;
    if (node->kind == OP_WHILE) {
        goOn = evaluateCondition(ctx, cond, line);
    } else {
        if (init) execute(ctx, init);
        goOn = node->kind == OP_DO || !cond || evaluateCondition(ctx, cond, line);
    }
    bool always = node->kind == OP_FOR && !cond;
    while (always || goOn) {
        // An empty body and no condition evaluate nothing: check here too.
        DepthGuard::pollInterrupt(line);
        if (body) execute(ctx, body);
        if (!loopGoesOn(ctx)) break;
        if (step) execute(ctx, step);
        if (cond) goOn = evaluateCondition(ctx, cond, line);
    }
    scope.close();
}

namespace {

// The first statement after a label run of the list, from position i.
std::size_t afterLabels(const Context& list, std::size_t i) {
    while (i < list.size() && list[i] && (list[i]->kind == OP_CASE || list[i]->kind == OP_DEFAULT)) ++i;
    return i;
}

std::size_t switchEntry(NContext& ctx, const Context& list, const NRefPtr& selector) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        Node* entry = list[i];
        if (!entry) continue;
        if (entry->kind == OP_DEFAULT) return afterLabels(list, i + 1);
        if (entry->kind == OP_CASE) {
            NRefPtr label = evaluate(ctx, entry->child[0]);
            if (conditionTest(entry->line, compareEQ(entry->line, selector, label))) return afterLabels(list, i + 1);
        }
    }
    return list.size();
}

}  // namespace

void execSwitch(NContext& ctx, Node* node) {
    Node* const* p = static_cast<Payload2*>(node->data)->p;
    StatementScope scope(node);
    NRefPtr selector = evaluate(ctx, p[1]);
    Context* list = p[0] ? blockContext(p[0]) : nullptr;
    if (list) {
        for (std::size_t i = switchEntry(ctx, *list, selector); i < list->size(); ++i) {
            if (ctx.state != CS_NONE) break;
            if ((*list)[i]) execute(ctx, (*list)[i]);
        }
    }
    if (ctx.state == CS_BREAK && --ctx.levels == 0) ctx.takeValue();
    scope.close();
}

void execTry(NContext& ctx, Node* node) {
    Node* const* p = static_cast<Payload3*>(node->data)->p;
    Node* tryStmt = p[0];
    Node* catchStmt = p[1];
    Node* catchVar = p[2];
    std::size_t depth = scopeDepth();
    std::string message;
    try {
        if (tryStmt) execute(ctx, tryStmt);
        scopeCutTo(depth);
        return;
    } catch (const InterruptedError&) {
        scopeCutTo(depth);
        throw;  // the user's interruption is not the script's to catch
    } catch (const std::runtime_error& e) {
        message = e.what();
    }
    scopeCutTo(depth);
    if (!catchVar || !catchStmt) return;
    std::size_t depth2 = scopeDepth();
    try {
        scopeOpenBlock();
        NRefPtr text = makeString(message);
        if (catchVar->kind == OP_VAR) {
            Node* decl = catchVar->child[0];
            Node* ident = decl && decl->kind == OP_ASSIGN ? decl->child[0] : decl;
            Symbol* s = ident ? scopeDeclareId(identId(ident), true) : nullptr;
            if (s) s->rebind(text.get());
        } else {
            assignTo(ctx, catchVar, text);
        }
        execute(ctx, catchStmt);
    } catch (...) {
        scopeCutTo(depth2);
        throw;
    }
    scopeCutTo(depth2);
}

NRefPtr evalVar(NContext& ctx, Node* node) {
    NRefPtr result = makeNum(0.0);
    for (Node* decl = node->child[0]; decl; decl = nextOf(decl)) {
        Node* ident = decl->kind == OP_ASSIGN ? decl->child[0] : decl;
        Node* init = decl->kind == OP_ASSIGN ? decl->child[1] : nullptr;
        std::int32_t id = identId(ident);
        if (strictMode() && scopeExistsHereId(id)) raiseError(node->line, "Symbol %s already declared", identName(ident));
        Symbol* s = scopeDeclareId(id, true);
        if (!init || !s) continue;
        std::uint64_t epoch = symbolEpoch();
        NRefPtr v = evaluate(ctx, init);
        // The initializer may have run code that replaced the symbol.
        if (epoch != symbolEpoch()) s = lookupIdent(ident);
        if (!s) raiseError(decl->line, "Variable %s not declared", identName(ident));
        if (!asNum(v) && !asString(v)) raiseError(decl->line, "Bad assignment with void expression");
        s->bindValue(v);
        result = v;
    }
    return result;
}

NRefPtr evalExtern(NContext&, Node* node) {
    for (Node* ident = node->child[0]; ident; ident = nextOf(ident)) {
        const char* name = identName(ident);
        if (strictMode() && scopeExistsHere(name)) raiseError(node->line, "Symbol %s already declared", name);
        if (!scopeDeclareExtern(name)) raiseError(node->line, "Variable cannot extern from global scope");
    }
    return makeNum(0.0);
}
