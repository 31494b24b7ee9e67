#include "exec/functions.h"

#include <cstdio>
#include <cstring>

#include "exec/prepare.h"
#include "exec/symbols.h"
#include "value/raise.h"

UserBody::UserBody(Node* p, Node* b) : params(p), body(b), paramCount(0) {
    for (Node* n = p; n; n = nextOf(n)) ++paramCount;
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
    functionTable().put(key, new func_tag__{FUNC_NATIVE, entry, nullptr});
}

void commitPending(PendingTable& pending) {
    for (auto& [key, def] : pending) {
        prepareTree(def.body);
        functionTable().put(key, new func_tag__{FUNC_USER, nullptr, std::make_shared<UserBody>(def.params, def.body)});
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
// What a call site found last time, trusted while the table is unchanged.
// Sites are remembered by node address in a small direct-mapped table.
struct CallSiteCache {
    const Node* node = nullptr;
    std::string name;
    int argc = 0;
    std::uint64_t generation = 0;
    func_tag__* rec = nullptr;
};
constexpr std::size_t kCallSiteSlots = 512;
CallSiteCache g_callSites[kCallSiteSlots];

__attribute__((noinline)) func_tag__* findForCall(const Node* node, const char* name, int argc) {
    std::uint64_t gen = functionTableGeneration();
    auto bits = reinterpret_cast<std::uintptr_t>(node);
    CallSiteCache& site = g_callSites[(bits ^ (bits >> 10)) / alignof(Node) % kCallSiteSlots];
    // A node address can be reused by a later tree, so the name and the
    // count must match too.
    if (site.node == node && site.generation == gen && site.argc == argc && site.name == name) return site.rec;
    func_tag__* rec = lookupFunction(name, argc);
    if (rec) {
        site.node = node;
        site.name.assign(name);
        site.argc = argc;
        site.generation = gen;
        site.rec = rec;
    }
    return rec;
}

__attribute__((noinline)) NRefPtr callUser(NContext& ctx, const std::shared_ptr<UserBody>& fn, ArgList& args) {
    // Keeps the body alive even if a text run inside the call redefines it.
    std::shared_ptr<UserBody> keep = fn;
    std::size_t depth = scopeDepth();
    scopeOpenFunctionFrame();
    std::size_t i = 0;
    for (Node* p = keep->params; p && i < args.size(); p = nextOf(p), ++i) {
        scopeDeclareParameter(identName(p), args[i].get());
    }
    runList(ctx, blockContext(keep->body));
    scopeCutTo(depth);
    NRefPtr result;
    switch (ctx.state) {
    case CS_RETURN:
        result = ctx.takeValue();
        break;
    case CS_BREAK:
    case CS_CONTINUE: {
        // Cleared first: a try that catches this must not see a stale break.
        int where = ctx.line;
        ctx.takeValue();
        raiseError(where, "Bad break or continue");
    }
    case CS_EXIT:
    default:
        result = makeNum(0.0);
        break;
    }
    return result;
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
}  // namespace

NRefPtr evalCall(NContext& ctx, Node* node) {
    PooledArgs pooled;
    ArgList& args = pooled.list();
    for (Node* a = node->child[0]; a; a = nextOf(a)) args.push_back(evaluate(ctx, a));
    const char* name = identName(node->child[1]);
    int argc = static_cast<int>(args.size());
    func_tag__* rec = findForCall(node, name, argc);
    if (!rec) raiseError(node->line, "Function %s() [arg count:%d] not defined", name, argc);
    if (rec->kind == FUNC_NATIVE) {
        NRefPtr result = makeNum(0.0);
        rec->native(ctx, node->line, args, result);
        return result;
    }
    return callUser(ctx, rec->user, args);
}
