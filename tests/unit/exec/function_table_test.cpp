// The function table: key order, the main probe, replacement on
// commit, and a body that must outlive its own redefinition.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "exec/functions.h"
#include "tree_builder.h"

namespace {

void answerOne(NContext&, int, ArgList&, NRefPtr& result) { result = makeNum(1.0); }

class FunctionTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        clearFunctions();
        scopeClearAll();
        scopeOpenFunctionFrame();
    }
    void TearDown() override {
        clearFunctions();
        scopeClearAll();
    }
    double callValue(Node* callNode) {
        NContext ctx;
        NRefPtr v = evaluate(ctx, callNode);
        node_free(callNode);
        NNum* n = asNum(v);
        return n ? n->data[0].re : -1;
    }
};

TEST_F(FunctionTableTest, KeysAreInByteOrder) {
    for (const char* key : {"max", "acos$1", "main$0", "abs$1", "Zm$2"}) registerNative(key, answerOne);
    std::vector<std::string> expected = {"Zm$2", "abs$1", "acos$1", "main$0", "max"};
    EXPECT_EQ(functionKeys(), expected);
}

TEST_F(FunctionTableTest, MainProbePrefersTheOneArgumentForm) {
    EXPECT_EQ(mainProbe(), -1);
    registerNative("main$0", answerOne);
    EXPECT_EQ(mainProbe(), 0);
    registerNative("main$1", answerOne);
    EXPECT_EQ(mainProbe(), 1);
}

TEST_F(FunctionTableTest, CommitReplacesANativeAndLaterCallsSeeIt) {
    registerNative("f$0", answerOne);
    Node* site = call("f");
    NContext ctx;
    EXPECT_EQ(asNum(evaluate(ctx, site))->data[0].re, 1.0);
    defineUser("f$0", nullptr, block({ret(num(5))}));
    EXPECT_EQ(lookupFunction("f", 0)->kind, FUNC_USER);
    // The same call site must not keep the record it found before.
    EXPECT_EQ(asNum(evaluate(ctx, site))->data[0].re, 5.0);
    node_free(site);
}

// A native that redefines f$0 while f is running.
void redefineF(NContext&, int, ArgList&, NRefPtr&) { defineUser("f$0", nullptr, block({ret(num(8))})); }

TEST_F(FunctionTableTest, RunningBodySurvivesItsRedefinition) {
    registerNative("redefine$0", redefineF);
    defineUser("f$0", nullptr, block({call("redefine"), ret(num(7))}));
    EXPECT_EQ(callValue(call("f")), 7.0);  // the old body finishes
    EXPECT_EQ(callValue(call("f")), 8.0);  // the new one serves later calls
}

TEST_F(FunctionTableTest, BreakLeavingABodyIsAnErrorAndClearsTheState) {
    Node* brk = node_unary(OP_BREAK, nullptr);
    brk->line = 4;
    defineUser("b$0", nullptr, block({brk}));
    Node* c = call("b");
    NContext ctx;
    try {
        evaluate(ctx, c);
        ADD_FAILURE() << "no error raised";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "error [4]: Bad break or continue");
    }
    EXPECT_EQ(ctx.state, CS_NONE);
    node_free(c);
}

void exhaustMemory(NContext&, int, ArgList&, NRefPtr&) { throw std::bad_alloc(); }

TEST_F(FunctionTableTest, AllocationFailureBecomesARunTimeError) {
    registerNative("grow$0", exhaustMemory);
    Node* c = call("grow");
    c->line = 3;
    NContext ctx;
    try {
        evaluate(ctx, c);
        ADD_FAILURE() << "no error raised";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "error [3]: Not enough memory");
    }
    node_free(c);
}

}  // namespace
