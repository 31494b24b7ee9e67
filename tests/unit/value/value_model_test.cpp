// Counts, lifetime, copies and construction limits of values.
#include <gtest/gtest.h>

#include <cmath>

#include "value/settings.h"
#include "value_helpers.h"

namespace {

// Records its own destruction so lifetime rules can be observed.
int g_destroyed = 0;
class Probe final : public NRef {
public:
    ~Probe() override { ++g_destroyed; }
};

TEST(ValueModel, DestroyedExactlyWhenBothCountsReachZero) {
    g_destroyed = 0;
    Probe* p = new Probe;
    EXPECT_EQ(p->bindCount, 0);
    EXPECT_EQ(p->refCount, 0);
    {
        NRefPtr a(p);
        EXPECT_EQ(p->refCount, 1);
        ++p->bindCount;  // a variable takes it
        NRefPtr b = a;
        EXPECT_EQ(p->refCount, 2);
        a = a;  // self-assignment changes nothing
        EXPECT_EQ(p->refCount, 2);
    }
    EXPECT_EQ(g_destroyed, 0) << "still bound to a variable";
    EXPECT_EQ(p->refCount, 0);
    unbindRef(p);
    EXPECT_EQ(g_destroyed, 1);

    g_destroyed = 0;
    Probe* q = new Probe;
    ++q->bindCount;
    {
        NRefPtr a(q);
        unbindRef(q);
        EXPECT_EQ(g_destroyed, 0) << "a reference still holds it";
    }
    EXPECT_EQ(g_destroyed, 1);
}

TEST(ValueModel, MovesAndResetsKeepCountsRight) {
    g_destroyed = 0;
    NRefPtr a(new Probe);
    NRefPtr b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b->refCount, 1);
    NRefPtr c(new Probe);
    c = std::move(b);  // the old target of c goes
    EXPECT_EQ(g_destroyed, 1);
    EXPECT_EQ(c->refCount, 1);
    c.reset();
    EXPECT_EQ(g_destroyed, 2);
}

TEST(ValueModel, TakeForBindingCopiesOnlyHeldValues) {
    NRefPtr fresh = makeNum(5.0);
    EXPECT_EQ(takeForBinding(fresh).get(), fresh.get());

    ++fresh->bindCount;  // now some variable holds it
    NRefPtr bound = takeForBinding(fresh);
    EXPECT_NE(bound.get(), fresh.get());
    EXPECT_EQ(num(bound).data[0].re, 5.0);
    EXPECT_EQ(bound->bindCount, 0);
    --fresh->bindCount;

    EXPECT_FALSE(takeForBinding(NRefPtr()));
}

TEST(ValueModel, CloneIsDeepAndKeepsTheKind) {
    NRefPtr m = realMatrix({{1, 2, 3}, {4, 5, 6}});
    NRefPtr c(m->clone());
    EXPECT_SHAPE(c, 2, 3);
    num(c).at(1, 2) = {9, 9};
    EXPECT_EQ(num(m).at(1, 2).re, 6.0);
    EXPECT_EQ(reals(c), (std::vector<double>{1, 2, 3, 4, 5, 9}));

    NRefPtr s = makeString(std::string("a\0b", 3));
    NRefPtr sc(s->clone());
    ASSERT_TRUE(asString(sc));
    EXPECT_EQ(asString(sc)->text, std::string("a\0b", 3));

    NRefPtr f(new NFileID(7));
    NRefPtr fc(f->clone());
    ASSERT_TRUE(asFileID(fc));
    EXPECT_EQ(asFileID(fc)->fileNo, 7);

    NRef base;
    EXPECT_EQ(base.clone(), nullptr);
}

TEST(ValueModel, TypeNamesAndTypeTests) {
    NRef base;
    EXPECT_EQ(base.typeName(), "unknown");
    EXPECT_EQ(makeNum(1)->typeName(), "number");
    EXPECT_EQ(makeString("x")->typeName(), "string");
    EXPECT_EQ(NRefPtr(new NFileID(1))->typeName(), "fileno");

    NRefPtr n = makeNum(1);
    EXPECT_TRUE(asNum(n));
    EXPECT_FALSE(asString(n));
    EXPECT_FALSE(asFileID(n));
    EXPECT_FALSE(asNum(NRefPtr()));
}

TEST(ValueModel, ConstructorsZeroFillAndConvert) {
    NRefPtr m(new NNum(3, 2));
    EXPECT_SHAPE(m, 2, 3);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(num(m).data[i].re, 0.0);
        EXPECT_EQ(num(m).data[i].im, 0.0);
    }
    EXPECT_EQ(num(makeNum(-7)).data[0].re, -7.0);
    EXPECT_EQ(num(makeNum(1.5, -2.0)).data[0].im, -2.0);
    EXPECT_EQ(asString(makeString("ab", "cd"))->text, "abcd");
    NRefPtr empty(new NNum(0, 4));
    EXPECT_EQ(num(empty).count(), 0u);
}

TEST(ValueModel, ImpossibleSizesAreRunTimeErrors) {
    EXPECT_EQ(errorOf([] { NRefPtr m(new NNum(2000000000, 2000000000)); }),
              "error: Not enough memory for a matrix of 2000000000 x 2000000000");
    EXPECT_EQ(errorOf([] { NRefPtr m(new NNum(-1, 3)); }), "error: Bad matrix size 3 x -1");
    // The pool and the allocator are still sound afterwards.
    NRefPtr ok(new NNum(10, 10));
    EXPECT_EQ(num(ok).count(), 100u);
}

TEST(ValueModel, PooledScalarsAreReusedCleanly) {
    // Many short-lived scalars and matrices mixed: every one reads back what
    // was written, and zero-filled ones really are zero after reuse.
    for (int round = 0; round < 1000; ++round) {
        NRefPtr a = makeNum(round, -round);
        NRefPtr z(new NNum(1, 1));
        NRefPtr big(new NNum(round % 5 + 2, 3));
        EXPECT_EQ(num(a).data[0].re, round);
        EXPECT_EQ(num(z).data[0].re, 0.0);
        EXPECT_EQ(num(z).data[0].im, 0.0);
        EXPECT_EQ(num(big).data[num(big).count() - 1].re, 0.0);
    }
}

}  // namespace
