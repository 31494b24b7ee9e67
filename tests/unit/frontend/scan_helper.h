// Runs the scanner over a text and records the tokens it returns.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/frontend.h"
#include "frontend/scanner_state.h"
#include "frontend/tree_dump.h"
#include "parser.hpp"

struct Token {
    int code;
    std::string leaf;  // dump of the leaf node for literals and names
    int line;
    int file;
};

// Scans what is attached until end of input. Leaf nodes are freed.
inline std::vector<Token> scanAttached() {
    std::vector<Token> tokens;
    for (int guard = 0; guard < 100000; ++guard) {
        yylval = nullptr;
        int code = yylex();
        if (code == 0) break;
        Token t{code, "", scanner_line(), scanner_file()};
        if (yylval != nullptr) {
            t.leaf = dumpNode(yylval);
            t.line = yylval->line;
            t.file = yylval->file;
            node_free(yylval);
        }
        tokens.push_back(t);
    }
    scanner_detach();
    return tokens;
}

// Scans a program text from the starting state.
inline std::vector<Token> scanText(const char* text) {
    scanner_reset_mode();
    scanner_attach_text(text);
    return scanAttached();
}

// Tokens as one line: leaves by their dump, characters quoted, named tokens
// by number.
inline std::string tokenLine(const std::vector<Token>& tokens) {
    std::string out;
    for (const Token& t : tokens) {
        if (!out.empty()) out += ' ';
        if (!t.leaf.empty())
            out += t.leaf;
        else if (t.code < 256)
            out += std::string("'") + static_cast<char>(t.code) + "'";
        else
            out += "#" + std::to_string(t.code);
    }
    return out;
}

inline std::string scanLine(const char* text) { return tokenLine(scanText(text)); }
