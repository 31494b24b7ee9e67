// The function table's key order, and errors that no script can provoke: a
// failed allocation in a native, a break leaving a body (its state must not
// outlive the error), node kinds no parse makes.
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

// Node kinds that no script can make evaluate to a clear error.
TEST(Evaluator, RowsRangesAndStrayKindsAreUnknownOpcodes) {
    for (std::int32_t kind : {static_cast<std::int32_t>(OP_ROW), static_cast<std::int32_t>(OP_ALLRANGE),
                              static_cast<std::int32_t>(OP_RANGE), 0, 66, -3}) {
        Node* n = node_unary(OP_NEG, nullptr);
        n->kind = kind;
        n->line = 7;
        NContext ctx;
        try {
            evaluate(ctx, n);
            ADD_FAILURE() << "kind " << kind << " evaluated";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "error [7]: Unknown opcode: " + std::to_string(kind));
        }
        n->kind = OP_NEG;  // freed as the node it was made as
        node_free(n);
    }
}

}  // namespace
