#include <cmath>
#include <numeric>
#include <random>

#include "builtins/math.h"
#include "math_call.h"

using namespace mathtest;

TEST(MathInteger, FactorialPermutationsCombinations) {
    for (int n : {0, 1, -5}) EXPECT_EQ(real1(call(bi_fact, {num(n)})), 1.0) << n;
    EXPECT_EQ(real1(call(bi_fact, {num(10)})), 3628800.0);
    EXPECT_TRUE(std::isinf(real1(call(bi_fact, {num(2147483647.0)}))));
    EXPECT_EQ(real1(call(bi_perm, {num(5), num(2)})), 20.0);
    EXPECT_EQ(real1(call(bi_perm, {num(5), num(0)})), 1.0);
    EXPECT_EQ(real1(call(bi_perm, {num(3), num(5)})), 0.0);
    EXPECT_EQ(real1(call(bi_perm, {num(-3), num(1)})), 0.0);
    EXPECT_EQ(real1(call(bi_comb, {num(5), num(2)})), 10.0);
    EXPECT_EQ(real1(call(bi_comb, {num(52), num(5)})), 2598960.0);
    EXPECT_EQ(real1(call(bi_comb, {num(5), num(-1)})), 0.0);
    EXPECT_EQ(real1(call(bi_comb, {num(4), num(7)})), 0.0);
    // Past the overflow of the falling factorial the binomial is still finite:
    // compare with exp(lgamma) sums.
    double want = std::exp(std::lgamma(401.0) - 2 * std::lgamma(201.0));
    EXPECT_NEAR(real1(call(bi_comb, {num(400), num(200)})) / want, 1.0, 1e-9);
    EXPECT_EQ(errorOf(bi_fact, {num(2.5)}), err("Cannot convert arg to integer"));
    EXPECT_EQ(errorOf(bi_comb, {num(5), cnum(2, 1)}), err("Cannot convert arg to integer"));
}

TEST(MathInteger, GcdAndLcm) {
    EXPECT_EQ(real1(call(bi_gcd, {num(12), num(18)})), 6.0);
    EXPECT_EQ(real1(call(bi_gcd, {num(7), num(0)})), 7.0);
    EXPECT_EQ(real1(call(bi_lcm, {num(4), num(6)})), 12.0);
    EXPECT_EQ(real1(call(bi_lcm, {num(0), num(0)})), 0.0);
    EXPECT_EQ(real1(call(bi_gcd, {mat(1, 3, {12, 18, 27})})), 3.0);
    EXPECT_EQ(real1(call(bi_lcm, {num(4), num(6), num(10)})), 60.0);
    // 64-bit products: 2147483647 * 2147483646 does not fit 32 bits.
    EXPECT_EQ(real1(call(bi_lcm, {num(2147483647.0), num(2147483646.0)})), 2147483647.0 * 2147483646.0);
    // Against std::gcd on a spread of values.
    std::mt19937 gen(11);
    for (int i = 0; i < 200; ++i) {
        int a = static_cast<int>(gen() % 100000) + 1, b = static_cast<int>(gen() % 100000) + 1;
        EXPECT_EQ(real1(call(bi_gcd, {num(a), num(b)})), std::gcd(a, b));
        EXPECT_EQ(real1(call(bi_lcm, {num(a), num(b)})), static_cast<double>(std::lcm<long long>(a, b)));
    }
    for (BuiltinEntry e : {bi_gcd, bi_lcm}) {
        const char* msg = e == bi_gcd ? "Too few arguments in gcd()" : "Too few arguments in lcm()";
        EXPECT_EQ(errorOf(e, {}), err(msg));
        EXPECT_EQ(errorOf(e, {mat(2, 2, {1, 2, 3, 4})}), err(msg));
        EXPECT_EQ(errorOf(e, {makeString("12")}), err(msg));
    }
}

TEST(MathReduce, MaxMinFoldAndTies) {
    EXPECT_EQ(real1(call(bi_max, {mat(1, 3, {1, 5, 2})})), 5.0);
    EXPECT_EQ(real1(call(bi_min, {mat(3, 1, {4, -1, 2})})), -1.0);
    EXPECT_EQ(real1(call(bi_max, {num(1), num(9), num(3), num(4)})), 9.0);
    // Ties give the second operand: visible through the sign of zero.
    EXPECT_TRUE(std::signbit(real1(call(bi_max, {num(0.0), num(-0.0)}))));
    EXPECT_FALSE(std::signbit(real1(call(bi_max, {num(-0.0), num(0.0)}))));
    EXPECT_TRUE(std::signbit(real1(call(bi_min, {num(0.0), num(-0.0)}))));
    // Broadcasting pairs a row with a scalar.
    NRefPtr mValue = call(bi_max, {mat(1, 3, {1, 5, 2}), num(3)});
    const NNum& m = asMatrix(mValue);
    ASSERT_EQ(m.cols, 3);
    EXPECT_EQ(m.data[0].re, 3.0);
    EXPECT_EQ(m.data[1].re, 5.0);
    // A single 1x1 argument comes back as it is, even when complex.
    NRefPtr z = cnum(1, 2);
    EXPECT_EQ(call(bi_max, {z}).get(), z.get());
    EXPECT_EQ(errorOf(bi_max, {}), err("Bad argument in max()"));
    EXPECT_EQ(errorOf(bi_min, {mat(2, 2, {1, 2, 3, 4})}), err("Bad argument in min()"));
    EXPECT_EQ(errorOf(bi_max, {num(1), cnum(2, 1)}), err("Cannot convert arg to real number"));
    EXPECT_EQ(errorOf(bi_max, {num(1), makeString("a")}), err("Bad type operation in op2"));
}

TEST(MathLegendre, RecurrenceAgainstClosedForms) {
    EXPECT_DOUBLE_EQ(real1(call(bi_legendre, {num(0.5), num(2)})), -0.125);
    EXPECT_TRUE(std::isnan(real1(call(bi_legendre, {num(2), num(1)}))));
    EXPECT_TRUE(std::isnan(real1(call(bi_legendre, {num(0.5), num(1), num(2)}))));
    EXPECT_TRUE(std::isnan(real1(call(bi_legendre, {num(0.5), num(2), num(-1)}))));
    // Degrees that would take the recurrence seconds per element are refused.
    EXPECT_EQ(errorOf(bi_legendre, {num(0.5), num(1e12)}), err("Bad argument in legendre()"));
    EXPECT_TRUE(std::isnan(real1(call(bi_legendre, {num(0.5), num(1e12), num(-1)}))));
    EXPECT_TRUE(std::isnan(real1(call(bi_legendre, {num(0.5), num(std::nan(""))}))));
    for (double x : {-0.9, -0.3, 0.0, 0.4, 1.0}) {
        double s = std::sqrt(1 - x * x);
        EXPECT_NEAR(real1(call(bi_legendre, {num(x), num(1), num(1)})), -s, 1e-14);
        EXPECT_NEAR(real1(call(bi_legendre, {num(x), num(3), num(2)})), 15 * x * (1 - x * x), 1e-13);
        EXPECT_NEAR(real1(call(bi_legendre, {num(x), num(4.9)})), (35 * x * x * x * x - 30 * x * x + 3) / 8, 1e-14);
        EXPECT_NEAR(real1(call(bi_legendre, {num(x), num(10)})), std::legendre(10, x), 1e-12);
    }
    EXPECT_EQ(errorOf(bi_legendre, {cnum(0.5, 1), num(2)}), err("Cannot convert arg to real number"));
    NRefPtr rowValue = call(bi_legendre, {mat(1, 3, {-1, 0, 1}), num(2)});
    const NNum& row = asMatrix(rowValue);
    ASSERT_EQ(row.count(), 3u);
    EXPECT_DOUBLE_EQ(row.data[1].re, -0.5);
}

TEST(MathRandom, MatchesTheStandardMersenneTwister) {
    call(bi_srand, {num(12345)});
    std::mt19937 reference(12345);
    // More than 624 draws, so the twist runs more than once.
    NRefPtr mValue = call(bi_random, {num(40), num(30)});
    const NNum& m = asMatrix(mValue);
    ASSERT_EQ(m.rows, 40);
    ASSERT_EQ(m.cols, 30);
    for (std::size_t i = 0; i < m.count(); ++i) {
        ASSERT_EQ(m.data[i].re, reference() / 4294967296.0) << i;
        ASSERT_EQ(m.data[i].im, 0.0);
    }
    call(bi_srand, {num(-1)});  // the 32-bit pattern of -1
    std::mt19937 all_ones(0xffffffffu);
    EXPECT_EQ(real1(call(bi_random, {})), all_ones() / 4294967296.0);
    call(bi_srand, {num(5489)});
    std::mt19937 standard;
    EXPECT_EQ(real1(call(bi_random, {})), standard() / 4294967296.0);
    NRefPtr sqValue = call(bi_random, {num(3)});
    const NNum& sq = asMatrix(sqValue);
    EXPECT_EQ(sq.rows, 3);
    EXPECT_EQ(sq.cols, 3);
    EXPECT_EQ(sq.data[0].re, standard() / 4294967296.0);
    EXPECT_EQ(real1(call(bi_srand, {num(1)})), 0.0);
    EXPECT_EQ(errorOf(bi_random, {num(0)}), err("Bad argument in random()"));
    EXPECT_EQ(errorOf(bi_random, {num(2), num(-1)}), err("Bad argument in random()"));
    EXPECT_EQ(errorOf(bi_random, {num(1.5)}), err("Cannot convert arg to integer"));
    EXPECT_EQ(errorOf(bi_srand, {num(0.5)}), err("Cannot convert arg to integer"));
}
