// The front door of the built-in library: registration of the core table and
// the reference of every built-in (core and graphics) that `.help NAME` shows.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "exec/exec.h"

// Registers the core built-ins in table order.
void registerCoreBuiltins();

// The reference entry of one built-in; aliases (re and real) share one.
struct BuiltinHelp {
    const char* keys;     // its function keys, blank-separated: "atan$1 atan$2"
    const char* usage;    // the call forms, one a line
    const char* summary;  // what it does
    const char* returns;  // what it gives back
    const char* raises;   // the messages it raises, one a line: "\"text\" when ..."; "" for none
    const char* example;  // a talk-mode session (">" marks typed lines) or, when it
                          // starts with "$ ", a shell session; the rest is output
};

struct BuiltinFamily {
    const char* title;
    const char* intro;
    std::span<const BuiltinHelp> entries;
};

// Every entry, grouped by family, in the order the reference lists them.
std::span<const BuiltinFamily> builtinFamilies();

// The entry of a name ("sin") or a key ("sin$1"); null when there is none.
const BuiltinHelp* findBuiltinHelp(std::string_view nameOrKey);

// The names an entry answers to: its keys without their argument counts.
std::string builtinNames(const BuiltinHelp& entry);

// What `.help NAME` prints for an entry, and the lookup that prints it or
// says that there is none.
std::string builtinHelpText(const BuiltinHelp& entry);
void showBuiltinHelp(std::string_view nameOrKey);
