// Random texts through attach and parse: every one must end in a tree or in
// reported errors, and leave nothing recorded.
#include <random>
#include <string>

#include "frontend/scanner_state.h"
#include "parse_helper.h"

namespace {

void expectCleanOutcome(const std::string& text) {
    ParseOutcome out = parseText(text.c_str());
    ASSERT_EQ(memMan().recordedCount(), 0u) << text;
    // A failed parse always says why; a successful one may only have warned
    // about a literal cut off by the end of the text.
    if (!out.ok) {
        ASSERT_NE(out.errors.find("error ["), std::string::npos) << text;
    } else {
        std::size_t start = 0;
        while (start < out.errors.size()) {
            std::size_t end = out.errors.find('\n', start);
            ASSERT_NE(end, std::string::npos);
            std::string line = out.errors.substr(start, end - start);
            ASSERT_TRUE(line.ends_with("]: Unterminated string")) << text << "\n" << out.errors;
            start = end + 1;
        }
    }
    scanner_reset_mode();
}

}  // namespace

TEST(Fuzz, RandomBytes) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(0, 200);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        int n = length(rng);
        for (int i = 0; i < n; ++i) text.push_back(static_cast<char>(byte(rng)));
        expectCleanOutcome(text);
    }
}

TEST(Fuzz, TokenSoup) {
    static const char* const pieces[] = {
        "x", "y[1]", "f", "1", "2.5i", "@pi", "@3", "\"s\"", "\"", "(", ")", "[", "]", "{", "}", ";", ";", ",",
        "=", "+=", "+", "-", "*", "^", "'", "!", "?", ":", "==", "&&", "||", "++", "if", "else", "while",
        "for", "do", "try", "catch", "switch", "case", "default:", "var", "extern", "function", "return",
        "break", "all", "swap(", "input(", "\n", "/*", "*/", "//", "#line 9 \"f\"\n", "#", "\\", "\x82\xa0",
    };
    constexpr int kPieces = sizeof pieces / sizeof pieces[0];
    std::mt19937 rng(777);
    std::uniform_int_distribution<int> pick(0, kPieces - 1);
    std::uniform_int_distribution<int> length(1, 60);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        int n = length(rng);
        for (int i = 0; i < n; ++i) {
            text += pieces[pick(rng)];
            text += ' ';
        }
        expectCleanOutcome(text);
    }
}

