// The scope stack: block placeholders, redeclaration, binding counts and
// long names.
#include <gtest/gtest.h>

#include "exec/exec.h"
#include "exec/symbols.h"

namespace {

class ScopeTest : public ::testing::Test {
protected:
    void SetUp() override {
        scopeClearAll();
        scopeOpenFunctionFrame();  // the global frame
    }
    void TearDown() override { scopeClearAll(); }
};


TEST_F(ScopeTest, BlockPlaceholderMaterialisesOnFirstDeclaration) {
    Symbol* g = scopeDeclare("x", true);
    ASSERT_NE(g, nullptr);
    scopeOpenBlock();
    EXPECT_EQ(scopeDepth(), 2u);
    EXPECT_FALSE(scopeExistsHere("x"));  // a null placeholder holds nothing
    EXPECT_EQ(scopeLookup("x"), g);      // and is skipped by lookup
    Symbol* inner = scopeDeclare("x", true);
    EXPECT_NE(inner, g);
    EXPECT_TRUE(scopeExistsHere("x"));
    EXPECT_EQ(scopeLookup("x"), inner);  // shadows the global
    scopeClose();
    EXPECT_EQ(scopeLookup("x"), g);
}

TEST_F(ScopeTest, RedeclarationReplacesAndReleasesTheOldValue) {
    Symbol* first = scopeDeclare("a", true);
    NRefPtr held(first->value);
    EXPECT_EQ(held->bindCount, 1);
    std::uint64_t epoch = symbolEpoch();
    Symbol* second = scopeDeclare("a", true);
    EXPECT_NE(symbolEpoch(), epoch);  // holders of the old symbol can tell
    EXPECT_EQ(held->bindCount, 0);
    EXPECT_EQ(scopeLookup("a"), second);
}

TEST_F(ScopeTest, RebindCountsBindings) {
    Symbol* a = scopeDeclare("a", true);
    NRefPtr v = makeNum(4.0);
    a->rebind(v.get());
    EXPECT_EQ(v->bindCount, 1);
    Symbol* b = scopeDeclare("b", true);
    b->rebind(v.get());
    EXPECT_EQ(v->bindCount, 2);
    scopeCutTo(0);
    EXPECT_EQ(v->bindCount, 0);
    EXPECT_EQ(v->refCount, 1);
}

TEST_F(ScopeTest, LongNamesAreKeptWhole) {
    std::string longA(300, 'a');
    std::string longB = longA + "b";
    Symbol* a = scopeDeclare(longA.c_str(), true);
    Symbol* b = scopeDeclare(longB.c_str(), true);
    EXPECT_EQ(scopeLookup(longA.c_str()), a);
    EXPECT_EQ(scopeLookup(longB.c_str()), b);
}

}  // namespace
