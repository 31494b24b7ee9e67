// Broadcasting, expansion, product, transpose, power, select, any/all and
// condition tests.
#include <gtest/gtest.h>

#include <cmath>

#include "value/ops.h"
#include "value/settings.h"
#include "value_helpers.h"

namespace {

using V = std::vector<double>;

TEST(Broadcast, ScalarAndSameShape) {
    NRefPtr m = realMatrix({{1, 2, 3}, {4, 5, 6}});
    NRefPtr r = op2(1, makeNum(10), m, k_sub);
    EXPECT_SHAPE(r, 2, 3);
    EXPECT_EQ(reals(r), (V{9, 8, 7, 6, 5, 4}));
    r = op2(1, m, makeNum(10), k_sub);
    EXPECT_EQ(reals(r), (V{-9, -8, -7, -6, -5, -4}));
    r = op2(1, m, m, k_mul);
    EXPECT_EQ(reals(r), (V{1, 4, 9, 16, 25, 36}));
    r = op2(1, makeNum(2), makeNum(3), k_add);
    EXPECT_SHAPE(r, 1, 1);
    EXPECT_EQ(reals(r), V{5});
}

TEST(Broadcast, RowsAndColumnsAgainstMatrices) {
    NRefPtr m = realMatrix({{1, 2, 3}, {4, 5, 6}});
    NRefPtr row = realMatrix({{10, 20, 30}});
    NRefPtr col = realMatrix({{100}, {200}});
    EXPECT_EQ(reals(op2(1, m, row, k_sub)), (V{-9, -18, -27, -6, -15, -24}));
    EXPECT_EQ(reals(op2(1, row, m, k_sub)), (V{9, 18, 27, 6, 15, 24}));
    EXPECT_EQ(reals(op2(1, m, col, k_sub)), (V{-99, -98, -97, -196, -195, -194}));
    EXPECT_EQ(reals(op2(1, col, m, k_sub)), (V{99, 98, 97, 196, 195, 194}));
    NRefPtr outer = op2(1, row, col, k_add);  // a row of 3 with a column of 2
    EXPECT_SHAPE(outer, 2, 3);
    EXPECT_EQ(reals(outer), (V{110, 120, 130, 210, 220, 230}));
    outer = op2(1, col, row, k_sub);
    EXPECT_SHAPE(outer, 2, 3);
    EXPECT_EQ(reals(outer), (V{90, 80, 70, 190, 180, 170}));
}

TEST(Broadcast, MismatchesAndWrongKinds) {
    NRefPtr a = realMatrix({{1, 2, 3}, {4, 5, 6}});
    NRefPtr b = realMatrix({{1, 2}, {3, 4}, {5, 6}});
    EXPECT_EQ(errorOf([&] { op2(4, a, b, k_add); }), "error [4]: Matrix size not match in op2");
    EXPECT_EQ(errorOf([&] { op2(2, a, makeString("x"), k_add); }), "error [2]: Bad type operation in op2");
    EXPECT_EQ(errorOf([&] { op2(2, NRefPtr(), a, k_add); }), "error [2]: Bad type operation in op2");
    EXPECT_EQ(errorOf([&] { op1(3, makeString("x"), k_neg); }), "error [3]: Bad type operation in op1");
    EXPECT_EQ(reals(op1(1, a, k_neg)), (V{-1, -2, -3, -4, -5, -6}));
}

// A kernel the loops cannot know, so the call goes through the pointer.
Complex customMax(int, Complex a, Complex b) { return a.re > b.re ? a : b; }

TEST(Broadcast, UnknownKernelsTakeTheGeneralPath) {
    NRefPtr r = op2(1, realMatrix({{1, 5, 3}}), realMatrix({{4}, {2}}), customMax);
    EXPECT_EQ(reals(r), (V{4, 5, 4, 2, 5, 3}));
}

TEST(Broadcast, EmptyOperandsGiveEmptyResults) {
    NRefPtr empty(new NNum(0, 0));
    NRefPtr emptyRow(new NNum(3, 0));
    NRefPtr m = realMatrix({{1, 2}, {3, 4}});
    EXPECT_EQ(num(op2(1, empty, m, k_add)).count(), 0u);
    EXPECT_EQ(num(op2(1, m, empty, k_add)).count(), 0u);
    EXPECT_EQ(num(op2(1, makeNum(1), emptyRow, k_add)).count(), 0u);
    EXPECT_SHAPE(op2(1, makeNum(1), emptyRow, k_add), 0, 3);
    EXPECT_EQ(num(op1(1, empty, k_neg)).count(), 0u);
    // The kernel is never reached, so even a raising kernel succeeds.
    EXPECT_EQ(num(op2(1, makeNum(1), empty, k_ldiv)).count(), 0u);
    EXPECT_EQ(num(matrixProduct(1, empty, m)).count(), 0u);
    EXPECT_EQ(num(op3(1, empty, m, makeNum(1), [](int, Complex a, Complex, Complex) { return a; })).count(), 0u);
}

TEST(Expand, ShapesOfTheExpansionRule) {
    NRefPtr s = makeNum(7);
    NRefPtr m = realMatrix({{1, 2, 3}, {4, 5, 6}});
    NRefPtr row = realMatrix({{1, 2, 3}});
    NRefPtr col = realMatrix({{1}, {2}});
    EXPECT_EQ(reals(op_expand(1, s, m)), (V{7, 7, 7, 7, 7, 7}));
    EXPECT_EQ(op_expand(1, s, s).get(), s.get());
    EXPECT_EQ(op_expand(1, m, s).get(), m.get());
    EXPECT_EQ(op_expand(1, m, row).get(), m.get());
    EXPECT_EQ(reals(op_expand(1, row, m)), (V{1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(reals(op_expand(1, col, m)), (V{1, 1, 1, 2, 2, 2}));
    NRefPtr colRow = op_expand(1, col, row);
    EXPECT_SHAPE(colRow, 2, 3);
    EXPECT_EQ(reals(colRow), (V{1, 1, 1, 2, 2, 2}));
    NRefPtr rowCol = op_expand(1, row, col);
    EXPECT_SHAPE(rowCol, 2, 3);
    EXPECT_EQ(reals(rowCol), (V{1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(errorOf([&] { op_expand(5, m, realMatrix({{1, 2}, {3, 4}, {5, 6}})); }),
              "error [5]: Matrix size not match in op_expand");
    EXPECT_EQ(errorOf([&] { op_expand(5, m, makeString("a")); }), "error [5]: Bad type operation in op_expand");
}

Complex fma3(int, Complex a, Complex b, Complex c) { return {a.re * b.re + c.re, 0}; }

TEST(Expand, Op3CombinesThreeShapes) {
    NRefPtr r = op3(1, realMatrix({{1, 2, 3}}), realMatrix({{10}, {20}}), makeNum(1), fma3);
    EXPECT_SHAPE(r, 2, 3);
    EXPECT_EQ(reals(r), (V{11, 21, 31, 21, 41, 61}));
    // Shapes that expand pairwise but not to one common shape.
    EXPECT_NE(errorOf([] {
                  op3(1, realMatrix({{1, 2, 3}, {4, 5, 6}}), realMatrix({{1, 2, 3}}), realMatrix({{1}, {2}, {3}}), fma3);
              }),
              "");
}

TEST(Product, MatrixProductAndScaling) {
    NRefPtr a = realMatrix({{1, 2, 3}, {4, 5, 6}});
    NRefPtr b = realMatrix({{7, 8}, {9, 10}, {11, 12}});
    NRefPtr p = matrixProduct(1, a, b);
    EXPECT_SHAPE(p, 2, 2);
    EXPECT_EQ(reals(p), (V{58, 64, 139, 154}));
    EXPECT_EQ(errorOf([&] { matrixProduct(9, a, a); }), "error [9]: Matrix size not match in operator .");
    EXPECT_EQ(reals(matrixProduct(1, makeNum(2), a)), (V{2, 4, 6, 8, 10, 12}));
    EXPECT_EQ(reals(matrixProduct(1, a, makeNum(-1))), (V{-1, -2, -3, -4, -5, -6}));
    EXPECT_EQ(errorOf([&] { matrixProduct(1, a, makeString("s")); }), "error [1]: Bad type operation in op2");

    // Complex entries: (1+i, 2) . (i, 1)' = (1+i)i + 2 = 1 + i.
    NNum* x = new NNum(2, 1);
    x->data[0] = {1, 1};
    x->data[1] = {2, 0};
    NNum* y = new NNum(1, 2);
    y->data[0] = {0, 1};
    y->data[1] = {1, 0};
    NRefPtr z = matrixProduct(1, NRefPtr(x), NRefPtr(y));
    EXPECT_SHAPE(z, 1, 1);
    EXPECT_EQ(num(z).data[0].re, 1.0);
    EXPECT_EQ(num(z).data[0].im, 1.0);
}

TEST(Product, SumsInIncreasingOrderFromZero) {
    // 1e16 + 1 - 1e16 is 0 in doubles when summed left to right; any other
    // order or a fused multiply-add would give a different result.
    NRefPtr a = realMatrix({{1e16, 1, -1e16}});
    NRefPtr b = realMatrix({{1}, {1}, {1}});
    EXPECT_EQ(reals(matrixProduct(1, a, b)), V{0.0});
    NRefPtr c = realMatrix({{1, 1e16, -1e16}});
    EXPECT_EQ(reals(matrixProduct(1, c, b)), V{0.0});
    NRefPtr d = realMatrix({{1e16, -1e16, 1}});
    EXPECT_EQ(reals(matrixProduct(1, d, b)), V{1.0});
}

TEST(Transpose, SwapsShapeWithoutConjugating) {
    NRefPtr t = transpose(1, realMatrix({{1, 2, 3}, {4, 5, 6}}));
    EXPECT_SHAPE(t, 3, 2);
    EXPECT_EQ(reals(t), (V{1, 4, 2, 5, 3, 6}));
    NRefPtr z = transpose(1, makeNum(1, 2));
    EXPECT_EQ(num(z).data[0].im, 2.0);
    EXPECT_EQ(errorOf([] { transpose(1, makeString("x")); }), "error [1]: Bad type operation in op1");
}

TEST(Power, RealAndComplexCases) {
    auto p = [](Complex a, Complex b) { return k_pow(1, a, b); };
    EXPECT_EQ(p({2, 0}, {10, 0}).re, 1024.0);
    EXPECT_EQ(p({-8, 0}, {3, 0}).re, -512.0);
    EXPECT_EQ(p({-8, 0}, {3, 0}).im, 0.0);
    Complex cube = p({-8, 0}, {1.0 / 3, 0});
    EXPECT_NEAR(cube.re, 1.0, 1e-12);
    EXPECT_NEAR(cube.im, std::sqrt(3.0), 1e-12);
    // A negated literal carries -0 as its imaginary part; the principal
    // argument of a negative real is still +pi.
    Complex negated = p(k_neg(1, {8, 0}), {1.0 / 3, 0});
    EXPECT_NEAR(negated.im, std::sqrt(3.0), 1e-12);
    EXPECT_GT(clog({-1, -0.0}).im, 3.14);
    Complex sq = p({0, 2}, {2, 0});
    EXPECT_NEAR(sq.re, -4.0, 1e-12);
    EXPECT_NEAR(sq.im, 0.0, 1e-12);
    Complex one = p({0, 2}, {1, 0});
    EXPECT_NEAR(one.re, 0.0, 1e-12);
    EXPECT_NEAR(one.im, 2.0, 1e-12);
    EXPECT_TRUE(std::isinf(p({0, 0}, {-1, 0}).re));
}

TEST(Operators, StringJoinAndMixedKinds) {
    EXPECT_EQ(asString(addValues(1, makeString("ab"), makeString("cd")))->text, "abcd");
    EXPECT_EQ(errorOf([] { addValues(6, makeString("ab"), makeNum(1)); }), "error [6]: Bad type operation in op2");
    EXPECT_EQ(reals(addValues(1, makeNum(1), makeNum(2))), V{3});
}

TEST(Operators, ElementWiseSelect) {
    // c ? x : y built from the truth, not and select kernels.
    NRefPtr c = realMatrix({{1, 0}});
    NRefPtr t = op1(1, c, k_truth);
    NRefPtr n = op1(1, t, k_not);
    NRefPtr e = op2(1, n, makeNum(7), k_select);
    NRefPtr h = op2(1, t, makeNum(5), k_select);
    EXPECT_EQ(reals(op2(1, h, e, k_add)), (V{5, 7}));
}

TEST(Operators, AllAnyAndConditions) {
    NRefPtr withNaN = realMatrix({{1, NAN, 2}});
    EXPECT_EQ(reals(allOf(1, withNaN)), V{0});
    EXPECT_EQ(reals(anyOf(1, withNaN)), V{1});
    EXPECT_EQ(reals(anyOf(1, realMatrix({{0, NAN}}))), V{0});
    EXPECT_EQ(reals(allOf(1, realMatrix({{1, -1}}))), V{1});
    NRefPtr empty(new NNum(0, 0));
    EXPECT_EQ(reals(allOf(1, empty)), V{1});
    EXPECT_EQ(reals(anyOf(1, empty)), V{0});
    EXPECT_EQ(errorOf([] { allOf(2, makeString("a")); }), "error [2]: Bad type operation in operator all");
    EXPECT_EQ(errorOf([] { anyOf(2, makeString("a")); }), "error [2]: Bad type operation in operator any");

    EXPECT_TRUE(conditionTest(1, makeNum(0, 1)));
    EXPECT_FALSE(conditionTest(1, makeNum(0)));
    EXPECT_FALSE(conditionTest(1, makeNum(NAN)));
    EXPECT_TRUE(conditionTest(1, makeString("x")));
    EXPECT_FALSE(conditionTest(1, makeString("")));
    const char* scalar = "error [3]: Conditional context must be scalar";
    EXPECT_EQ(errorOf([] { conditionTest(3, realMatrix({{1, 1}, {1, 1}})); }), scalar);
    EXPECT_EQ(errorOf([] { conditionTest(3, NRefPtr(new NNum(0, 0))); }), scalar);
    EXPECT_EQ(errorOf([] { conditionTest(3, NRefPtr(new NFileID(1))); }), scalar);
    EXPECT_EQ(errorOf([] { conditionTest(3, NRefPtr()); }), scalar);
}

TEST(Operators, LogicalKernels) {
    EXPECT_EQ(reals(op2(1, makeNum(2), makeNum(3), k_and)), V{1});
    EXPECT_EQ(reals(op2(1, makeNum(0), makeNum(3), k_and)), V{0});
    EXPECT_EQ(reals(op2(1, makeNum(0), makeNum(NAN), k_or)), V{0});
    EXPECT_EQ(reals(op2(1, makeNum(0), makeNum(0, 1), k_or)), V{1});
    EXPECT_EQ(reals(op1(1, realMatrix({{0, 5, NAN}}), k_not)), (V{1, 0, 1}));
}

}  // namespace
