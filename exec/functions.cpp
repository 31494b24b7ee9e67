#include "exec/functions.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

#include "exec/depth_guard.h"
#include "exec/eval_parts.h"
#include "exec/prepare.h"
#include "exec/scalar_eval.h"
#include "exec/symbols.h"
#include "value/raise.h"

UserBody::UserBody(Node* p, Node* b) : params(p), body(b), paramCount(0), distinctParams(true) {
    for (Node* n = p; n; n = nextOf(n)) {
        ++paramCount;
        for (Node* m = nextOf(n); m; m = nextOf(m))
            if (std::strcmp(identName(n), identName(m)) == 0) distinctParams = false;
    }
}

UserBody::~UserBody() {
    if (params) node_free(params);
    if (body) node_free(body);
}

namespace {
std::uint64_t g_generation = 1;
}

FuncMan::~FuncMan() { releaseAll(); }

void FuncMan::releaseAll() {
    for (auto& entry : *this) delete entry.second;
    clear();
    ++g_generation;
}

void FuncMan::put(const std::string& key, func_tag__* rec) {
    auto it = find(key);
    if (it != end()) {
        delete it->second;
        it->second = rec;
    } else {
        emplace(key, rec);
    }
    ++g_generation;
}

FuncMan& functionTable() {
    static FuncMan table;
    return table;
}

std::uint64_t functionTableGeneration() { return g_generation; }

void buildFunctionKey(std::string& buf, const char* name, int n) {
    char digits[16];
    int len = std::snprintf(digits, sizeof digits, "%d", n);
    buf.assign(name);
    buf.push_back('$');
    buf.append(digits, static_cast<std::size_t>(len));
}

func_tag__* lookupFunction(const char* name, int n) {
    static std::string key;
    buildFunctionKey(key, name, n);
    FuncMan& table = functionTable();
    auto it = table.find(key);
    if (it != table.end()) return it->second;
    it = table.find(std::string_view(name));
    return it != table.end() ? it->second : nullptr;
}

void registerNative(const std::string& key, BuiltinEntry entry) {
    functionTable().put(key, new func_tag__(FUNC_NATIVE, entry, nullptr));
}

void commitPending(PendingTable& pending) {
    for (auto& [key, def] : pending) {
        prepareTree(def.body);
        functionTable().put(key, new func_tag__(FUNC_USER, nullptr, new UserBody(def.params, def.body)));
    }
    pending.clear();
}

int mainProbe() {
    const FuncMan& table = functionTable();
    if (table.count("main$1")) return 1;
    if (table.count("main$0")) return 0;
    return -1;
}

void listFunctionKeys() {
    for (const auto& entry : functionTable()) std::printf("%s\n", entry.first.c_str());
}

std::vector<std::string> functionKeys() {
    std::vector<std::string> keys;
    for (const auto& entry : functionTable()) keys.push_back(entry.first);
    return keys;
}

void clearFunctions() { functionTable().releaseAll(); }

namespace {

// The record of a call site: remembered in the node while the table is
// unchanged, looked up again (and remembered) otherwise.
inline func_tag__* siteRecord(Node* node, int argc) {
    if (node->note.stamp == g_generation) return static_cast<func_tag__*>(node->note.cached);
    func_tag__* rec = lookupFunction(identName(node->child[1]), argc);
    node->note.cached = rec;
    node->note.stamp = g_generation;
    return rec;
}

// Keeps a running body alive even if a text run inside the call redefines it.
class BodyHold {
public:
    explicit BodyHold(UserBody* b) : body_(b) { holdBody(b); }
    ~BodyHold() { releaseBody(body_); }
    BodyHold(const BodyHold&) = delete;
    BodyHold& operator=(const BodyHold&) = delete;

private:
    UserBody* body_;
};

// A body that ended without a return: break or continue left over is an
// error; otherwise (no return, or an exit passing through to the run's end)
// the call yields 0.
__attribute__((noinline)) NRefPtr endWithoutReturn(NContext& ctx) {
    if (ctx.state == CS_BREAK || ctx.state == CS_CONTINUE) {
        // Cleared first: a try that catches this must not see a stale break.
        int where = ctx.line;
        ctx.takeValue();
        raiseError(where, "Bad break or continue");
    }
    return makeNum(0.0);
}

// The condition of an if statement, as the statement tests it.
__attribute__((always_inline)) inline bool ifHolds(NContext& ctx, Node* condition, int line) {
    try {
        return evaluateCondition(ctx, condition, line);
    } catch (const std::bad_alloc&) {
        raiseError(line, "Not enough memory");
    } catch (const std::length_error&) {
        raiseError(line, "Not enough memory");
    }
}

// What a return statement returns.
__attribute__((always_inline)) inline NRefPtr returnValue(NContext& ctx, Node* statement) {
    try {
        if (Node* e = statement->child[0]) return valueOf(ctx, e);
        return makeNum(0.0);
    } catch (const std::bad_alloc&) {
        raiseError(statement->line, "Not enough memory");
    } catch (const std::length_error&) {
        raiseError(statement->line, "Not enough memory");
    }
}

// The value of a return statement of the body itself, handed on as the
// call's result once the frame opened at depth is closed.
__attribute__((always_inline)) inline NRefPtr returnFromFrame(NContext& ctx, Node* statement, std::size_t depth) {
    NRefPtr v = returnValue(ctx, statement);
    // A return replaces whatever its expression left pending (an exit).
    if (__builtin_expect(ctx.state != CS_NONE, 0)) ctx.takeValue();
    closeFunctionFrame(depth);
    return v;
}

// Runs a user function's body in a new frame, its parameters bound to the
// arguments. The caller has taken the call's depth levels.
__attribute__((always_inline)) inline NRefPtr runUser(NContext& ctx, UserBody* fn, const NRefPtr* args, std::size_t argc) {
    BodyHold keep(fn);
    std::size_t depth = scope_state::stack.size();
    SymMan* frame = openFunctionFrameKeeping();
    // The parameter shares each argument's object (a plain variable passed
    // is the variable's own object). Distinct parameters take the symbols
    // a closed frame left, in order.
    std::size_t i = 0;
    if (__builtin_expect(fn->distinctParams, 1)) {
        std::size_t kept = frame->size();
        for (Node* p = fn->params; p && i < argc; p = nextOf(p), ++i) {
            if (i < kept)
                (*frame)[i]->revive(identId(p), args[i].get());
            else
                frame->push_back(new Symbol(identId(p), false, args[i].get()));
        }
        if (kept > i) frame->dropFrom(i);
    } else {
        frame->dropFrom(0);
        for (Node* p = fn->params; p && i < argc; p = nextOf(p), ++i) scopeDeclareParameter(identId(p), args[i].get());
    }
    // A return among the body's own statements hands its value straight
    // back: the state it would set is taken at once by this call anyway.
    for (Node* statement : *blockContext(fn->body)) {
        if (ctx.state != CS_NONE) break;
        if (!statement) continue;
        if (statement->kind == OP_RETURN) return returnFromFrame(ctx, statement, depth);
        if (statement->note.flags & NOTE_IF_RETURN) {
            Node* const* p = static_cast<Payload3*>(statement->data)->p;
            if (ifHolds(ctx, p[0], statement->line)) return returnFromFrame(ctx, p[1], depth);
            continue;
        }
        execute(ctx, statement);
    }
    closeFunctionFrame(depth);
    if (__builtin_expect(ctx.state == CS_RETURN, 1)) return ctx.takeValue();
    return endWithoutReturn(ctx);
}

__attribute__((noinline)) NRefPtr callUser(NContext& ctx, int line, UserBody* fn, const NRefPtr* args,
                                           std::size_t argc) {
    // How deep a recursion may go stays in step with the stack it takes.
    DepthGuard::Call level(line);
    return runUser(ctx, fn, args, argc);
}

// Argument lists are reused (with their storage) from call to call; a call
// nested in an argument takes the next one.
class PooledArgs {
public:
    PooledArgs() {
        if (spare().empty()) {
            list_ = std::make_unique<ArgList>();
        } else {
            list_ = std::move(spare().back());
            spare().pop_back();
        }
    }
    ~PooledArgs() {
        list_->clear();
        if (spare().size() < 256) spare().push_back(std::move(list_));
    }
    PooledArgs(const PooledArgs&) = delete;
    PooledArgs& operator=(const PooledArgs&) = delete;
    ArgList& list() { return *list_; }

private:
    static std::vector<std::unique_ptr<ArgList>>& spare() {
        static std::vector<std::unique_ptr<ArgList>> lists;
        return lists;
    }
    std::unique_ptr<ArgList> list_;
};

[[noreturn]] __attribute__((noinline)) void notDefined(Node* node, int argc) {
    raiseError(node->line, "Function %s() [arg count:%d] not defined", identName(node->child[1]), argc);
}

NRefPtr callNative(NContext& ctx, Node* node, func_tag__* rec, ArgList& args) {
    NRefPtr result = makeNum(0.0);
    rec->native(ctx, node->line, args, result);
    DepthGuard::pollSoon();
    return result;
}

// Calls with up to this many arguments keep them on the stack when the site
// last called a user function.
constexpr std::size_t kFewArguments = 4;

__attribute__((noinline)) NRefPtr callGeneral(NContext& ctx, Node* node) {
    DepthGuard guard(node->line);
    PooledArgs pooled;
    ArgList& args = pooled.list();
    for (Node* a = node->child[0]; a; a = nextOf(a)) args.push_back(valueOf(ctx, a));
    int argc = static_cast<int>(args.size());
    func_tag__* rec = siteRecord(node, argc);
    if (!rec) notDefined(node, argc);
    if (rec->kind == FUNC_NATIVE) return callNative(ctx, node, rec, args);
    return callUser(ctx, node->line, rec->user, args.data(), args.size());
}

// The site's function went, or became a built-in, while the arguments of a
// user function's call were evaluated.
__attribute__((noinline)) NRefPtr callChanged(NContext& ctx, Node* node, func_tag__* rec, NRefPtr* args, std::size_t argc) {
    if (!rec) notDefined(node, static_cast<int>(argc));
    if (rec->kind == FUNC_USER) return callUser(ctx, node->line, rec->user, args, argc);
    PooledArgs pooled;
    ArgList& list = pooled.list();
    for (std::size_t i = 0; i < argc; ++i) list.push_back(std::move(args[i]));
    return callNative(ctx, node, rec, list);
}

// A site that called a user function last time, with few arguments: they
// stay on the stack, and the record is checked again once they are
// evaluated (they may have run a text that changed the table).
__attribute__((always_inline)) inline NRefPtr callKnownUser(NContext& ctx, Node* node, std::size_t argc) {
    DepthGuard::UserCall level(node->line);
    if (argc == 1) {
        NRefPtr arg = valueOf(ctx, node->child[0]);
        func_tag__* rec = siteRecord(node, 1);
        if (__builtin_expect(rec && rec->kind == FUNC_USER, 1)) return runUser(ctx, rec->user, &arg, 1);
        return callChanged(ctx, node, rec, &arg, 1);
    }
    NRefPtr args[kFewArguments];
    std::size_t i = 0;
    for (Node* a = node->child[0]; a; a = nextOf(a)) args[i++] = valueOf(ctx, a);
    func_tag__* rec = siteRecord(node, static_cast<int>(argc));
    if (__builtin_expect(rec && rec->kind == FUNC_USER, 1)) return runUser(ctx, rec->user, args, argc);
    return callChanged(ctx, node, rec, args, argc);
}

}  // namespace

NRefPtr evaluateCall(NContext& ctx, Node* node) {
    try {
        // The record this site found last time, if the table is unchanged.
        auto* guess = node->note.stamp == g_generation ? static_cast<func_tag__*>(node->note.cached) : nullptr;
        if (guess && guess->kind == FUNC_USER) {
            std::size_t argc = 0;
            for (Node* a = node->child[0]; a; a = nextOf(a)) ++argc;
            if (argc <= kFewArguments) return callKnownUser(ctx, node, argc);
        }
        return callGeneral(ctx, node);
    } catch (const std::bad_alloc&) {
        raiseError(node->line, "Not enough memory");
    } catch (const std::length_error&) {
        raiseError(node->line, "Not enough memory");
    }
}
