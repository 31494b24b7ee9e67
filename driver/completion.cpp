#include "driver/completion.h"

#include <algorithm>

#include "exec/exec.h"

namespace {

// "sin$1" is the function sin; "max" (any number of arguments) is itself.
// A name may begin with a dollar sign, so the count is the last one's.
std::string functionName(const std::string& key) {
    const std::size_t dollar = key.rfind('$');
    if (dollar == std::string::npos || dollar == 0 || dollar + 1 == key.size()) return key;
    if (key.find_first_not_of("0123456789", dollar + 1) != std::string::npos) return key;
    return key.substr(0, dollar);
}

}  // namespace

std::vector<std::string> completionNames() {
    std::vector<std::string> names = {"if",     "else",   "while", "for",    "do",       "try",    "catch",
                                      "switch", "case",   "default", "var",  "extern",   "function",
                                      "break",  "continue", "return", "all", "any",      "swap",   "input",
                                      "linput"};
    for (const std::string& key : functionKeys()) names.push_back(functionName(key));
    for (std::string& name : globalVariableNames()) names.push_back(std::move(name));
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

const std::vector<std::string>& dotCommandNames() {
    static const std::vector<std::string> names = {"cls", "flist", "help", "load", "quit"};
    return names;
}
