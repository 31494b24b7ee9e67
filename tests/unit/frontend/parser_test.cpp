// The parser: precedence, statements, errors and their recovery, the
// pending definitions, lines and very deep trees.
#include <gtest/gtest.h>

#include <string>

#include "frontend/frontend.h"
#include "frontend/memman.h"
#include "frontend/scanner_state.h"
#include "frontend/tree_dump.h"

namespace {

struct ParseOutcome {
    bool ok = false;
    std::string tree;    // the dump of the statement list when ok
    std::string errors;  // what the front end printed on standard error
    PendingTable pending;
};

// The dump of the program, or the errors when the parse failed. The
// statement list and pending definitions are freed before returning.
ParseOutcome parseText(const char* text) {
    ParseOutcome out;
    testing::internal::CaptureStderr();
    scanner_attach_text(text);
    Context* program = parse_program(out.pending);
    out.errors = testing::internal::GetCapturedStderr();
    out.ok = program != nullptr;
    if (program != nullptr) {
        out.tree = dumpTree(*program);
        delete program;
    }
    for (auto& [key, def] : out.pending) {
        if (def.params != nullptr) node_free(def.params);
        if (def.body != nullptr) node_free(def.body);
        def = PendingDef{nullptr, nullptr};
    }
    return out;
}

// The dump of one statement without its trailing newline; fails the test
// when the text does not parse.
std::string treeOf(const char* text) {
    ParseOutcome out = parseText(text);
    EXPECT_TRUE(out.ok) << text << "\n" << out.errors;
    if (!out.tree.empty() && out.tree.back() == '\n') out.tree.pop_back();
    return out.tree;
}

std::string errorsOf(const char* text) {
    scanner_reset_mode();
    ParseOutcome out = parseText(text);
    EXPECT_FALSE(out.ok) << text;
    EXPECT_EQ(memMan().recordedCount(), 0u) << text;
    return out.errors;
}

}  // namespace

// One check per line of the precedence table, loosest first.
TEST(Parser, PrecedenceTable) {
    EXPECT_EQ(treeOf("a = b = c + 1;"), "(assign a (assign b (add c 1)))");
    EXPECT_EQ(treeOf("a += b -= c;"), "(addset a (subset b c))");
    EXPECT_EQ(treeOf("a = b ? c : d;"), "(assign a (cond b c d))");
    EXPECT_EQ(treeOf("a ? b : c ? d : e;"), "(cond a b (cond c d e))");
    EXPECT_EQ(treeOf("a ? b : c || d;"), "(cond a b (or c d))");
    EXPECT_EQ(treeOf("a||b&&c;"), "(and (or a b) c)");
    EXPECT_EQ(treeOf("a&&b||c;"), "(or (and a b) c)");
    EXPECT_EQ(treeOf("all a==b;"), "(all (eq a b))");
    EXPECT_EQ(treeOf("all a && b;"), "(and (all a) b)");
    EXPECT_EQ(treeOf("any a + b < c;"), "(any (lt (add a b) c))");
    EXPECT_EQ(treeOf("a == b < c;"), "(eq a (lt b c))");
    EXPECT_EQ(treeOf("a != b === c !== d;"), "(nsame (same (ne a b) c) d)");
    EXPECT_EQ(treeOf("a < b >= c + d;"), "(ge (lt a b) (add c d))");
    EXPECT_EQ(treeOf("a - b + c * d;"), "(add (sub a b) (mul c d))");
    EXPECT_EQ(treeOf("a * b / c % d . e \\ f;"), "(ldiv (dot (mod (div (mul a b) c) d) e) f)");
    EXPECT_EQ(treeOf("-2^2;"), "(neg (pow 2 2))");
    EXPECT_EQ(treeOf("-a';"), "(neg (trans a))");
    EXPECT_EQ(treeOf("-a * +b;"), "(mul (neg a) b)");
    EXPECT_EQ(treeOf("a^b**c;"), "(pow a (pow b c))");
    EXPECT_EQ(treeOf("a^b';"), "(pow a (trans b))");
    EXPECT_EQ(treeOf("a'';"), "(trans (trans a))");
    EXPECT_EQ(treeOf("!0^0;"), "(pow (not 0) 0)");
    EXPECT_EQ(treeOf("!a';"), "(trans (not a))");
    EXPECT_EQ(treeOf("++x; x--; --y[1]; -z++;"), "(preinc x)\n(postdec x)\n(predec (index y [1]))\n(neg (postinc z))");
}

TEST(Parser, NestedIfAndTryTakeTheNearestPartner) {
    EXPECT_EQ(treeOf("if (a) if (b) c; else d;"), "(if a (if b c d) -)");
    EXPECT_EQ(treeOf("if (a) { if (b) c; } else d;"), "(if a {(if b c -)} d)");
    EXPECT_EQ(treeOf("try try x; catch (e) y;"), "(try (try x y e) - -)");
    EXPECT_EQ(treeOf("try x; catch (var e) y;"), "(try x y (var [e]))");
}

TEST(Parser, Statements) {
    EXPECT_EQ(treeOf(""), "");
    EXPECT_EQ(treeOf(";;"), "");
    EXPECT_EQ(treeOf("while (i < 3) i++;"), "(while (lt i 3) (postinc i))");
    EXPECT_EQ(treeOf("do x++; while (x < 3)"), "(do (lt x 3) (postinc x))");
    EXPECT_EQ(treeOf("for (var i = 0, j; i < 3; i++, j--) s;"),
              "(for (var [(assign i 0) j]) (lt i 3) (comma (postinc i) (postdec j)) s)");
    EXPECT_EQ(treeOf("for (;;) {}"), "(for - - - {})");
    EXPECT_EQ(treeOf("switch (x) { case 1: break; default: continue; }"),
              "(switch {(case 1); (break); (default); (continue)} x)");
    EXPECT_EQ(treeOf("return; return (a, b); return a + 1;"), "(return)\n(return (comma a b))\n(return (add a 1))");
    EXPECT_EQ(treeOf("extern g, h; var a = 1, b;"), "(extern [g h])\n(var [(assign a 1) b])");
    EXPECT_EQ(treeOf("a = 1, b = 2;"), "(comma (assign a 1) (assign b 2))");
    EXPECT_EQ(treeOf("{ a; { b; } }"), "{a; {b}}");
}

TEST(Parser, CallsSubscriptsAndMatrices) {
    EXPECT_EQ(treeOf("f(); g(1, x, \"s\");"), "(call f [])\n(call g [1 x \"s\"])");
    EXPECT_EQ(treeOf("x[1, 2:3] = [1,2][3,4];"), "(assign (index x [1 (range 2 3)]) (matrix [(row [1 2]) (row [3 4])]))");
    EXPECT_EQ(treeOf("y = x[*, 0:*];"), "(assign y (index x [(allrange) (range 0 (allrange))]))");
    EXPECT_EQ(treeOf("[a, b[1]] = f();"), "(assign (row [a (index b [1])]) (call f []))");
    EXPECT_EQ(treeOf("swap(a, b[2]); input(a, b); linput(@2, s);"),
              "(swap a (index b [2]))\n(input [a b])\n(linput [@2 s])");
}

TEST(Parser, SyntaxErrors) {
    for (const char* text : {"x = 1", "x[1][2];", "f(1)(2);", "return a, b;", "[a, 1] = f();", "[a + b] = 2;",
                             "++x++;", "x = a & b;", "if (x) function f() {}", "{ x;"})
        EXPECT_EQ(errorsOf(text), "error [1]: syntax error\n") << text;
}

TEST(Parser, RecoveryReportsEachStatementsError) {
    EXPECT_EQ(errorsOf("x = ;\ny = 1;\nz = = 2;\nw;"), "error [1]: syntax error\nerror [3]: syntax error\n");
    // The row check recovers like any other error.
    EXPECT_EQ(errorsOf("[1] = 2;\n[2] = 3;"), "error [1]: syntax error\nerror [2]: syntax error\n");
    // Errors inside open blocks and functions.
    EXPECT_EQ(errorsOf("function f() { { a = ; }\n b = ; }"), "error [1]: syntax error\nerror [2]: syntax error\n");
}

TEST(Parser, DeepNestingOverflowsTheStack) {
    std::string text = "x = " + std::string(5000, '(') + "1" + std::string(5000, ')') + ";";
    EXPECT_EQ(errorsOf(text.c_str()), "error [1]: yacc stack overflow\n");
    std::string blocks = std::string(4500, '{') + "x;" + std::string(4500, '}');
    EXPECT_EQ(errorsOf(blocks.c_str()), "error [1]: yacc stack overflow\n");
    // Nesting well inside the limit parses.
    std::string fine = "x = " + std::string(1000, '(') + "1" + std::string(1000, ')') + ";";
    EXPECT_EQ(treeOf(fine.c_str()), "(assign x 1)");
}

// Definitions leave the statement list, keyed by name and parameter count.
TEST(Parser, FunctionDefinitionsGoToThePendingTable) {
    scanner_reset_mode();
    scanner_attach_text("x = f(1);\nfunction f(a) { return 1; }\n{ function g() { } }\nfunction f(a, b) {}\n");
    PendingTable pending;
    Context* program = parse_program(pending);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(dumpTree(*program), "(assign x (call f [1]))\n{}\n");
    std::string keys;
    for (const auto& [key, def] : pending) keys += key + " ";
    EXPECT_EQ(keys, "f$1 f$2 g$0 ");
    EXPECT_EQ(dumpNode(pending.at("f$1").body), "{(return 1)}");
    EXPECT_EQ(memMan().recordedCount(), 0u);
    for (auto& [key, d] : pending) {
        if (d.params != nullptr) node_free(d.params);
        if (d.body != nullptr) node_free(d.body);
    }
    delete program;
}

TEST(Parser, NodesCarryTheirLines) {
    scanner_reset_mode();
    scanner_attach_text("a\n+\nb\n;");
    PendingTable pending;
    Context* program = parse_program(pending);
    ASSERT_NE(program, nullptr);
    ASSERT_EQ(program->size(), 1u);
    Node* add = (*program)[0];
    EXPECT_EQ(add->child[0]->line, 1);
    EXPECT_EQ(add->child[1]->line, 3);
    EXPECT_EQ(add->line, 4);  // reduced when the ";" was seen
    EXPECT_EQ(add->file, -1);
    delete program;
}

TEST(Parser, VeryDeepTreesAreFreedWithoutRecursion) {
    // a + a + ... grows to the left with a flat parser stack; half a million
    // levels would overflow the native stack of a recursive walk.
    std::string text = "x = a";
    for (int i = 0; i < 500000; ++i) text += "+a";
    text += "; y = b";
    for (int i = 0; i < 200000; ++i) text += "'";
    text += ";";
    scanner_reset_mode();
    scanner_attach_text(text.c_str());
    PendingTable pending;
    Context* program = parse_program(pending);
    ASSERT_NE(program, nullptr);
    ASSERT_EQ(program->size(), 2u);
    int depth = 0;
    for (Node* n = (*program)[0]->child[1]; n->kind == OP_ADD; n = n->child[0]) ++depth;
    EXPECT_EQ(depth, 500000);
    delete program;
    EXPECT_EQ(memMan().recordedCount(), 0u);
}
