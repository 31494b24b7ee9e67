// The source-name table: each source file name gets a small number that
// every node carries; names compare without regard to ASCII letter case.
#include <memory>
#include <string>
#include <vector>

#include "frontend/frontend.h"

namespace {

class FIDMan : public std::vector<std::unique_ptr<std::string>> {
public:
    virtual ~FIDMan() = default;
};

FIDMan& fidMan() {
    // Never destroyed: error messages may still want a name late at exit.
    static FIDMan* instance = new FIDMan;
    return *instance;
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameIgnoringCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size(); ++i) {
        if (b[i] == '\0' || asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return b[i] == '\0';
}

}  // namespace

int fid_intern(const char* name) {
    if (name == nullptr || name[0] == '\0') return -1;
    FIDMan& table = fidMan();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (sameIgnoringCase(*table[i], name)) return static_cast<int>(i);
    table.push_back(std::make_unique<std::string>(name));
    return static_cast<int>(table.size() - 1);
}

const char* fid_name(int index) {
    FIDMan& table = fidMan();
    if (index < 0 || static_cast<std::size_t>(index) >= table.size()) return nullptr;
    return table[index]->c_str();
}
