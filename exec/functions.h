// The function table: user functions and native built-ins under one key
// space, "name$n" for a fixed argument count or the bare name for a
// variadic built-in, ordered by plain byte comparison.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "exec/exec.h"

// The parameter list and body of a user function. Freed when the last holder
// lets go: the table's record, or a call still running the body after the
// function was redefined under it. Only the interpreter thread holds bodies,
// so the count is a plain integer.
struct UserBody {
    Node* params;  // first OP_IDENT, chained by next; may be null
    Node* body;    // OP_BLOCK
    int paramCount;
    bool distinctParams;  // no parameter name repeats (a later one replaces an earlier)
    int holders = 0;

    UserBody(Node* p, Node* b);
    UserBody(const UserBody&) = delete;
    UserBody& operator=(const UserBody&) = delete;
    ~UserBody();
};

inline void holdBody(UserBody* b) { ++b->holders; }
inline void releaseBody(UserBody* b) {
    if (--b->holders == 0) delete b;
}

enum FuncKind : std::int32_t { FUNC_USER = 0, FUNC_NATIVE = 1 };

struct func_tag__ {
    std::int32_t kind;
    BuiltinEntry native;  // natives only
    UserBody* user;       // user functions only, held by the record

    func_tag__(std::int32_t k, BuiltinEntry n, UserBody* u) : kind(k), native(n), user(u) {
        if (user) holdBody(user);
    }
    func_tag__(const func_tag__&) = delete;
    func_tag__& operator=(const func_tag__&) = delete;
    ~func_tag__() {
        if (user) releaseBody(user);
    }
};

class FuncMan : public std::map<std::string, func_tag__*, std::less<>> {
public:
    FuncMan() = default;
    FuncMan(const FuncMan&) = delete;
    FuncMan& operator=(const FuncMan&) = delete;
    virtual ~FuncMan();
    // Releases every record and empties the table.
    void releaseAll();
    // Enters rec under key, releasing a record it replaces.
    void put(const std::string& key, func_tag__* rec);
};

FuncMan& functionTable();
// Grows whenever the table changes, so call sites can keep a found record.
std::uint64_t functionTableGeneration();

// Key(name, n) written into buf (reused, so a call builds no new string).
void buildFunctionKey(std::string& buf, const char* name, int n);
// The record for (name, n): "name$n", else the bare name, else null.
func_tag__* lookupFunction(const char* name, int n);
