// Deep recursion and deeply nested expressions end in a run-time error, never
// in a stack overflow; on the interpreter's large stack ordinary deep
// recursion still works.
#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>
#include <string>

#include "exec/functions.h"
#include "tree_builder.h"

namespace {

// Runs fn on a thread with the interpreter thread's stack size.
void onLargeStack(const std::function<void()>& fn) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 512u * 1024u * 1024u);
    pthread_t thread;
    auto trampoline = [](void* p) -> void* {
        (*static_cast<const std::function<void()>*>(p))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attr, trampoline, const_cast<std::function<void()>*>(&fn)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

class DepthTest : public ::testing::Test {
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

std::string errorOf(Node* n) {
    NContext ctx;
    std::size_t depth = scopeDepth();
    std::string text;
    try {
        evaluate(ctx, n);
    } catch (const std::runtime_error& e) {
        text = e.what();
    }
    scopeCutTo(depth);
    return text;
}

TEST_F(DepthTest, EndlessRecursionRaises) {
    defineUser("f$0", nullptr, block({ret(call("f"))}));
    Node* c = call("f");
    EXPECT_NE(errorOf(c).find("Recursion too deep"), std::string::npos);
    // The same on the large stack (the depth limit, not the stack, stops it).
    std::string onBig;
    onLargeStack([&] { onBig = errorOf(c); });
    EXPECT_NE(onBig.find("Recursion too deep"), std::string::npos);
    node_free(c);
    EXPECT_EQ(scopeDepth(), 1u);
}

// g(n) { if (n > 0) return g(n - 1); return n; }
void defineCountdown() {
    Node* n = ident("n");
    Node* test = node_binary(OP_GT, ident("n"), num(0));
    Node* recurse = ret(call("g", {node_binary(OP_SUB, ident("n"), num(1))}));
    defineUser("g$1", n, block({node_if(test, recurse, nullptr), ret(ident("n"))}));
}

TEST_F(DepthTest, FifteenThousandCallsWorkOnTheInterpreterStack) {
    defineCountdown();
    Node* c = call("g", {num(15000)});
    double result = -1;
    onLargeStack([&] {
        NContext ctx;
        result = asNum(evaluate(ctx, c))->data[0].re;
    });
    EXPECT_EQ(result, 0.0);
    EXPECT_EQ(scopeDepth(), 1u);
    node_free(c);
}

// -(-(-(... 1 ...))) nested `levels` deep.
Node* negations(int levels) {
    Node* e = num(1);
    for (int i = 0; i < levels; ++i) e = node_unary(OP_NEG, e);
    return e;
}

TEST_F(DepthTest, DeeplyNestedExpressionRaisesInsteadOfOverflowing) {
    // Far deeper than any limit: raises on this thread's stack and on the large one.
    Node* deep = negations(300000);
    EXPECT_NE(errorOf(deep).find("Recursion too deep"), std::string::npos);
    std::string onBig;
    onLargeStack([&] { onBig = errorOf(deep); });
    EXPECT_NE(onBig.find("Recursion too deep"), std::string::npos);
    // A tree thousands of levels deep evaluates on the large stack.
    Node* fine = negations(40000);
    double value = 0;
    onLargeStack([&] {
        NContext ctx;
        value = asNum(evaluate(ctx, fine))->data[0].re;
    });
    EXPECT_EQ(value, 1.0);
    onLargeStack([&] {
        node_free(deep);
        node_free(fine);
    });
}

// 1 + (1 < (1 + (1 < ... 1))) nested `levels` deep: scalar operations that
// combine their operands without evaluating each one as a value.
Node* scalarChain(int levels) {
    Node* e = num(1);
    for (int i = 0; i < levels; ++i) e = node_binary(i % 2 ? OP_LT : OP_ADD, num(1), e);
    return e;
}

TEST_F(DepthTest, DeeplyNestedScalarOperationsRaiseInsteadOfOverflowing) {
    Node* deep = scalarChain(300000);
    EXPECT_NE(errorOf(deep).find("Recursion too deep"), std::string::npos);
    std::string onBig;
    onLargeStack([&] { onBig = errorOf(deep); });
    EXPECT_NE(onBig.find("Recursion too deep"), std::string::npos);
    // 1 + 1 = 2, 1 < 2 = 1, and so on: an even depth ends in 1 < 2.
    Node* fine = scalarChain(20000);
    double value = 0;
    onLargeStack([&] {
        NContext ctx;
        value = asNum(evaluate(ctx, fine))->data[0].re;
    });
    EXPECT_EQ(value, 1.0);
    onLargeStack([&] {
        node_free(deep);
        node_free(fine);
    });
}

}  // namespace
