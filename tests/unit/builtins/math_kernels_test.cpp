// Kernels whose results the talk-mode tests cannot see well: overflow paths,
// tie rules, tolerance, generator agreement and closed forms.
#include <cmath>
#include <numeric>
#include <random>

#include "builtins/math.h"
#include "builtins/matrix.h"
#include "math_call.h"

using namespace mathtest;

TEST(MathInteger, OverflowPathsStayExactOrFinite) {
    EXPECT_TRUE(std::isinf(real1(call(bi_fact, {num(2147483647.0)}))));
    // The falling factorial overflows but the binomial does not.
    double want = std::exp(std::lgamma(401.0) - 2 * std::lgamma(201.0));
    EXPECT_NEAR(real1(call(bi_comb, {num(400), num(200)})) / want, 1.0, 1e-9);
    EXPECT_NEAR(real1(call(bi_comb, {num(60), num(30)})) / 118264581564861424.0, 1.0, 1e-14);
    // 64-bit products: 2147483647 * 2147483646 does not fit 32 bits.
    EXPECT_EQ(real1(call(bi_lcm, {num(2147483647.0), num(2147483646.0)})), 2147483647.0 * 2147483646.0);
    EXPECT_EQ(real1(call(bi_lcm, {num(0), num(0)})), 0.0);
    std::mt19937 gen(11);
    for (int i = 0; i < 200; ++i) {
        int a = static_cast<int>(gen() % 100000) + 1, b = static_cast<int>(gen() % 100000) + 1;
        EXPECT_EQ(real1(call(bi_gcd, {num(a), num(b)})), std::gcd(a, b));
        EXPECT_EQ(real1(call(bi_lcm, {num(a), num(b)})), static_cast<double>(std::lcm<long long>(a, b)));
    }
}

TEST(MathReduce, TiesReturnTheSecondOperand) {
    // Visible through the sign of zero.
    EXPECT_TRUE(std::signbit(real1(call(bi_max, {num(0.0), num(-0.0)}))));
    EXPECT_FALSE(std::signbit(real1(call(bi_max, {num(-0.0), num(0.0)}))));
    EXPECT_TRUE(std::signbit(real1(call(bi_min, {num(0.0), num(-0.0)}))));
}

TEST(MathParts, SignToleranceAndModulusRange) {
    NRefPtr before = call(bi_eps, {num(0.01)});
    EXPECT_EQ(real1(call(bi_sign, {num(-0.001)})), 0.0);
    call(bi_eps, {before});
    EXPECT_EQ(real1(call(bi_sign, {num(-0.001)})), -1.0);
    EXPECT_TRUE(std::isnan(real1(call(bi_sign, {num(std::nan(""))}))));
    // Squaring would overflow here.
    EXPECT_DOUBLE_EQ(real1(call(bi_abs, {cnum(3e200, 4e200)})), 5e200);
    EXPECT_DOUBLE_EQ(real1(call(bi_abs, {cnum(3e-200, -4e-200)})), 5e-200);
    EXPECT_TRUE(std::isinf(real1(call(bi_abs, {cnum(INFINITY, -INFINITY)}))));
    EXPECT_DOUBLE_EQ(real1(call(bi_arg, {cnum(-1, -0.0)})), 3.141592653589793);
}

TEST(MathLegendre, RecurrenceAgainstClosedForms) {
    for (double x : {-0.9, -0.3, 0.0, 0.4, 1.0}) {
        double s = std::sqrt(1 - x * x);
        EXPECT_NEAR(real1(call(bi_legendre, {num(x), num(1), num(1)})), -s, 1e-14);
        EXPECT_NEAR(real1(call(bi_legendre, {num(x), num(3), num(2)})), 15 * x * (1 - x * x), 1e-13);
        EXPECT_NEAR(real1(call(bi_legendre, {num(x), num(4.9)})), (35 * x * x * x * x - 30 * x * x + 3) / 8, 1e-14);
        EXPECT_NEAR(real1(call(bi_legendre, {num(x), num(10)})), std::legendre(10, x), 1e-12);
    }
    // Degrees that would take the recurrence seconds per element are refused.
    EXPECT_EQ(errorOf(bi_legendre, {num(0.5), num(1e12)}), err("Bad argument in legendre()"));
    EXPECT_TRUE(std::isnan(real1(call(bi_legendre, {num(0.5), num(1e12), num(-1)}))));
    EXPECT_TRUE(std::isnan(real1(call(bi_legendre, {num(0.5), num(std::nan(""))}))));
}

TEST(MathRandom, MatchesTheStandardMersenneTwister) {
    call(bi_srand, {num(12345)});
    std::mt19937 reference(12345);
    // More than 624 draws, so the twist runs more than once.
    NRefPtr mv = call(bi_random, {num(40), num(30)});
    const NNum& m = asMatrix(mv);
    ASSERT_EQ(m.rows, 40);
    ASSERT_EQ(m.cols, 30);
    for (std::size_t i = 0; i < m.count(); ++i) {
        ASSERT_EQ(m.data[i].re, reference() / 4294967296.0) << i;
        ASSERT_EQ(m.data[i].im, 0.0);
    }
    call(bi_srand, {num(-1)});  // the 32-bit pattern of -1
    std::mt19937 allOnes(0xffffffffu);
    EXPECT_EQ(real1(call(bi_random, {})), allOnes() / 4294967296.0);
}

TEST(MatrixSort, NaNKeysSortLastWithoutBreakingTheSort) {
    std::mt19937 gen(3);
    NNum* m = new NNum(1, 500);
    NRefPtr mv(m);
    for (int i = 0; i < 500; ++i) m->data[i] = {i % 3 == 0 ? NAN : static_cast<double>(gen() % 50), 0};
    NRefPtr sv = call(bi_sortv, {mv});
    const NNum& s = asMatrix(sv);
    for (int i = 1; i < 500 - 167; ++i) EXPECT_LE(s.data[i - 1].re, s.data[i].re) << i;
    for (int i = 500 - 167; i < 500; ++i) EXPECT_TRUE(std::isnan(s.data[i].re)) << i;
    NRefPtr byKey = call(bi_sortv, {mv, num(0)});
    EXPECT_TRUE(std::isnan(asMatrix(byKey).data[499].re));
    EXPECT_FALSE(std::isnan(asMatrix(byKey).data[0].re));
}

TEST(MathRounding, DigitsBeyondTheDoubleRange) {
    EXPECT_EQ(real1(call(bi_round, {num(1e10), num(300)})), 1e10);
    EXPECT_EQ(real1(call(bi_round, {num(1.5), num(400)})), 1.5);
    EXPECT_EQ(real1(call(bi_bround, {num(0), num(400)})), 0.0);
    EXPECT_EQ(real1(call(bi_round, {num(123), num(-400)})), 0.0);
    EXPECT_EQ(real1(call(bi_round, {num(6e299), num(-300)})), 1e300);
    EXPECT_TRUE(std::isinf(real1(call(bi_round, {num(INFINITY), num(-2)}))));
    EXPECT_DOUBLE_EQ(real1(call(bi_round, {num(-1234.5678), num(1)})), -1234.6);
}
