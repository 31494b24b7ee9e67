// Tolerance equality, truth, comparison kernels, string comparison and the
// division kernels.
#include <gtest/gtest.h>

#include <cmath>

#include "value/ops.h"
#include "value/settings.h"
#include "value_helpers.h"

namespace {

using V = std::vector<double>;

class CompareTest : public ::testing::Test {
protected:
    void TearDown() override { setCompareTolerance(0.0); }
    static double eq(double x, double y) { return k_eq(1, {x, 0}, {y, 0}).re; }
};

TEST_F(CompareTest, ExactByDefaultScaledUnderTolerance) {
    EXPECT_EQ(eq(0.1 + 0.2, 0.3), 0.0);
    setCompareTolerance(1e-12);
    EXPECT_EQ(eq(0.1 + 0.2, 0.3), 1.0);
    EXPECT_EQ(eq(1e-13, 0), 1.0);
    EXPECT_EQ(eq(2e-12, 0), 0.0);
    EXPECT_EQ(eq(1e6, 1e6 + 1e-7), 1.0);
    EXPECT_EQ(eq(1e6, 1e6 + 1e-5), 0.0);
}

TEST_F(CompareTest, InfinitiesAndNaN) {
    EXPECT_EQ(eq(INFINITY, INFINITY), 1.0);
    EXPECT_EQ(eq(INFINITY, -INFINITY), 0.0);
    EXPECT_EQ(eq(INFINITY, 1e308), 0.0);
    // An infinity is never within any tolerance of a finite number.
    setCompareTolerance(1e-12);
    EXPECT_EQ(eq(INFINITY, 5), 0.0);
    EXPECT_EQ(eq(-INFINITY, -INFINITY), 1.0);
    setCompareTolerance(0);
    EXPECT_EQ(eq(NAN, NAN), 0.0);
    EXPECT_EQ(k_ne(1, {NAN, 0}, {NAN, 0}).re, 1.0);
    EXPECT_EQ(k_gt(1, {NAN, 0}, {1, 0}).re, 0.0);
    EXPECT_EQ(k_lt(1, {NAN, 0}, {1, 0}).re, 0.0);
    EXPECT_EQ(k_ge(1, {NAN, 0}, {NAN, 0}).re, 0.0);
    EXPECT_FALSE(truthValue({NAN, 0}));
    EXPECT_FALSE(truthValue({0, NAN}));
    EXPECT_TRUE(truthValue({0, -1}));
    EXPECT_FALSE(truthValue({-0.0, 0}));
}

TEST_F(CompareTest, OrderedComparisons) {
    EXPECT_EQ(k_gt(1, {2, 0}, {1, 0}).re, 1.0);
    EXPECT_EQ(k_gt(1, {1, 0}, {1, 0}).re, 0.0);
    EXPECT_EQ(k_ge(1, {1, 0}, {1, 0}).re, 1.0);
    EXPECT_EQ(k_le(1, {0, 0}, {1, 0}).re, 1.0);
    EXPECT_EQ(k_lt(1, {1, 0}, {0, 0}).re, 0.0);
    setCompareTolerance(1e-9);
    // Within the tolerance: equal, so neither greater nor less.
    EXPECT_EQ(k_gt(1, {1 + 1e-12, 0}, {1, 0}).re, 0.0);
    EXPECT_EQ(k_le(1, {1 + 1e-12, 0}, {1, 0}).re, 1.0);
    // A tiny imaginary part within the tolerance compares as real.
    EXPECT_EQ(k_lt(1, {0, 1e-12}, {1, 0}).re, 1.0);
}

TEST_F(CompareTest, ComplexOrderingIsAnError) {
    EXPECT_EQ(k_eq(1, {1, 2}, {1, 2}).re, 1.0);
    EXPECT_EQ(errorOf([] { k_gt(7, {1, 2}, {1, 0}); }), "error [7]: Complex cannot compare in operator >");
    EXPECT_EQ(errorOf([] { k_lt(7, {1, 0}, {1, 2}); }), "error [7]: Complex cannot compare in operator <");
    EXPECT_EQ(errorOf([] { k_ge(7, {1, 2}, {1, 0}); }), "error [7]: Complex cannot compare in operator >=");
    EXPECT_EQ(errorOf([] { k_le(7, {1, 2}, {1, 0}); }), "error [7]: Complex cannot compare in operator <=");
    NNum* m = new NNum(3, 1);
    m->data[1] = {0, 1};
    EXPECT_EQ(errorOf([&] { compareGT(2, NRefPtr(m), makeNum(0)); }),
              "error [2]: Complex cannot compare in operator >");
}

TEST_F(CompareTest, MatrixAgainstScalar) {
    NRefPtr r = compareGE(1, realMatrix({{1, 2}, {3, 4}}), makeNum(3));
    EXPECT_SHAPE(r, 2, 2);
    EXPECT_EQ(reals(r), (V{0, 0, 1, 1}));
    EXPECT_EQ(reals(compareNE(1, realMatrix({{1, 2}}), realMatrix({{1, 3}}))), (V{0, 1}));
}

TEST_F(CompareTest, StringsCompareAsUnsignedBytes) {
    auto s = [](const char* t) { return makeString(t); };
    EXPECT_EQ(reals(compareLT(1, s("abc"), s("abd"))), V{1});
    EXPECT_EQ(reals(compareLT(1, s("ab"), s("abc"))), V{1});
    EXPECT_EQ(reals(compareGT(1, s("ab"), s("abc"))), V{0});
    EXPECT_EQ(reals(compareGT(1, s("\xc8"), s("\x64"))), V{1});
    EXPECT_EQ(reals(compareEQ(1, s("ab"), s("ab"))), V{1});
    EXPECT_EQ(reals(compareNE(1, s("ab"), s("ab"))), V{0});
    EXPECT_EQ(reals(compareLE(1, s(""), s(""))), V{1});
    EXPECT_EQ(reals(compareGE(1, s("b"), s("abc"))), V{1});
    // Embedded NUL bytes take part.
    EXPECT_EQ(reals(compareLT(1, makeString(std::string("a\0a", 3)), makeString(std::string("a\0b", 3)))), V{1});
    EXPECT_EQ(errorOf([&] { compareEQ(4, s("a"), makeNum(1)); }), "error [4]: Bad type operation in op2");
}

TEST_F(CompareTest, RealDivisionFollowsIEEE) {
    EXPECT_TRUE(std::isinf(k_div(1, {5, 0}, {0, 0}).re));
    EXPECT_LT(k_div(1, {-5, 0}, {0, 0}).re, 0);
    EXPECT_TRUE(std::isnan(k_div(1, {0, 0}, {0, 0}).re));
    EXPECT_EQ(k_div(1, {1, 0}, {4, 0}).re, 0.25);
}

TEST_F(CompareTest, ComplexDivision) {
    Complex q = k_div(1, {1, 2}, {3, 4});  // (1+2i)/(3+4i) = 0.44 + 0.08i
    EXPECT_NEAR(q.re, 0.44, 1e-15);
    EXPECT_NEAR(q.im, 0.08, 1e-15);
    q = k_div(1, {1, 2}, {0, 2});  // |im| >= |re| branch: 1 - 0.5i
    EXPECT_NEAR(q.re, 1.0, 1e-15);
    EXPECT_NEAR(q.im, -0.5, 1e-15);
    q = k_div(1, {1, 1}, {0, 0});
    EXPECT_TRUE(std::isnan(q.re) && std::isnan(q.im));
    q = k_div(1, {1, 1}, {NAN, 1});
    EXPECT_TRUE(std::isnan(q.re) && std::isnan(q.im));
}

TEST_F(CompareTest, TruncatedQuotientAndRemainder) {
    auto ldiv = [](double a, double b) { return k_ldiv(1, {a, 0}, {b, 0}).re; };
    auto mod = [](double a, double b) { return k_mod(1, {a, 0}, {b, 0}).re; };
    EXPECT_EQ(ldiv(7, 2), 3);
    EXPECT_EQ(ldiv(-7, 2), -3);
    EXPECT_EQ(mod(7, 3), 1);
    EXPECT_EQ(mod(-7, 3), -1);
    EXPECT_EQ(mod(7.5, 2), 1.5);
    Complex q = k_ldiv(1, {7, 7}, {2, 0});
    EXPECT_EQ(q.re, 3);
    EXPECT_EQ(q.im, 3);
    // Quotients beyond 64 bits, and NaN, become -2^63.
    EXPECT_EQ(ldiv(1e300, 1), -9223372036854775808.0);
    EXPECT_EQ(ldiv(NAN, 1), -9223372036854775808.0);
    EXPECT_EQ(ldiv(-9223372036854775808.0, 1), -9223372036854775808.0);
    EXPECT_EQ(errorOf([] { k_ldiv(8, {5, 0}, {0, 0}); }), "error [8]: Division by 0");
    EXPECT_EQ(errorOf([] { k_mod(8, {5, 0}, {-0.0, 0}); }), "error [8]: Division by 0");
    // The tolerance plays no part: a tiny divisor is not 0.
    setCompareTolerance(1e-3);
    EXPECT_EQ(ldiv(1, 1e-6), 1e6);
    // A raising kernel ends the whole operation.
    EXPECT_EQ(errorOf([] { op2(3, realMatrix({{1, 2}}), realMatrix({{1, 0}}), k_mod); }),
              "error [3]: Division by 0");
}

}  // namespace
