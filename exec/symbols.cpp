#include "exec/symbols.h"

#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "exec/exec.h"

SymMan* scope_state::frame = nullptr;
SymMan* scope_state::lookupFrame = nullptr;
std::uint64_t scope_state::epoch = 0;
std::uint64_t scope_state::globalEpoch = 0;
std::vector<SymMan*> scope_state::stack;
SymMan* scope_state::spare = nullptr;
std::size_t scope_state::spareCount = 0;

namespace {
// Spare scopes still kept at the end of the program go with it.
struct SpareRelease {
    ~SpareRelease() {
        while (SymMan* scope = scope_state::spare) {
            scope_state::spare = scope->nextSpare;
            delete scope;
        }
        scope_state::spareCount = 0;
    }
} g_spareRelease;
using scope_state::stack;
}  // namespace

// ---------------------------------------------------------------- names

namespace {

struct NameTable {
    std::unordered_map<std::string_view, std::int32_t> ids;
    std::vector<std::unique_ptr<char[]>> texts;  // index id - 1
};

// Made before the program's first name, gone after its last scope.
NameTable g_names;
NameTable& names() { return g_names; }

}  // namespace

std::int32_t internName(const char* name) {
    NameTable& t = names();
    auto it = t.ids.find(std::string_view(name));
    if (it != t.ids.end()) return it->second;
    std::size_t length = std::strlen(name);
    auto text = std::make_unique<char[]>(length + 1);
    std::memcpy(text.get(), name, length + 1);
    std::string_view key(text.get(), length);
    t.texts.push_back(std::move(text));
    auto id = static_cast<std::int32_t>(t.texts.size());
    t.ids.emplace(key, id);
    return id;
}

std::int32_t knownName(const char* name) {
    NameTable& t = names();
    auto it = t.ids.find(std::string_view(name));
    return it == t.ids.end() ? 0 : it->second;
}

const char* nameText(std::int32_t id) { return g_names.texts[static_cast<std::size_t>(id - 1)].get(); }

// ---------------------------------------------------------------- symbols

Symbol::Symbol(std::int32_t nameId, bool externFlag) : id(nameId), isExtern(externFlag), value(nullptr) {
    NRefPtr zero = makeNum(0.0);
    value = zero.get();
    ++value->bindCount;
}

void Symbol::rebind(NRef* v) {
    if (v) ++v->bindCount;
    NRef* old = value;
    value = v;
    if (old) unbindRef(old);
}

// ---------------------------------------------------------------- scopes

SymMan::~SymMan() {
    for (Symbol* s : *this) delete s;
}

Symbol* SymMan::add(std::int32_t id, bool externFlag) {
    removeId(id);
    Symbol* s = new Symbol(id, externFlag);
    push_back(s);
    return s;
}

Symbol* SymMan::addBound(std::int32_t id, NRef* value) {
    removeId(id);
    Symbol* s = new Symbol(id, false, value);
    push_back(s);
    return s;
}

void SymMan::removeId(std::int32_t id) {
    std::int32_t i = indexOf(id);
    if (i < 0) return;
    if (!stack.empty() && this == stack.front()) ++scope_state::globalEpoch;
    Symbol* old = (*this)[static_cast<std::size_t>(i)];
    erase(begin() + i);
    delete old;
}

namespace {

SymMan* materialisedTop() {
    if (!stack.back()) {
        stack.back() = newScope(SCOPE_BLOCK);
        // A placeholder sits above the innermost frame, or there is none.
        if (scope_state::frame) ++scope_state::frame->liveBlocks;
        refreshLookupFrame();
    }
    return stack.back();
}

}  // namespace

void scopeOpenFunctionFrame() { openFunctionFrame(); }

void scopeOpenBlock() { stack.push_back(nullptr); }

void scopeClose() {
    if (stack.empty()) return;
    SymMan* top = stack.back();
    stack.pop_back();
    if (!top) return;
    if (top->flag == SCOPE_FUNCTION) {
        scope_state::frame = top->outerFrame;
    } else if (scope_state::frame) {
        --scope_state::frame->liveBlocks;
    }
    refreshLookupFrame();
    retireScope(top);
}

std::size_t scopeDepth() { return stack.size(); }

void scopeCutTo(std::size_t depth) {
    while (stack.size() > depth) scopeClose();
}

void scopeClearAll() { scopeCutTo(0); }

std::vector<std::string> globalVariableNames() {
    std::vector<std::string> names;
    if (!stack.empty() && stack.front())
        for (const Symbol* sym : *stack.front()) names.push_back(sym->name());
    return names;
}

bool scopeExistsHereId(std::int32_t id) { return !stack.empty() && stack.back() && stack.back()->findId(id); }

bool scopeExistsHere(const char* name) {
    std::int32_t id = knownName(name);
    return id && scopeExistsHereId(id);
}

Symbol* scopeDeclareId(std::int32_t id, bool inBlock) {
    if (stack.empty()) return nullptr;
    if (inBlock) return materialisedTop()->add(id, false);
    return scope_state::frame ? scope_state::frame->add(id, false) : nullptr;
}

Symbol* scopeDeclare(const char* name, bool inBlock) { return scopeDeclareId(internName(name), inBlock); }

Symbol* scopeDeclareParameter(std::int32_t id, NRef* value) {
    return scope_state::frame ? scope_state::frame->addBound(id, value) : nullptr;
}

bool scopeDeclareExtern(const char* name) {
    if (stack.size() <= 1) return false;
    materialisedTop()->add(internName(name), true);
    return true;
}

Symbol* externTarget(Symbol* marker) {
    if (marker->global && marker->globalEpoch == scope_state::globalEpoch) return marker->global;
    SymMan* global = stack.front();
    Symbol* g = global->findId(marker->id);
    if (!g) g = global->add(marker->id, true);
    marker->global = g;
    marker->globalEpoch = scope_state::globalEpoch;
    return g;
}

namespace {

// The walk from the top of the stack down to the innermost function frame.
// With the frame's position of the name in *where (-1 when found elsewhere
// or not at all).
Symbol* searchScopes(std::int32_t id, std::int32_t* where) {
    *where = -1;
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        SymMan* scope = *it;
        if (!scope) continue;
        if (scope->flag == SCOPE_FUNCTION) {
            std::int32_t i = scope->indexOf(id);
            if (i < 0) return nullptr;
            *where = i;
            Symbol* s = (*scope)[static_cast<std::size_t>(i)];
            return s->isExtern ? externTarget(s) : s;
        }
        if (Symbol* s = scope->findId(id)) return s->isExtern ? externTarget(s) : s;
    }
    return nullptr;
}

}  // namespace

Symbol* lookupIdentSlow(Node* ident, std::int32_t id) {
    if (id == 0) id = identId(ident);
    std::int32_t where;
    Symbol* s = searchScopes(id, &where);
    if (where >= 0) ident->note.hint = static_cast<std::uint32_t>(where);
    return s;
}

Symbol* declareIdent(Node* ident) {
    SymMan* f = scope_state::frame;
    if (!f || stack.empty()) return nullptr;
    Symbol* s = f->add(identId(ident), false);
    ident->note.hint = static_cast<std::uint32_t>(f->size() - 1);
    return s;
}
