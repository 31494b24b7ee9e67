#include "exec/symbols.h"


#include "exec/exec.h"
#include "platform/sanitizer.h"

// Grows whenever what a name resolves to may change: a symbol made or
// destroyed, a function frame opened or any scope closed. A block scope's
// placeholder changes nothing until its first declaration adds a symbol.
// Lookups are remembered by the address of the name asked for; an entry is
// trusted only while this count is unchanged and its symbol bears the same
// name, so a reused address or a new scope simply misses.
std::uint64_t lookup_cache::visibility = 1;
lookup_cache::Entry lookup_cache::slots[lookup_cache::kSlots];

namespace {
using lookup_cache::sameName;
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

namespace {
constexpr bool kPoolSymbols = !kAddressSanitizer;
struct FreeSymbol {
    FreeSymbol* next;
};
FreeSymbol* g_freeSymbols = nullptr;
std::size_t g_freeSymbolCount = 0;
constexpr std::size_t kMaxFreeSymbols = 4096;
}  // namespace

void* Symbol::operator new(std::size_t size) {
    if (kPoolSymbols && size == sizeof(Symbol) && g_freeSymbols) {
        FreeSymbol* b = g_freeSymbols;
        g_freeSymbols = b->next;
        --g_freeSymbolCount;
        return b;
    }
    return ::operator new(size);
}

void Symbol::operator delete(void* p, std::size_t size) {
    if (!p) return;
    if (kPoolSymbols && size == sizeof(Symbol) && g_freeSymbolCount < kMaxFreeSymbols) {
        FreeSymbol* b = static_cast<FreeSymbol*>(p);
        b->next = g_freeSymbols;
        g_freeSymbols = b;
        ++g_freeSymbolCount;
        return;
    }
    ::operator delete(p);
}

Symbol::Symbol(const char* n, bool externFlag) : name(n), isExtern(externFlag), value(nullptr) {
    NRefPtr zero = makeNum(0.0);
    value = zero.get();
    ++value->bindCount;
}

Symbol::Symbol(const char* n, bool externFlag, NRef* initial) : name(n), isExtern(externFlag), value(initial) {
    if (value) ++value->bindCount;
}

Symbol::~Symbol() {
    ++g_epoch;
    ++lookup_cache::visibility;
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


Symbol* SymMan::find(const char* name) const {
    for (Symbol* s : *this)
        if (sameName(s->name.c_str(), name)) return s;
    return nullptr;
}

Symbol* SymMan::add(const char* name, bool externFlag) {
    removeNamed(name);
    Symbol* s = new Symbol(name, externFlag);
    push_back(s);
    ++lookup_cache::visibility;
    return s;
}

Symbol* SymMan::addBound(const char* name, NRef* value) {
    removeNamed(name);
    Symbol* s = new Symbol(name, false, value);
    push_back(s);
    ++lookup_cache::visibility;
    return s;
}

void SymMan::removeNamed(const char* name) {
    for (auto it = begin(); it != end(); ++it) {
        if (sameName((*it)->name.c_str(), name)) {
            Symbol* old = *it;
            erase(it);
            delete old;
            return;
        }
    }
}

std::uint64_t symbolEpoch() { return g_epoch; }

void scopeOpenFunctionFrame() {
    g_stack.push_back(newScope(SCOPE_FUNCTION));
    ++lookup_cache::visibility;
}
void scopeOpenBlock() { g_stack.push_back(nullptr); }

void scopeClose() {
    if (g_stack.empty()) return;
    SymMan* top = g_stack.back();
    g_stack.pop_back();
    if (top) ++lookup_cache::visibility;
    retireScope(top);
}

std::size_t scopeDepth() { return g_stack.size(); }

void scopeCutTo(std::size_t depth) {
    while (g_stack.size() > depth) scopeClose();
}

void scopeClearAll() { scopeCutTo(0); }

std::vector<std::string> globalVariableNames() {
    std::vector<std::string> names;
    if (!g_stack.empty() && g_stack.front())
        for (const Symbol* sym : *g_stack.front()) names.push_back(sym->name);
    return names;
}

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

Symbol* scopeDeclareParameter(const char* name, NRef* value) {
    for (auto it = g_stack.rbegin(); it != g_stack.rend(); ++it)
        if (*it && (*it)->flag == SCOPE_FUNCTION) return (*it)->addBound(name, value);
    return nullptr;
}

bool scopeDeclareExtern(const char* name) {
    if (g_stack.size() <= 1) return false;
    materialisedTop()->add(name, true);
    return true;
}

namespace {
// Out of line, so that a cache hit in scopeLookup() stays a short leaf call.
__attribute__((noinline)) Symbol* searchScopes(const char* name) {
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
}  // namespace

Symbol* scopeLookup(const char* name) {
    lookup_cache::Entry& e = lookup_cache::slotFor(name);
    if (e.visibility == lookup_cache::visibility && sameName(e.sym->name.c_str(), name)) return e.sym;
    Symbol* s = searchScopes(name);
    // Found extern names may have just been added globally: note the count after.
    if (s) e = lookup_cache::Entry{s, lookup_cache::visibility};
    return s;
}
