// Tolerance equality, truth, comparison kernels, string comparison and the
// division kernels.
#include <gtest/gtest.h>

#include <cmath>

#include "value/ops.h"
#include "value/settings.h"
#include "value_helpers.h"

namespace {

class CompareTest : public ::testing::Test {
protected:
    void TearDown() override { setCompareTolerance(0.0); }
    static double eq(double x, double y) { return k_eq(1, {x, 0}, {y, 0}).re; }
};

TEST_F(CompareTest, ToleranceEquality) {
    EXPECT_EQ(eq(0.1 + 0.2, 0.3), 0.0);
    EXPECT_EQ(eq(INFINITY, INFINITY) - eq(INFINITY, -INFINITY) - eq(INFINITY, 1e308), 1.0);
    setCompareTolerance(1e-12);
    EXPECT_EQ(eq(0.1 + 0.2, 0.3), 1.0);
    EXPECT_EQ(eq(1e-13, 0) - eq(2e-12, 0), 1.0);
    EXPECT_EQ(eq(1e6, 1e6 + 1e-7) - eq(1e6, 1e6 + 1e-5), 1.0);
    // An infinity is never within any tolerance of a finite number.
    EXPECT_EQ(eq(INFINITY, 5), 0.0);
    EXPECT_EQ(eq(-INFINITY, -INFINITY), 1.0);
}

TEST_F(CompareTest, NaNAndTruth) {
    EXPECT_EQ(eq(NAN, NAN), 0.0);
    EXPECT_EQ(k_ne(1, {NAN, 0}, {NAN, 0}).re, 1.0);
    for (Kernel2 ordered : {k_gt, k_lt, k_ge, k_le}) EXPECT_EQ(ordered(1, {NAN, 0}, {1, 0}).re, 0.0);
    EXPECT_EQ(k_ge(1, {NAN, 0}, {NAN, 0}).re, 0.0);
    EXPECT_FALSE(truthValue({NAN, 0}));
    EXPECT_FALSE(truthValue({0, NAN}));
    EXPECT_FALSE(truthValue({-0.0, 0}));
    EXPECT_TRUE(truthValue({0, -1}));
}

TEST_F(CompareTest, OrderedComparisons) {
    auto all = [](Complex a, Complex b) {
        return Reals{k_gt(1, a, b).re, k_ge(1, a, b).re, k_lt(1, a, b).re, k_le(1, a, b).re};
    };
    EXPECT_EQ(all({2, 0}, {1, 0}), (Reals{1, 1, 0, 0}));
    EXPECT_EQ(all({1, 0}, {1, 0}), (Reals{0, 1, 0, 1}));
    EXPECT_EQ(all({0, 0}, {1, 0}), (Reals{0, 0, 1, 1}));
    setCompareTolerance(1e-9);
    EXPECT_EQ(all({1 + 1e-12, 0}, {1, 0}), (Reals{0, 1, 0, 1}));
    EXPECT_EQ(all({0, 1e-12}, {1, 0}), (Reals{0, 0, 1, 1}));  // a tiny imaginary part counts as 0
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
    EXPECT_EQ(shaped(compareGE(1, realMatrix({{1, 2}, {3, 4}}), makeNum(3))), (Reals{2, 2, 0, 0, 1, 1}));
}

TEST_F(CompareTest, StringsCompareAsUnsignedBytes) {
    auto s = [](std::string t) { return makeString(std::move(t)); };
    auto truth = [](const NRefPtr& v) { return num(v).data[0].re; };
    EXPECT_EQ(truth(compareLT(1, s("abc"), s("abd"))), 1.0);
    EXPECT_EQ(truth(compareLT(1, s("ab"), s("abc"))), 1.0);
    EXPECT_EQ(truth(compareGT(1, s("ab"), s("abc"))), 0.0);
    EXPECT_EQ(truth(compareGT(1, s("\xc8"), s("\x64"))), 1.0);
    EXPECT_EQ(truth(compareEQ(1, s("ab"), s("ab"))) - truth(compareNE(1, s("ab"), s("ab"))), 1.0);
    EXPECT_EQ(truth(compareLE(1, s(""), s(""))) + truth(compareGE(1, s("b"), s("abc"))), 2.0);
    EXPECT_EQ(truth(compareLT(1, s(std::string("a\0a", 3)), s(std::string("a\0b", 3)))), 1.0);
    EXPECT_EQ(errorOf([&] { compareEQ(4, s("a"), makeNum(1)); }), "error [4]: Bad type operation in op2");
}

TEST_F(CompareTest, Division) {
    EXPECT_EQ(k_div(1, {5, 0}, {0, 0}).re, INFINITY);
    EXPECT_EQ(k_div(1, {-5, 0}, {0, 0}).re, -INFINITY);
    EXPECT_TRUE(std::isnan(k_div(1, {0, 0}, {0, 0}).re));
    Complex q = k_div(1, {1, 2}, {3, 4});  // 0.44 + 0.08i
    EXPECT_NEAR(q.re, 0.44, 1e-15);
    EXPECT_NEAR(q.im, 0.08, 1e-15);
    q = k_div(1, {1, 2}, {0, 2});  // the |im| >= |re| branch: 1 - 0.5i
    EXPECT_NEAR(q.re, 1.0, 1e-15);
    EXPECT_NEAR(q.im, -0.5, 1e-15);
    for (Complex divisor : {Complex{0, 0}, Complex{NAN, 1}}) {
        q = k_div(1, {1, 1}, divisor);
        EXPECT_TRUE(std::isnan(q.re) && std::isnan(q.im));
    }
}

TEST_F(CompareTest, TruncatedQuotientAndRemainder) {
    auto ldiv = [](double a, double b) { return k_ldiv(1, {a, 0}, {b, 0}).re; };
    auto mod = [](double a, double b) { return k_mod(1, {a, 0}, {b, 0}).re; };
    EXPECT_EQ((Reals{ldiv(7, 2), ldiv(-7, 2), mod(7, 3), mod(-7, 3), mod(7.5, 2)}), (Reals{3, -3, 1, -1, 1.5}));
    Complex q = k_ldiv(1, {7, 7}, {2, 0});
    EXPECT_EQ(q.re + q.im, 6.0);
    // Quotients beyond 64 bits stay exact; NaN and infinities pass through.
    EXPECT_EQ((Reals{ldiv(1e300, 1), ldiv(-1e20, 1), ldiv(9.2e18, 1), ldiv(INFINITY, 1)}),
              (Reals{1e300, -1e20, 9.2e18, INFINITY}));
    EXPECT_TRUE(std::isnan(ldiv(NAN, 1)));
    EXPECT_EQ(errorOf([] { k_ldiv(8, {5, 0}, {0, 0}); }), "error [8]: Division by 0");
    EXPECT_EQ(errorOf([] { k_mod(8, {5, 0}, {-0.0, 0}); }), "error [8]: Division by 0");
    setCompareTolerance(1e-3);
    EXPECT_EQ(ldiv(1, 1e-6), 1e6);  // the tolerance plays no part
    EXPECT_EQ(errorOf([] { op2(3, realMatrix({{1, 2}}), realMatrix({{1, 0}}), k_mod); }),
              "error [3]: Division by 0");
}

}  // namespace
