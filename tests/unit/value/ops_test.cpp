// Broadcasting through the inline kernels and through a kernel pointer,
// expansion, empty operands, the product's summation order and the truth
// rule. The operators' results and messages are the script tests'.
#include <gtest/gtest.h>

#include <cmath>

#include "value/ops.h"
#include "value_helpers.h"

namespace {

const NRefPtr kM = realMatrix({{1, 2, 3}, {4, 5, 6}});
const NRefPtr kRow = realMatrix({{10, 20, 30}});
const NRefPtr kCol = realMatrix({{100}, {200}});

// A kernel the loops cannot know, so the call goes through the pointer.
Complex customSub(int, Complex a, Complex b) { return {a.re - b.re, 0}; }

TEST(Broadcast, EveryPairingOfShapes) {
    const struct {
        NRefPtr a, b;
        Reals difference;
    } cases[] = {
        {makeNum(10), kM, {2, 3, 9, 8, 7, 6, 5, 4}},       {kM, makeNum(10), {2, 3, -9, -8, -7, -6, -5, -4}},
        {kM, kM, {2, 3, 0, 0, 0, 0, 0, 0}},                {kM, kRow, {2, 3, -9, -18, -27, -6, -15, -24}},
        {kRow, kM, {2, 3, 9, 18, 27, 6, 15, 24}},          {kM, kCol, {2, 3, -99, -98, -97, -196, -195, -194}},
        {kCol, kM, {2, 3, 99, 98, 97, 196, 195, 194}},     {kRow, kCol, {2, 3, -90, -80, -70, -190, -180, -170}},
        {kCol, kRow, {2, 3, 90, 80, 70, 190, 180, 170}},   {makeNum(2), makeNum(3), {1, 1, -1}},
    };
    for (Kernel2 sub : {k_sub, customSub})
        for (const auto& c : cases) EXPECT_EQ(shaped(op2(1, c.a, c.b, sub)), c.difference);
    EXPECT_EQ(errorOf([&] { op2(2, NRefPtr(), kM, k_add); }), "error [2]: Bad type operation in op2");
}

TEST(Broadcast, EmptyOperandsGiveEmptyResultsOfTheirShape) {
    NRefPtr empty(new NNum(0, 0)), emptyRows(new NNum(3, 0));
    EXPECT_EQ(shaped(op2(1, empty, kM, k_add)), (Reals{0, 0}));
    EXPECT_EQ(shaped(op2(1, kM, empty, k_add)), (Reals{0, 0}));
    // 0x3 is not scalar-like: it pairs by shape like any other matrix.
    EXPECT_EQ(errorOf([&] { op2(1, kM, emptyRows, k_add); }), "error [1]: Matrix size not match in op2");
    EXPECT_EQ(shaped(op2(1, makeNum(1), emptyRows, k_ldiv)), (Reals{0, 3}));  // kernel never runs
    EXPECT_EQ(shaped(matrixProduct(1, empty, kM)), (Reals{0, 0}));
    auto first = [](int, Complex a, Complex, Complex) { return a; };
    EXPECT_EQ(shaped(op3(1, kM, empty, makeNum(1), first)), (Reals{0, 0}));
    EXPECT_EQ(shaped(allOf(1, empty)), (Reals{1, 1, 1}));
    EXPECT_EQ(shaped(anyOf(1, empty)), (Reals{1, 1, 0}));
}

TEST(Expand, ShapesOfTheExpansionRule) {
    NRefPtr s = makeNum(7);
    EXPECT_EQ(shaped(op_expand(1, s, kM)), (Reals{2, 3, 7, 7, 7, 7, 7, 7}));
    for (const NRefPtr& other : {s, kRow, kCol, kM}) EXPECT_EQ(op_expand(1, kM, other).get(), kM.get());
    EXPECT_EQ(op_expand(1, s, s).get(), s.get());
    EXPECT_EQ(shaped(op_expand(1, kRow, kM)), (Reals{2, 3, 10, 20, 30, 10, 20, 30}));
    EXPECT_EQ(shaped(op_expand(1, kCol, kM)), (Reals{2, 3, 100, 100, 100, 200, 200, 200}));
    EXPECT_EQ(shaped(op_expand(1, kCol, kRow)), (Reals{2, 3, 100, 100, 100, 200, 200, 200}));
    EXPECT_EQ(shaped(op_expand(1, kRow, kCol)), (Reals{2, 3, 10, 20, 30, 10, 20, 30}));
    EXPECT_EQ(errorOf([&] { op_expand(5, kM, realMatrix({{1, 2}, {3, 4}, {5, 6}})); }),
              "error [5]: Matrix size not match in op_expand");
    EXPECT_EQ(errorOf([&] { op_expand(5, kM, makeString("a")); }), "error [5]: Bad type operation in op_expand");
    auto fma = [](int, Complex a, Complex b, Complex c) { return Complex{a.re * b.re + c.re, 0}; };
    EXPECT_EQ(shaped(op3(1, kRow, kCol, makeNum(1), fma)), (Reals{2, 3, 1001, 2001, 3001, 2001, 4001, 6001}));
    // Pairwise expandable, but with no common shape.
    EXPECT_NE(errorOf([&] { op3(1, kM, kRow, realMatrix({{1}, {2}, {3}}), fma); }), "");
}

TEST(Product, SumsInIncreasingOrderFromZero) {
    // Summed from the left these give 0 and 1; any other order gives 1 and 0.
    NRefPtr ones = realMatrix({{1}, {1}, {1}});
    EXPECT_EQ(num(matrixProduct(1, realMatrix({{1, 1e16, -1e16}}), ones)).data[0].re, 0.0);
    EXPECT_EQ(num(matrixProduct(1, realMatrix({{1e16, -1e16, 1}}), ones)).data[0].re, 1.0);
    EXPECT_EQ(shaped(matrixProduct(1, kCol, makeNum(-1))), (Reals{2, 1, -100, -200}));
}

TEST(Operators, TruthAndConditions) {
    EXPECT_FALSE(truthValue({NAN, 0}));
    EXPECT_FALSE(truthValue({0, NAN}));
    EXPECT_FALSE(truthValue({-0.0, 0}));
    EXPECT_TRUE(truthValue({0, -1}));
    for (NRefPtr bad : {kM, NRefPtr(new NNum(0, 0)), NRefPtr(new NFileID(1)), NRefPtr()})
        EXPECT_EQ(errorOf([&] { conditionTest(3, bad); }), "error [3]: Conditional context must be scalar");
}

}  // namespace
