// Deep recursion and deeply nested expressions end in a run-time error, never
// in a stack overflow, on a small stack as on the interpreter's large one;
// on the large stack ordinary deep recursion still works.
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

// The value of n, or the message it raised.
std::string outcome(Node* n) {
    NContext ctx;
    std::size_t depth = scopeDepth();
    std::string text;
    try {
        text = std::to_string(asNum(evaluate(ctx, n))->data[0].re);
    } catch (const std::runtime_error& e) {
        text = e.what();
    }
    scopeCutTo(depth);
    return text;
}

// -(-(... 1 ...)), and 1 + (1 < (1 + ... 1)) whose scalar operations combine
// their operands without evaluating each as a value, `levels` deep.
Node* negations(int levels) {
    Node* e = num(1);
    for (int i = 0; i < levels; ++i) e = node_unary(OP_NEG, e);
    return e;
}
Node* scalarChain(int levels) {
    Node* e = num(1);
    for (int i = 0; i < levels; ++i) e = node_binary(i % 2 ? OP_LT : OP_ADD, num(1), e);
    return e;
}

TEST(Depth, TooDeepRaisesOnAnyStackAndDeepEnoughWorks) {
    clearFunctions();
    scopeClearAll();
    scopeOpenFunctionFrame();
    // f() { return f(); } and g(n) { if (n > 0) return g(n - 1); return n; }
    defineUser("f$0", nullptr, block({ret(call("f"))}));
    Node* recurse = ret(call("g", {node_binary(OP_SUB, ident("n"), num(1))}));
    Node* test = node_binary(OP_GT, ident("n"), num(0));
    defineUser("g$1", ident("n"), block({node_if(test, recurse, nullptr), ret(ident("n"))}));
    const struct {
        Node* tree;
        bool fits;  // on the large stack
    } cases[] = {{call("f"), false},          {negations(300000), false}, {scalarChain(300000), false},
                 {call("g", {num(15000)}), true}, {negations(40000), true},   {scalarChain(20000), true}};
    for (const auto& c : cases) {
        std::string large;
        onLargeStack([&] { large = outcome(c.tree); });
        if (c.fits) {
            EXPECT_EQ(large, c.tree->kind == OP_CALL ? "0.000000" : "1.000000");
        } else {
            EXPECT_NE(large.find("Recursion too deep"), std::string::npos) << large;
            std::string small = outcome(c.tree);
            EXPECT_NE(small.find("Recursion too deep"), std::string::npos) << small;
        }
        EXPECT_EQ(scopeDepth(), 1u);
        onLargeStack([&] { node_free(c.tree); });
    }
    clearFunctions();
    scopeClearAll();
}

}  // namespace
