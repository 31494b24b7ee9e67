// Finding a built-in's reference entry and showing it for `.help NAME`.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "builtins/builtins.h"

namespace {

constexpr std::size_t kWidth = 76;

// The blank-separated words of a text.
std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        std::size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (i > start) out.push_back(text.substr(start, i - start));
    }
    return out;
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::string_view nameOfKey(std::string_view key) { return key.substr(0, key.find('$')); }

// Appends text wrapped to kWidth columns: its first line indented by
// indent, the lines it continues on by hanging.
void appendWrapped(std::string& out, std::string_view text, std::size_t indent, std::size_t hanging) {
    std::string line(indent, ' ');
    bool empty = true;
    for (std::string_view w : words(text)) {
        if (!empty && line.size() + 1 + w.size() > kWidth) {
            out += line + '\n';
            line.assign(hanging, ' ');
            empty = true;
        }
        if (!empty) line += ' ';
        line += w;
        empty = false;
    }
    if (!empty) out += line + '\n';
}

}  // namespace

const BuiltinHelp* findBuiltinHelp(std::string_view nameOrKey) {
    bool isKey = nameOrKey.find('$') != std::string_view::npos;
    for (const BuiltinFamily& family : builtinFamilies()) {
        for (const BuiltinHelp& entry : family.entries) {
            for (std::string_view key : words(entry.keys)) {
                if ((isKey ? key : nameOfKey(key)) == nameOrKey) return &entry;
            }
        }
    }
    return nullptr;
}

std::string builtinNames(const BuiltinHelp& entry) {
    std::vector<std::string_view> seen;
    std::string names;
    for (std::string_view key : words(entry.keys)) {
        std::string_view name = nameOfKey(key);
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
        seen.push_back(name);
        if (!names.empty()) names += ' ';
        names += name;
    }
    return names;
}

std::string builtinHelpText(const BuiltinHelp& entry) {
    std::string out;
    for (std::string_view usage : lines(entry.usage)) out += std::string(usage) + '\n';
    appendWrapped(out, entry.summary, 4, 4);
    appendWrapped(out, std::string("Returns ") + entry.returns + ".", 4, 4);
    if (*entry.raises) {
        out += "    Raises:\n";
        for (std::string_view message : lines(entry.raises)) appendWrapped(out, message, 6, 8);
    }
    out += "    Example:\n";
    for (std::string_view line : lines(entry.example)) out += "      " + std::string(line) + '\n';
    return out;
}

void showBuiltinHelp(std::string_view nameOrKey) {
    while (!nameOrKey.empty() && (nameOrKey.front() == ' ' || nameOrKey.front() == '\t')) nameOrKey.remove_prefix(1);
    while (!nameOrKey.empty() && (nameOrKey.back() == ' ' || nameOrKey.back() == '\t')) nameOrKey.remove_suffix(1);
    if (nameOrKey.empty()) {
        std::printf("Usage: .help NAME, for a built-in function (.flist lists every function)\n");
    } else if (const BuiltinHelp* entry = findBuiltinHelp(nameOrKey)) {
        std::fputs(builtinHelpText(*entry).c_str(), stdout);
    } else {
        std::printf("No help for \"%.*s\": it is not a built-in function.\n", static_cast<int>(nameOrKey.size()),
                    nameOrKey.data());
    }
}
