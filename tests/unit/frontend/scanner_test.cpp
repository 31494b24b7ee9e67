// The scanner: tokens, literals, names, lines and line markers, directives,
// string escapes and its input buffering.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frontend/frontend.h"
#include "frontend/scanner_state.h"
#include "frontend/tree_dump.h"
#include "parser.hpp"

namespace {

struct Token {
    int code;
    std::string leaf;  // dump of the leaf node for literals and names
    int line;
    int file;
};

// Scans what is attached until end of input. Leaf nodes are freed.
std::vector<Token> scanAttached() {
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
std::vector<Token> scanText(const char* text) {
    scanner_reset_mode();
    scanner_attach_text(text);
    return scanAttached();
}

// Tokens as one line: leaves by their dump, characters quoted, named tokens
// by number.
std::string tokenLine(const std::vector<Token>& tokens) {
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

std::string scanLine(const char* text) { return tokenLine(scanText(text)); }

std::vector<int> codesOf(const char* text) {
    std::vector<int> codes;
    for (const Token& t : scanText(text)) codes.push_back(t.code);
    return codes;
}

// The bytes of the single string literal in a text.
std::string stringValue(const char* text) {
    scanner_reset_mode();
    scanner_attach_text(text);
    yylval = nullptr;
    int code = yylex();
    std::string bytes;
    EXPECT_EQ(code, STRING) << text;
    if (code == STRING && yylval != nullptr) {
        auto* s = static_cast<const StrPayload*>(yylval->data);
        bytes.assign(s->bytes, s->length);
        EXPECT_EQ(s->bytes[s->length], '\0');
        node_free(yylval);
    }
    scanner_detach();
    return bytes;
}

std::string writeFile(const char* name, const std::string& content) {
    std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

}  // namespace

TEST(Scanner, RealAndImaginaryLiterals) {
    EXPECT_EQ(scanLine("1 1.5 .5 5. 1e3 1.5E-2 2.e1"), "1 1.5 0.5 5 1000 0.014999999999999999 20");
    // 1e is 1 and the name e; there are no hexadecimal literals.
    EXPECT_EQ(scanLine("1e 0x10 1.2.3"), "1 e 0 x10 1.2 0.29999999999999999");
    EXPECT_EQ(scanLine("1ei 3I"), "1 ei 3i");
}

TEST(Scanner, OperatorsTakeTheLongestMatch) {
    EXPECT_EQ(codesOf("=== == = !== != !"), (std::vector<int>{SAME, EQ, '=', NSAME, NE, '!'}));
    EXPECT_EQ(codesOf("**= ** * ^= ^"), (std::vector<int>{POWSET, POW, '*', POWSET, POW}));
    EXPECT_EQ(codesOf("&& || & | ~"), (std::vector<int>{ANDAND, OROR, '&', '|', '~'}));
    EXPECT_EQ(codesOf("+= -= *= /= %= \\= .= ++ -- +++"),
              (std::vector<int>{ADDSET, SUBSET, MULSET, DIVSET, MODSET, LDIVSET, DOTSET, INC, DEC, INC, '+'}));
    EXPECT_EQ(codesOf("> >= < <= % \\ . ' ? : ; , ( ) [ ] { }"),
              (std::vector<int>{GT, GE, LT, LE, '%', '\\', '.', '\'', '?', ':', ';', ',', '(', ')', '[', ']',
                                '{', '}'}));
    // Carriage returns and form feeds are stray characters.
    EXPECT_EQ(codesOf("a\r\f"), (std::vector<int>{IDENT, '\r', '\f'}));
}

TEST(Scanner, WordsJoinedWithTheirPunctuation) {
    EXPECT_EQ(codesOf("swap(a swap \t(b swap"), (std::vector<int>{SWAP, IDENT, SWAP, IDENT, IDENT}));
    EXPECT_EQ(codesOf("input( linput (x input"), (std::vector<int>{INPUT, LINPUT, IDENT, IDENT}));
    EXPECT_EQ(codesOf("default: default default\n\n:"), (std::vector<int>{DEFAULT, IDENT, DEFAULT}));
    // The newlines swallowed inside one of these tokens are not counted.
    std::vector<Token> t = scanText("default\n\n:\nx swap\n(y");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[1].leaf, "x");
    EXPECT_EQ(t[1].line, 2);
    EXPECT_EQ(t[3].line, 2);
}

TEST(Scanner, AtConstantsAndFileIds) {
    EXPECT_EQ(scanLine("@pix @12 @0 @"), "3.1415926535897931 x @1 2 @0 '@'");
    scanner_attach_text("@nan");
    ASSERT_EQ(yylex(), NUMBER);
    double re = yylval->re, im = yylval->im;
    node_free(yylval);
    scanner_detach();
    EXPECT_TRUE(std::isnan(im));
    std::uint64_t bits;
    std::memcpy(&bits, &re, sizeof bits);
    EXPECT_EQ(bits, 0x7FFFFFFFFFFFFFFFull);
}

TEST(Scanner, Names) {
    EXPECT_EQ(scanLine("x$y $x1 a' _a9"), "x $y $x1 a ''' _a9");
    EXPECT_EQ(codesOf("a$"), (std::vector<int>{IDENT, IDENT}));
    // A Shift_JIS kanji name comes out as the same Shift_JIS bytes, also
    // one whose trail byte is a backslash and one with an IBM extension.
    const char* names[] = {"\x8a\xbf\x8e\x9a", "\x95\x5cx", "\xfb\xfc\x8d\xb2", "\xb1\xb2"};
    for (const char* name : names) {
        std::vector<Token> t = scanText(name);
        ASSERT_EQ(t.size(), 1u) << name;
        EXPECT_EQ(t[0].code, IDENT);
        EXPECT_EQ(t[0].leaf, name);
    }
}

TEST(Scanner, LinesAndSourceNames) {
    std::vector<Token> t = scanText("a\nb /* \n\n */ c // x\nd\n\"s\ns\" e __LINE__ __FILE__");
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(t[0].line, 1);
    EXPECT_EQ(t[1].line, 2);
    EXPECT_EQ(t[2].line, 4);
    EXPECT_EQ(t[3].line, 5);
    EXPECT_EQ(t[5].line, 7);  // the literal spans a line
    EXPECT_EQ(t[6].leaf, "7");
    EXPECT_EQ(t[7].leaf, "\"\"");  // a text has no source name
    EXPECT_EQ(t[7].file, -1);
}

TEST(Scanner, LineMarkers) {
    std::vector<Token> t = scanText("a\n#line 40 \"lib/Marked.qn\"\nb __FILE__\n# LINE 7\nc\n#line 0\nd");
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[0].file, -1);
    EXPECT_EQ(t[1].line, 40);
    EXPECT_STREQ(fid_name(t[1].file), "lib/Marked.qn");
    EXPECT_EQ(t[2].leaf, "\"lib/Marked.qn\"");
    EXPECT_EQ(t[3].line, 7);
    EXPECT_EQ(t[3].file, t[1].file);  // a marker without a name keeps the name
    EXPECT_EQ(t[4].line, 1);          // 0 - 1 is taken as 0
    // Numbers beyond the range of int stop at its largest value.
    t = scanText("#line 99999999999999999999\na\nb");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].line, INT_MAX);
    EXPECT_EQ(t[1].line, INT_MAX);
    // Without the word line the marker is an ignored directive.
    t = scanText("# 40 \"x.qn\"\nb");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].line, 2);
    EXPECT_EQ(t[0].file, -1);
}

TEST(Scanner, DirectivesAreSkippedToTheirLineEnd) {
    std::vector<Token> t = scanText("#pragma once x\nb\n#define M \\\n  still\nc\n#\nd #include x\ne");
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].leaf, "b");
    EXPECT_EQ(t[1].leaf, "c");
    EXPECT_EQ(t[1].line, 5);
    EXPECT_EQ(t[2].leaf, "d");
    EXPECT_EQ(t[2].line, 7);
    EXPECT_EQ(t[3].leaf, "e");
    EXPECT_EQ(t[3].line, 8);
    // Any backslash before a newline continues the directive.
    EXPECT_EQ(scanLine("#x \\\\\nskipped\ny"), "y");
}

TEST(Scanner, StringEscapes) {
    EXPECT_EQ(stringValue("\"a\\tb\\nc\\rd\\ae\\bf\\fg\\vh\""), "a\tb\nc\rd\ae\bf\fg\vh");
    EXPECT_EQ(stringValue("\"\\x41\\x4a\\x7\\x4g\""), std::string("AJ\x07\x04g"));
    EXPECT_EQ(stringValue("\"\\o101\\o7\\o777\\o0\""), std::string("A\x07\xff\0", 4));
    // Any other escape gives the character after the backslash.
    EXPECT_EQ(stringValue("\"\\q\\xg\\o9\\z\""), "qxgo9z");
    EXPECT_EQ(stringValue("\"two\nlines\""), "two\nlines");
    EXPECT_EQ(stringValue("\"\""), "");
}

// Open comments carrying over are seen in talk mode; directives do the same.
TEST(Scanner, StartConditionCarriesOverToTheNextInput) {
    EXPECT_EQ(scanLine("#pragma"), "");
    EXPECT_EQ(scanner_mode(), ScanMode::SkipLine);
    scanner_attach_text("skipped\nz");
    EXPECT_EQ(tokenLine(scanAttached()), "z");
    scanner_reset_mode();
}

TEST(Scanner, AttachingStartsOverAndFillsInPieces) {
    // A long name and a long string outgrow the block buffer.
    std::string longName(40000, 'n');
    std::string text = "a " + longName + " \"" + std::string(30000, 's') + "\" b";
    std::vector<Token> t = scanText(text.c_str());
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[1].leaf, longName);
    EXPECT_EQ(t[2].leaf.size(), 30002u);
    // Attaching in the middle of an input drops the rest of it.
    scanner_reset_mode();
    scanner_attach_text("first second third");
    ASSERT_EQ(yylex(), IDENT);
    node_free(yylval);
    scanner_attach_text("other");
    EXPECT_EQ(tokenLine(scanAttached()), "other");
}

TEST(Scanner, FileInputCountsLinesAcrossFills) {
    std::string text;
    for (int i = 1; i <= 3000; ++i) text += "v" + std::to_string(i) + " = " + std::to_string(i) + ";\r\n";
    std::string path = writeFile("quarn_scanner_lines.qn", text);
    scanner_reset_mode();
    ASSERT_TRUE(scanner_attach_file(path.c_str()));
    EXPECT_STREQ(fid_name(scanner_file()), path.c_str());
    std::vector<Token> t = scanAttached();
    ASSERT_EQ(t.size(), 12000u);
    EXPECT_EQ(t[11996].leaf, "v3000");
    EXPECT_EQ(t[11996].line, 3000);
    EXPECT_STREQ(fid_name(t[11996].file), path.c_str());
    // A file that cannot be read still names the source and reads as empty.
    EXPECT_FALSE(scanner_attach_file("/nonexistent/quarn.qn"));
    EXPECT_STREQ(fid_name(scanner_file()), "/nonexistent/quarn.qn");
    EXPECT_EQ(scanner_line(), 1);
    EXPECT_EQ(scanAttached().size(), 0u);
}
