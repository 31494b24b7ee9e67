// Variables, scopes and the process-wide scope stack.
//
// Names are interned: every distinct name gets a number, and symbols and
// identifier nodes carry it, so finding a name compares integers. A Symbol
// keeps its name whole (any length), so a long name is found again exactly as
// it was declared. The stack's bottom entry is the global frame; a block
// scope is a null placeholder until its first declaration.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "exec/exec.h"
#include "frontend/node.h"
#include "platform/free_list_pool.h"
#include "value/value.h"

// The number of a name (from 1), made on first use; the text lives as long
// as the program.
std::int32_t internName(const char* name);
// The number of a name already interned, or 0.
std::int32_t knownName(const char* name);
// The text of an interned name.
const char* nameText(std::int32_t id);

class SymMan;
namespace scope_state {
extern SymMan* frame;  // the innermost function frame, or null
// The innermost function frame while no block scope above it holds symbols
// (a name visible now is then found in that frame alone), else null.
extern SymMan* lookupFrame;
extern std::uint64_t epoch;
extern std::uint64_t globalEpoch;  // grows when a symbol of the global frame goes
}  // namespace scope_state

class Symbol {
public:
    std::int32_t id;  // the interned name
    bool isExtern;
    NRef* value;  // counted in bindCount; null only for a parameter passed no value
    // An extern marker remembers the global it stood for, while no symbol of
    // the global frame was destroyed since.
    Symbol* global = nullptr;
    std::uint64_t globalEpoch = 0;

    Symbol(std::int32_t nameId, bool externFlag);
    // Bound to initial from the start (null allowed), with no zero made first.
    Symbol(std::int32_t nameId, bool externFlag, NRef* initial) : id(nameId), isExtern(externFlag), value(initial) {
        if (value) ++value->bindCount;
    }
    Symbol(const Symbol&) = delete;
    Symbol& operator=(const Symbol&) = delete;
    ~Symbol() {
        ++scope_state::epoch;
        if (value) unbindRef(value);
    }
    const char* name() const { return nameText(id); }

    // Unbinds the old value and binds v (which may be null).
    void rebind(NRef* v);
    // A symbol of a closed frame, kept for reuse: its value is unbound, and
    // no scope on the stack holds it any more.
    void unbind() {
        NRef* v = value;
        value = nullptr;
        if (v) unbindRef(v);
    }
    // Such a symbol made a parameter: named id and bound to v (may be null).
    void revive(std::int32_t nameId, NRef* v) {
        id = nameId;
        isExtern = false;
        global = nullptr;
        value = v;
        if (v) ++v->bindCount;
    }
    NRefPtr valueRef() const { return NRefPtr(value); }
    // A whole-variable store: binds v, or a copy of it when another variable
    // holds it. x = x keeps its object only when nothing else holds it (a
    // parameter sharing its argument, or a pending operand, gets a copy).
    void bindValue(const NRefPtr& v) {
        if (value == v.get() && v->bindCount == 1 && v->refCount == 1) return;
        rebind(takeForBinding(v).get());
    }

    // Every call declares its parameters: freed symbols are reused.
    using Pool = FreeListPool<Symbol, 4096>;
    static void* operator new(std::size_t size) { return Pool::allocate(size); }
    static void operator delete(void* p, std::size_t size) { Pool::release(p, size); }
};

enum ScopeFlag : std::int32_t { SCOPE_FUNCTION = 0, SCOPE_BLOCK = 1 };

class SymMan : public std::vector<Symbol*> {
public:
    std::int32_t flag;
    // Function frames only: the function frame below this one, and how many
    // block scopes above it hold symbols (while none does, a name visible
    // here is found in this frame alone).
    SymMan* outerFrame = nullptr;
    std::uint32_t liveBlocks = 0;
    SymMan* nextSpare = nullptr;  // a closed scope kept for reuse: the next one

    explicit SymMan(std::int32_t f) : flag(f) {}
    SymMan(const SymMan&) = delete;
    SymMan& operator=(const SymMan&) = delete;
    virtual ~SymMan();

    // The position of the symbol numbered id, or -1.
    std::int32_t indexOf(std::int32_t id) const {
        for (std::size_t i = 0; i < size(); ++i)
            if ((*this)[i]->id == id) return static_cast<std::int32_t>(i);
        return -1;
    }
    Symbol* findId(std::int32_t id) const {
        std::int32_t i = indexOf(id);
        return i < 0 ? nullptr : (*this)[static_cast<std::size_t>(i)];
    }
    // Destroys the symbols from position `from` on.
    void dropFrom(std::size_t from) {
        while (size() > from) {
            Symbol* last = back();
            pop_back();
            delete last;
        }
    }
    // Replaces a symbol of the same name, if any.
    Symbol* add(std::int32_t id, bool externFlag);
    // The same, the new symbol bound to value.
    Symbol* addBound(std::int32_t id, NRef* value);

private:
    void removeId(std::int32_t id);
};

// Grows every time a symbol is destroyed. A holder of a Symbol pointer that
// ran arbitrary code meanwhile (a call that may eval text) compares this
// counter before trusting the pointer, and looks the name up again if it moved.
inline std::uint64_t symbolEpoch() { return scope_state::epoch; }

// Scope stack operations beyond the ones of exec.h.
bool scopeExistsHere(const char* name);
bool scopeExistsHereId(std::int32_t id);
Symbol* scopeDeclare(const char* name, bool inBlock);  // null on an empty stack
Symbol* scopeDeclareId(std::int32_t id, bool inBlock);
bool scopeDeclareExtern(const char* name);             // false at global level
// A parameter of the innermost function frame, bound to value (may be null).
Symbol* scopeDeclareParameter(std::int32_t id, NRef* value);  // null without a frame

namespace scope_state {
extern std::vector<SymMan*> stack;  // bottom first; null for a block placeholder
// Closed scopes are kept for reuse (with their storage), since every call
// opens a frame and every block with a declaration a scope. A closed
// frame keeps its symbols too, unbound, for the parameters of the next
// call (except under AddressSanitizer, so that stale uses are caught).
extern SymMan* spare;
extern std::size_t spareCount;
constexpr std::size_t kMaxSpare = 256;
constexpr bool kKeepClosedSymbols = !kAddressSanitizer;
}  // namespace scope_state

// A closed scope for reuse (or a new one); it may still hold the unbound
// symbols of a frame.
inline SymMan* takeSpareScope(std::int32_t flag) {
    SymMan* scope = scope_state::spare;
    if (!scope) return new SymMan(flag);
    scope_state::spare = scope->nextSpare;
    --scope_state::spareCount;
    scope->flag = flag;
    scope->outerFrame = nullptr;
    scope->liveBlocks = 0;
    return scope;
}

inline SymMan* newScope(std::int32_t flag) {
    SymMan* scope = takeSpareScope(flag);
    if (!scope->empty()) scope->dropFrom(0);
    return scope;
}

inline void retireScope(SymMan* scope) {
    if (!scope) return;
    if (scope_state::stack.empty()) ++scope_state::globalEpoch;  // the global frame goes
    if (scope_state::spareCount >= scope_state::kMaxSpare) {
        delete scope;
        return;
    }
    // The values are unbound as the scope closes; its symbols go now, or
    // stay unbound in a frame.
    if (scope_state::kKeepClosedSymbols && scope->flag == SCOPE_FUNCTION) {
        if (!scope->empty()) {
            ++scope_state::epoch;
            for (auto it = scope->rbegin(); it != scope->rend(); ++it) (*it)->unbind();
        }
    } else {
        scope->dropFrom(0);
    }
    scope->nextSpare = scope_state::spare;
    scope_state::spare = scope;
    ++scope_state::spareCount;
}

// After the innermost frame or its count of live blocks changed.
inline void refreshLookupFrame() {
    SymMan* f = scope_state::frame;
    scope_state::lookupFrame = f && f->liveBlocks == 0 ? f : nullptr;
}

// A new innermost function frame. It may hold the unbound symbols of a
// closed one, for its caller to reuse or drop.
inline SymMan* openFunctionFrameKeeping() {
    SymMan* f = takeSpareScope(SCOPE_FUNCTION);
    f->outerFrame = scope_state::frame;
    scope_state::stack.push_back(f);
    scope_state::frame = f;
    scope_state::lookupFrame = f;
    return f;
}

inline SymMan* openFunctionFrame() {
    SymMan* f = openFunctionFrameKeeping();
    if (!f->empty()) f->dropFrom(0);
    return f;
}

// Closes the function frame opened at depth, and anything left above it.
inline void closeFunctionFrame(std::size_t depth) {
    std::vector<SymMan*>& stack = scope_state::stack;
    if (stack.size() != depth + 1) {
        while (stack.size() > depth) scopeClose();
        return;
    }
    SymMan* top = stack.back();
    stack.pop_back();
    scope_state::frame = top->outerFrame;
    refreshLookupFrame();
    retireScope(top);
}

// The interned number of an identifier node's name.
inline std::int32_t identId(Node* ident) {
    if (ident->note.id == 0) ident->note.id = internName(identName(ident));
    return ident->note.id;
}

Symbol* externTarget(Symbol* marker);
Symbol* lookupIdentSlow(Node* ident, std::int32_t id);

// Lookup of an identifier node. The node remembers where in the innermost
// frame its name was found last; while no block scope above that frame holds
// symbols and the symbol there still bears the name, that is the answer.
// (A node never prepared has the name number 0 until its first slow lookup.)
__attribute__((always_inline)) inline Symbol* lookupIdent(Node* ident) {
    std::int32_t id = ident->note.id;
    if (SymMan* f = scope_state::lookupFrame) {
        std::uint32_t h = ident->note.hint;
        if (h < f->size()) {
            Symbol* s = (*f)[h];
            if (s->id == id) return s->isExtern ? externTarget(s) : s;
        }
    }
    return lookupIdentSlow(ident, id);
}

// An undeclared name assigned to: declared in the innermost function frame.
Symbol* declareIdent(Node* ident);
