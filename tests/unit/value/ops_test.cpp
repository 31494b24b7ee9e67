// Broadcasting, expansion, product, transpose, power, select, any/all and
// condition tests.
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
    for (Kernel2 sub : {k_sub, customSub}) {
        EXPECT_EQ(shaped(op2(1, makeNum(10), kM, sub)), (Reals{2, 3, 9, 8, 7, 6, 5, 4}));
        EXPECT_EQ(shaped(op2(1, kM, makeNum(10), sub)), (Reals{2, 3, -9, -8, -7, -6, -5, -4}));
        EXPECT_EQ(shaped(op2(1, kM, kM, sub)), (Reals{2, 3, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(shaped(op2(1, kM, kRow, sub)), (Reals{2, 3, -9, -18, -27, -6, -15, -24}));
        EXPECT_EQ(shaped(op2(1, kRow, kM, sub)), (Reals{2, 3, 9, 18, 27, 6, 15, 24}));
        EXPECT_EQ(shaped(op2(1, kM, kCol, sub)), (Reals{2, 3, -99, -98, -97, -196, -195, -194}));
        EXPECT_EQ(shaped(op2(1, kCol, kM, sub)), (Reals{2, 3, 99, 98, 97, 196, 195, 194}));
        EXPECT_EQ(shaped(op2(1, kRow, kCol, sub)), (Reals{2, 3, -90, -80, -70, -190, -180, -170}));
        EXPECT_EQ(shaped(op2(1, kCol, kRow, sub)), (Reals{2, 3, 90, 80, 70, 190, 180, 170}));
    }
    EXPECT_EQ(shaped(op2(1, makeNum(2), makeNum(3), k_mul)), (Reals{1, 1, 6}));
    EXPECT_EQ(shaped(op1(1, kRow, k_neg)), (Reals{1, 3, -10, -20, -30}));
}

TEST(Broadcast, MismatchesAndWrongKinds) {
    NRefPtr tall = realMatrix({{1, 2}, {3, 4}, {5, 6}});
    EXPECT_EQ(errorOf([&] { op2(4, kM, tall, k_add); }), "error [4]: Matrix size not match in op2");
    EXPECT_EQ(errorOf([&] { op2(2, kM, makeString("x"), k_add); }), "error [2]: Bad type operation in op2");
    EXPECT_EQ(errorOf([&] { op2(2, NRefPtr(), kM, k_add); }), "error [2]: Bad type operation in op2");
    EXPECT_EQ(errorOf([&] { op1(3, makeString("x"), k_neg); }), "error [3]: Bad type operation in op1");
    EXPECT_EQ(errorOf([&] { addValues(6, makeString("ab"), makeNum(1)); }), "error [6]: Bad type operation in op2");
    EXPECT_EQ(asString(addValues(1, makeString("ab"), makeString("cd")))->text, "abcd");
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

TEST(Product, MatrixProductAndScaling) {
    NRefPtr b = realMatrix({{7, 8}, {9, 10}, {11, 12}});
    EXPECT_EQ(shaped(matrixProduct(1, kM, b)), (Reals{2, 2, 58, 64, 139, 154}));
    EXPECT_EQ(errorOf([&] { matrixProduct(9, kM, kM); }), "error [9]: Matrix size not match in operator .");
    EXPECT_EQ(errorOf([&] { matrixProduct(1, kM, makeString("s")); }), "error [1]: Bad type operation in op2");
    EXPECT_EQ(shaped(matrixProduct(1, makeNum(2), kRow)), (Reals{1, 3, 20, 40, 60}));
    EXPECT_EQ(shaped(matrixProduct(1, kCol, makeNum(-1))), (Reals{2, 1, -100, -200}));
    // (1+i, 2) . (i, 1)' = (1+i)i + 2 = 1 + i.
    NNum* x = new NNum(2, 1);
    x->data[0] = {1, 1};
    x->data[1] = {2, 0};
    NNum* y = new NNum(1, 2);
    y->data[0] = {0, 1};
    y->data[1] = {1, 0};
    Complex z = num(matrixProduct(1, NRefPtr(x), NRefPtr(y))).data[0];
    EXPECT_EQ(z.re, 1.0);
    EXPECT_EQ(z.im, 1.0);
}

TEST(Product, SumsInIncreasingOrderFromZero) {
    // Summed from the left these give 0 and 1; any other order gives 1 and 0.
    NRefPtr ones = realMatrix({{1}, {1}, {1}});
    EXPECT_EQ(num(matrixProduct(1, realMatrix({{1, 1e16, -1e16}}), ones)).data[0].re, 0.0);
    EXPECT_EQ(num(matrixProduct(1, realMatrix({{1e16, -1e16, 1}}), ones)).data[0].re, 1.0);
}

TEST(Operators, TransposeAndPower) {
    EXPECT_EQ(shaped(transpose(1, kM)), (Reals{3, 2, 1, 4, 2, 5, 3, 6}));
    EXPECT_EQ(num(transpose(1, makeNum(1, 2))).data[0].im, 2.0);
    EXPECT_EQ(errorOf([] { transpose(1, makeString("x")); }), "error [1]: Bad type operation in op1");

    EXPECT_EQ(k_pow(1, {2, 0}, {10, 0}).re, 1024.0);
    Complex cube = k_pow(1, {-8, 0}, {3, 0});
    EXPECT_EQ(cube.re, -512.0);
    EXPECT_EQ(cube.im, 0.0);
    // A negated literal carries -0 as its imaginary part; the principal
    // argument of a negative real is still +pi.
    Complex root = k_pow(1, k_neg(1, {8, 0}), {1.0 / 3, 0});
    EXPECT_NEAR(root.re, 1.0, 1e-12);
    EXPECT_NEAR(root.im, std::sqrt(3.0), 1e-12);
    Complex sq = k_pow(1, {0, 2}, {2, 0});
    EXPECT_NEAR(sq.re, -4.0, 1e-12);
    EXPECT_NEAR(sq.im, 0.0, 1e-12);
    EXPECT_TRUE(std::isinf(k_pow(1, {0, 0}, {-1, 0}).re));
}

TEST(Operators, SelectLogicAllAny) {
    // c ? x : y as the executor builds it from the truth, not and select kernels.
    NRefPtr t = op1(1, realMatrix({{1, 0}}), k_truth);
    NRefPtr e = op2(1, op1(1, t, k_not), makeNum(7), k_select);
    EXPECT_EQ(shaped(op2(1, op2(1, t, makeNum(5), k_select), e, k_add)), (Reals{1, 2, 5, 7}));
    EXPECT_EQ(shaped(op2(1, realMatrix({{2, 0, 0}}), realMatrix({{3, 3, NAN}}), k_and)), (Reals{1, 3, 1, 0, 0}));
    EXPECT_EQ(shaped(op2(1, realMatrix({{0, 0, 0}}), realMatrix({{0, NAN, -1}}), k_or)), (Reals{1, 3, 0, 0, 1}));
    EXPECT_EQ(k_or(1, {0, 0}, {0, 1}).re, 1.0);

    NRefPtr withNaN = realMatrix({{1, NAN, 2}}), empty(new NNum(0, 0));
    EXPECT_EQ(shaped(allOf(1, withNaN)), (Reals{1, 1, 0}));
    EXPECT_EQ(shaped(anyOf(1, withNaN)), (Reals{1, 1, 1}));
    EXPECT_EQ(num(anyOf(1, realMatrix({{0, NAN}}))).data[0].re, 0.0);
    EXPECT_EQ(num(allOf(1, empty)).data[0].re, 1.0);
    EXPECT_EQ(num(anyOf(1, empty)).data[0].re, 0.0);
    EXPECT_EQ(errorOf([] { allOf(2, makeString("a")); }), "error [2]: Bad type operation in operator all");
    EXPECT_EQ(errorOf([] { anyOf(2, makeString("a")); }), "error [2]: Bad type operation in operator any");
}

TEST(Operators, ConditionTest) {
    EXPECT_TRUE(conditionTest(1, makeNum(0, 1)));
    EXPECT_FALSE(conditionTest(1, makeNum(0)));
    EXPECT_FALSE(conditionTest(1, makeNum(NAN)));
    EXPECT_TRUE(conditionTest(1, makeString("x")));
    EXPECT_FALSE(conditionTest(1, makeString("")));
    for (NRefPtr bad : {kM, NRefPtr(new NNum(0, 0)), NRefPtr(new NFileID(1)), NRefPtr()})
        EXPECT_EQ(errorOf([&] { conditionTest(3, bad); }), "error [3]: Conditional context must be scalar");
}

}  // namespace
