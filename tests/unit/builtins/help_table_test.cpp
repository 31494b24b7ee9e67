#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "builtins/builtins.h"
#include "graphics/graphics_table.h"

namespace {

std::set<std::string> registeredKeys() {
    registerCoreBuiltins();
    std::vector<std::string> core = functionKeys();
    std::set<std::string> keys(core.begin(), core.end());
#define QUARN_KEY_OF(key, entry) keys.insert(key);
    QUARN_GRAPHICS_TABLE(QUARN_KEY_OF)
#undef QUARN_KEY_OF
    return keys;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        if (!part.empty()) out.push_back(part);
    return out;
}

// A built-in cannot be added without its reference entry, nor an entry kept
// for a key that is gone: every key has exactly one entry.
TEST(BuiltinHelp, EveryRegisteredKeyHasExactlyOneEntry) {
    std::set<std::string> registered = registeredKeys();
    EXPECT_EQ(registered.size(), 110u);
    std::map<std::string, int> documented;
    for (const BuiltinFamily& family : builtinFamilies())
        for (const BuiltinHelp& entry : family.entries)
            for (const std::string& key : split(entry.keys, ' ')) ++documented[key];
    for (const std::string& key : registered) EXPECT_EQ(documented[key], 1) << key;
    for (const auto& [key, count] : documented) EXPECT_TRUE(registered.count(key)) << key << " is not a built-in";
}

// Each entry names each of its names in its call forms, says what it gives
// back, and has an example session. Headings, which the reference links to
// by their lower-case text, are unique.
TEST(BuiltinHelp, EntriesAreComplete) {
    std::set<std::string> headings;
    auto heading = [&](std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(headings.insert(text).second) << text;
    };
    for (const BuiltinFamily& family : builtinFamilies()) {
        EXPECT_FALSE(family.entries.empty()) << family.title;
        heading(family.title);
        for (const BuiltinHelp& entry : family.entries) {
            for (const std::string& name : split(builtinNames(entry), ' '))
                EXPECT_NE(std::string(entry.usage).find(name + "("), std::string::npos) << entry.keys;
            heading(builtinNames(entry));
            EXPECT_STRNE(entry.summary, "") << entry.keys;
            EXPECT_STRNE(entry.returns, "") << entry.keys;
            std::string example = entry.example;
            EXPECT_TRUE(example.rfind(">", 0) == 0 || example.rfind("$ ", 0) == 0) << entry.keys;
            for (const std::string& message : split(entry.raises, '\n')) EXPECT_EQ(message[0], '"') << entry.keys;
        }
    }
}

TEST(BuiltinHelp, LookupByNameOrKey) {
    const struct {
        const char* asked;
        const char* keys;  // of the entry found; null for none
    } cases[] = {
        {"sin", "sin$1"},     {"sin$1", "sin$1"},         {"atan$2", "atan$1 atan$2"}, {"re", "real$1 re$1"},
        {"real", "real$1 re$1"}, {"max", "max"},          {"screen", "screen$0 screen$2 screen$3"},
        {"pline", "pline"},   {"sin$2", nullptr},         {"si", nullptr},             {"Sin", nullptr},
        {"max$2", nullptr},   {"", nullptr},              {"$1", nullptr},
    };
    for (const auto& c : cases) {
        const BuiltinHelp* entry = findBuiltinHelp(c.asked);
        if (!c.keys) {
            EXPECT_EQ(entry, nullptr) << c.asked;
        } else {
            ASSERT_NE(entry, nullptr) << c.asked;
            EXPECT_STREQ(entry->keys, c.keys) << c.asked;
        }
    }
}

TEST(BuiltinHelp, TextWrapsEveryPartUnderTheCallForms) {
    const BuiltinHelp* entry = findBuiltinHelp("atan");
    ASSERT_NE(entry, nullptr);
    std::string text = builtinHelpText(*entry);
    EXPECT_EQ(text.rfind("atan(z)\natan(y, x)\n    With one argument", 0), 0u) << text;
    for (const std::string& line : split(text, '\n')) EXPECT_LE(line.size(), 76u) << line;
    EXPECT_NE(text.find("\n    Raises:\n      \"Argument for axis"), std::string::npos) << text;
    EXPECT_NE(text.find("\n    Example:\n      >atan(1)\n      0.785\n"), std::string::npos) << text;
}

}  // namespace
