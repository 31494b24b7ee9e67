// Counts, lifetime, copies and construction limits of values.
#include <gtest/gtest.h>

#include "value_helpers.h"

namespace {

int g_destroyed = 0;
class Probe final : public NRef {
public:
    ~Probe() override { ++g_destroyed; }
};

TEST(ValueModel, DestroyedExactlyWhenBothCountsReachZero) {
    g_destroyed = 0;
    Probe* p = new Probe;
    {
        NRefPtr a(p);
        ++p->bindCount;  // a variable takes it
        NRefPtr b = a;
        a = a;
        EXPECT_EQ(p->refCount, 2);
    }
    EXPECT_EQ(g_destroyed, 0) << "still bound to a variable";
    unbindRef(p);
    EXPECT_EQ(g_destroyed, 1);

    Probe* q = new Probe;
    ++q->bindCount;
    NRefPtr held(q);
    unbindRef(q);
    EXPECT_EQ(g_destroyed, 1) << "a reference still holds it";
    NRefPtr other(new Probe);
    held = std::move(other);  // the old target goes, the moved one stays
    EXPECT_EQ(g_destroyed, 2);
    EXPECT_EQ(held->refCount, 1);
    held.reset();
    EXPECT_EQ(g_destroyed, 3);
}

// Whether binding copies is the script tests' (identity.qn); clones are deep.
TEST(ValueModel, Clone) {
    NRefPtr m = realMatrix({{1, 2, 3}, {4, 5, 6}});
    NRefPtr c(m->clone());
    num(c).at(1, 2) = {9, 9};
    EXPECT_EQ(shaped(m), (Reals{2, 3, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(shaped(c), (Reals{2, 3, 1, 2, 3, 4, 5, 9}));
    EXPECT_EQ(asString(NRefPtr(makeString(std::string("a\0b", 3))->clone()))->text, std::string("a\0b", 3));
    EXPECT_EQ(asFileID(NRefPtr(NFileID(7).clone()))->fileNo, 7);
    EXPECT_EQ(NRef().clone(), nullptr);
    EXPECT_EQ(NRef().typeName() + NNum(1, 1).typeName() + NString().typeName() + NFileID(1).typeName(),
              "unknownnumberstringfileno");
}

TEST(ValueModel, ImpossibleSizesAreRunTimeErrors) {
    EXPECT_EQ(errorOf([] { NRefPtr m(new NNum(2000000000, 2000000000)); }),
              "error: Not enough memory for a matrix of 2000000000 x 2000000000");
    EXPECT_EQ(errorOf([] { NRefPtr m(new NNum(-1, 3)); }), "error: Bad matrix size 3 x -1");
}

}  // namespace
