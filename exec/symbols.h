// Variables, scopes and the process-wide scope stack.
//
// A Symbol keeps its name whole (any length), so a long name is found again
// exactly as it was declared. The stack's bottom entry is the global frame;
// a block scope is a null placeholder until its first declaration.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "value/value.h"

class Symbol {
public:
    std::string name;
    bool isExtern;
    NRef* value;  // counted in bindCount; null only for a parameter passed no value

    Symbol(const char* n, bool externFlag);
    // Bound to initial from the start (null allowed), with no zero made first.
    Symbol(const char* n, bool externFlag, NRef* initial);
    Symbol(const Symbol&) = delete;
    Symbol& operator=(const Symbol&) = delete;
    ~Symbol();

    // Unbinds the old value and binds v (which may be null).
    void rebind(NRef* v);
    // A whole-variable store: binds v, or a copy of it when another variable
    // holds it. x = x keeps its object only when nothing else holds it (a
    // parameter sharing its argument, or a pending operand, gets a copy).
    void bindValue(const NRefPtr& v) {
        if (value == v.get() && v->bindCount == 1 && v->refCount == 1) return;
        rebind(takeForBinding(v).get());
    }
    NRefPtr valueRef() const { return NRefPtr(value); }

    // Every call declares its parameters: freed symbols are kept for reuse.
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size);
};

enum ScopeFlag : std::int32_t { SCOPE_FUNCTION = 0, SCOPE_BLOCK = 1 };

class SymMan : public std::vector<Symbol*> {
public:
    std::int32_t flag;

    explicit SymMan(std::int32_t f) : flag(f) {}
    SymMan(const SymMan&) = delete;
    SymMan& operator=(const SymMan&) = delete;
    virtual ~SymMan();

    Symbol* find(const char* name) const;
    // Replaces a symbol of the same name, if any.
    Symbol* add(const char* name, bool externFlag);
    // The same, the new symbol bound to value.
    Symbol* addBound(const char* name, NRef* value);

private:
    void removeNamed(const char* name);
};

// Grows every time a symbol is destroyed. A holder of a Symbol pointer that
// ran arbitrary code meanwhile (a call that may eval text) compares this
// counter before trusting the pointer, and looks the name up again if it moved.
std::uint64_t symbolEpoch();

// Scope stack operations beyond the ones of exec.h.
bool scopeExistsHere(const char* name);
Symbol* scopeDeclare(const char* name, bool inBlock);  // null on an empty stack
bool scopeDeclareExtern(const char* name);             // false at global level
// A parameter of the innermost function frame, bound to value (may be null).
Symbol* scopeDeclareParameter(const char* name, NRef* value);  // null without a frame
Symbol* scopeLookup(const char* name);                 // null when not visible

// The remembered result of a recent scopeLookup(), or null. Kept inline:
// a script names a variable at nearly every step.
namespace lookup_cache {
struct Entry {
    Symbol* sym;
    std::uint64_t visibility;  // the visibility count when sym was found
};
constexpr std::size_t kSlots = 256;
extern Entry slots[kSlots];
extern std::uint64_t visibility;  // grows whenever a name may resolve differently

inline Entry& slotFor(const char* name) {
    auto bits = reinterpret_cast<std::uintptr_t>(name);
    return slots[(bits ^ (bits >> 9)) % kSlots];
}
inline bool sameName(const char* a, const char* b) {
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}
}  // namespace lookup_cache

inline Symbol* scopeLookupFast(const char* name) {
    const lookup_cache::Entry& e = lookup_cache::slotFor(name);
    if (e.visibility == lookup_cache::visibility && lookup_cache::sameName(e.sym->name.c_str(), name)) return e.sym;
    return scopeLookup(name);
}
