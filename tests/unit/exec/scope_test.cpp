// The scope stack: placeholders, function-frame boundaries, extern markers
// and redeclaration.
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

double realOf(const Symbol* s) { return static_cast<const NNum*>(s->value)->data[0].re; }

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

TEST_F(ScopeTest, UndeclaredAssignmentTargetIsTheInnermostFunctionFrame) {
    scopeOpenFunctionFrame();
    scopeOpenBlock();
    scopeOpenBlock();
    Symbol* s = scopeDeclare("t", false);
    ASSERT_NE(s, nullptr);
    scopeClose();
    scopeClose();
    EXPECT_EQ(scopeLookup("t"), s);  // outlives the blocks
    scopeClose();
    EXPECT_EQ(scopeLookup("t"), nullptr);  // but not the frame
}

TEST_F(ScopeTest, LookupNeverCrossesAFunctionFrame) {
    scopeDeclare("callerLocal", true);
    scopeOpenFunctionFrame();
    EXPECT_EQ(scopeLookup("callerLocal"), nullptr);
    scopeOpenFunctionFrame();
    scopeDeclare("inner", true);
    scopeClose();
    EXPECT_EQ(scopeLookup("inner"), nullptr);
}

TEST_F(ScopeTest, ExternReachesAndCreatesTheGlobal) {
    EXPECT_FALSE(scopeDeclareExtern("g"));  // only the global frame is open
    Symbol* existing = scopeDeclare("have", true);
    scopeOpenFunctionFrame();
    ASSERT_TRUE(scopeDeclareExtern("have"));
    EXPECT_EQ(scopeLookup("have"), existing);
    ASSERT_TRUE(scopeDeclareExtern("fresh"));
    Symbol* created = scopeLookup("fresh");
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(realOf(created), 0.0);
    scopeClose();
    // The global made on first use stays after the marker's scope is gone.
    EXPECT_EQ(scopeLookup("fresh"), created);
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

TEST_F(ScopeTest, CutToRemovesEverythingAbove) {
    scopeOpenFunctionFrame();
    scopeOpenBlock();
    scopeDeclare("x", true);
    scopeOpenBlock();
    scopeCutTo(1);
    EXPECT_EQ(scopeDepth(), 1u);
    EXPECT_EQ(scopeLookup("x"), nullptr);
}

}  // namespace
