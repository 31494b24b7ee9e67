#include "exec/symbols.h"


#include "exec/exec.h"

namespace {
std::vector<SymMan*> g_stack;
std::uint64_t g_epoch = 0;

// Closed scopes are kept for reuse (with their storage), since every call
// opens a frame and every block with a declaration a scope.
struct SparePool : std::vector<SymMan*> {
    ~SparePool() {
        for (SymMan* scope : *this) delete scope;
    }
};
SparePool g_spare;
constexpr std::size_t kMaxSpare = 256;

SymMan* newScope(std::int32_t flag) {
    if (g_spare.empty()) return new SymMan(flag);
    SymMan* scope = g_spare.back();
    g_spare.pop_back();
    scope->flag = flag;
    return scope;
}

void retireScope(SymMan* scope) {
    if (!scope) return;
    if (g_spare.size() >= kMaxSpare) {
        delete scope;
        return;
    }
    // The symbols go now (their values are unbound as the scope closes).
    while (!scope->empty()) {
        Symbol* last = scope->back();
        scope->pop_back();
        delete last;
    }
    g_spare.push_back(scope);
}
}  // namespace

Symbol::Symbol(const char* n, bool externFlag) : name(n), isExtern(externFlag), value(nullptr) {
    NRefPtr zero = makeNum(0.0);
    value = zero.get();
    ++value->bindCount;
}

Symbol::~Symbol() {
    ++g_epoch;
    if (value) unbindRef(value);
}

void Symbol::rebind(NRef* v) {
    if (v) ++v->bindCount;
    NRef* old = value;
    value = v;
    if (old) unbindRef(old);
}

SymMan::~SymMan() {
    for (Symbol* s : *this) delete s;
}

namespace {
// Names are short: comparing in place beats a library call.
inline bool sameName(const char* a, const char* b) {
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}
}  // namespace

Symbol* SymMan::find(const char* name) const {
    for (Symbol* s : *this)
        if (sameName(s->name.c_str(), name)) return s;
    return nullptr;
}

Symbol* SymMan::add(const char* name, bool externFlag) {
    for (auto it = begin(); it != end(); ++it) {
        if (sameName((*it)->name.c_str(), name)) {
            Symbol* old = *it;
            erase(it);
            delete old;
            break;
        }
    }
    Symbol* s = new Symbol(name, externFlag);
    push_back(s);
    return s;
}

std::uint64_t symbolEpoch() { return g_epoch; }

void scopeOpenFunctionFrame() { g_stack.push_back(newScope(SCOPE_FUNCTION)); }
void scopeOpenBlock() { g_stack.push_back(nullptr); }

void scopeClose() {
    if (g_stack.empty()) return;
    SymMan* top = g_stack.back();
    g_stack.pop_back();
    retireScope(top);
}

std::size_t scopeDepth() { return g_stack.size(); }

void scopeCutTo(std::size_t depth) {
    while (g_stack.size() > depth) scopeClose();
}

void scopeClearAll() { scopeCutTo(0); }

bool scopeExistsHere(const char* name) {
    return !g_stack.empty() && g_stack.back() && g_stack.back()->find(name);
}

namespace {
SymMan* materialisedTop() {
    if (!g_stack.back()) g_stack.back() = newScope(SCOPE_BLOCK);
    return g_stack.back();
}
}  // namespace

Symbol* scopeDeclare(const char* name, bool inBlock) {
    if (g_stack.empty()) return nullptr;
    if (inBlock) return materialisedTop()->add(name, false);
    for (auto it = g_stack.rbegin(); it != g_stack.rend(); ++it)
        if (*it && (*it)->flag == SCOPE_FUNCTION) return (*it)->add(name, false);
    return nullptr;
}

bool scopeDeclareExtern(const char* name) {
    if (g_stack.size() <= 1) return false;
    materialisedTop()->add(name, true);
    return true;
}

Symbol* scopeLookup(const char* name) {
    for (auto it = g_stack.rbegin(); it != g_stack.rend(); ++it) {
        SymMan* scope = *it;
        if (!scope) continue;
        Symbol* s = scope->find(name);
        if (s) {
            if (!s->isExtern) return s;
            SymMan* global = g_stack.front();
            Symbol* g = global->find(name);
            return g ? g : global->add(name, true);
        }
        if (scope->flag == SCOPE_FUNCTION) break;
    }
    return nullptr;
}
