// The function table's key order, and what a call turns into an error that
// no script can provoke: a failed allocation in a native, a break leaving a
// body (its state must not outlive the error).
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "exec/functions.h"
#include "tree_builder.h"

namespace {

void answerOne(NContext&, int, ArgList&, NRefPtr& result) { result = makeNum(1.0); }
void exhaustMemory(NContext&, int, ArgList&, NRefPtr&) { throw std::bad_alloc(); }

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
};

TEST_F(FunctionTableTest, KeysAreInByteOrder) {
    for (const char* key : {"max", "acos$1", "main$0", "abs$1", "Zm$2"}) registerNative(key, answerOne);
    EXPECT_EQ(functionKeys(), (std::vector<std::string>{"Zm$2", "abs$1", "acos$1", "main$0", "max"}));
}

TEST_F(FunctionTableTest, CallErrorsKeepNoStateBehind) {
    registerNative("grow$0", exhaustMemory);
    Node* brk = node_unary(OP_BREAK, nullptr);
    brk->line = 4;
    defineUser("b$0", nullptr, block({brk}));
    const struct {
        const char* name;
        int line;
        const char* message;
    } cases[] = {{"grow", 3, "error [3]: Not enough memory"}, {"b", 1, "error [4]: Bad break or continue"}};
    for (const auto& c : cases) {
        Node* site = call(c.name);
        site->line = c.line;
        NContext ctx;
        try {
            evaluate(ctx, site);
            ADD_FAILURE() << c.name << ": no error raised";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(ctx.state, CS_NONE) << c.name;
        node_free(site);
    }
}

}  // namespace
