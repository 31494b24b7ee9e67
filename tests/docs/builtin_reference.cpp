// Writes docs/builtins.md from the built-in reference table, the same table
// that `.help NAME` shows. The test docs.builtins_reference fails when the
// checked-in file differs; to refresh it:
//     build/tests/docs/builtin_reference > docs/builtins.md
#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>

#include "builtins/builtins.h"

namespace {

const char kHeader[] = R"~(# Quarn built-in functions

Every built-in function of Quarn, grouped by family: how it is called, what
it does and gives back, the messages it raises and an example with its
output. In talk mode, `.help NAME` shows the same entry (`.help sin`), and
`.flist` lists every function key. The language itself is described in
[language.md](language.md).

How to read the entries:

- A built-in is called like a function of the script. Each one is
  registered under a key made of its name, `$` and its argument count
  (`atan$1`, `atan$2`), or under its bare name when it takes any number of
  arguments (`max`, `print`, `line`). A call with a count that no key has
  raises "Function atan() [arg count:3] not defined". A script function with
  the same key replaces the built-in.
- Numbers are matrices of complex numbers. "Element by element" means that
  the function is applied to every element and the result has the shape of
  the argument; with two or three arguments, their elements are paired as
  the operators pair them (a 1 by 1 argument goes with every element, a row
  with every row, a column with every column).
- Where an integer is expected, the argument must be a 1 by 1 number with no
  fraction and no imaginary part that fits 32 bits ("Cannot convert arg to
  integer"); where a real number is expected, a 1 by 1 number with no
  imaginary part ("Cannot convert arg to real number").
- Errors are run-time errors: they print `error [LINE]: MESSAGE` and end
  the run, unless a `try` statement catches them.
- Examples are talk-mode sessions: `>` starts a line as it is typed (the
  prompt), the lines below it are what Quarn prints, with numbers in the
  default format `%.3f`. A few are shell sessions (`$`). The tests run
  every example, so what you read is what Quarn prints.
)~";

// GitHub's anchor of a heading: lower case, punctuation dropped, blanks to hyphens.
std::string anchor(std::string_view heading) {
    std::string out;
    for (char c : heading) {
        unsigned char u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || c == '-' || c == '_')
            out += static_cast<char>(std::tolower(u));
        else if (c == ' ')
            out += '-';
    }
    return out;
}

std::string heading(const BuiltinHelp& entry) {
    std::string names = builtinNames(entry), out;
    for (char c : names) out += c == ' ' ? std::string(", ") : std::string(1, c);
    return out;
}

std::string keysText(const BuiltinHelp& entry) {
    std::string out, key;
    auto flush = [&] {
        if (key.empty()) return;
        if (!out.empty()) out += ", ";
        out += "`" + key + "`";
        key.clear();
    };
    for (const char* p = entry.keys; *p; ++p) {
        if (*p == ' ')
            flush();
        else
            key += *p;
    }
    flush();
    return out;
}

void printEntry(const BuiltinHelp& entry) {
    std::printf("### %s\n\n```text\n%s\n```\n\n", heading(entry).c_str(), entry.usage);
    std::printf("%s\n\n**Returns** %s.\n\n", entry.summary, entry.returns);
    if (*entry.raises) {
        std::printf("**Raises**\n\n");
        std::string_view raises = entry.raises;
        while (!raises.empty()) {
            std::size_t end = raises.find('\n');
            std::printf("- %.*s\n", static_cast<int>(raises.substr(0, end).size()), raises.data());
            raises = end == std::string_view::npos ? std::string_view() : raises.substr(end + 1);
        }
        std::printf("\n");
    }
    bool shell = std::string_view(entry.example).rfind("$ ", 0) == 0;
    std::printf("**Keys** %s\n\n**Example**\n\n```%s\n%s\n```\n\n", keysText(entry).c_str(), shell ? "shell" : "talk",
                entry.example);
}

}  // namespace

int main() {
    std::fputs(kHeader, stdout);
    std::printf("\n## Contents\n\n");
    for (const BuiltinFamily& family : builtinFamilies()) {
        std::printf("- [%s](#%s):", family.title, anchor(family.title).c_str());
        const char* separator = " ";
        for (const BuiltinHelp& entry : family.entries) {
            std::string h = heading(entry);
            std::printf("%s[%s](#%s)", separator, h.c_str(), anchor(h).c_str());
            separator = ", ";
        }
        std::printf("\n");
    }
    for (const BuiltinFamily& family : builtinFamilies()) {
        std::printf("\n## %s\n\n", family.title);
        if (*family.intro) std::printf("%s\n\n", family.intro);
        for (const BuiltinHelp& entry : family.entries) printEntry(entry);
    }
    return 0;
}
