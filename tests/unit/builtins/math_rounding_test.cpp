#include <cmath>
#include <limits>

#include "builtins/math.h"
#include "builtins/matrix.h"
#include "math_call.h"

using namespace mathtest;

TEST(MathRounding, HalvesAwayFromZeroAndToEven) {
    struct Case {
        double v, away, even;
    };
    for (Case c : {Case{2.5, 3, 2}, Case{-2.5, -3, -2}, Case{3.5, 4, 4}, Case{-3.5, -4, -4}, Case{2.4999, 2, 2},
                   Case{2.6, 3, 3}, Case{0.5, 1, 0}, Case{-7, -7, -7}}) {
        EXPECT_EQ(real1(call(bi_round, {num(c.v)})), c.away) << c.v;
        EXPECT_EQ(real1(call(bi_bround, {num(c.v)})), c.even) << c.v;
    }
    // Both parts, separately.
    Complex z = only(call(bi_round, {cnum(1.5, -2.5)}));
    EXPECT_EQ(z.re, 2.0);
    EXPECT_EQ(z.im, -3.0);
    z = only(call(bi_bround, {cnum(1.5, -2.5)}));
    EXPECT_EQ(z.re, 2.0);
    EXPECT_EQ(z.im, -2.0);
}

TEST(MathRounding, DigitsArgument) {
    EXPECT_DOUBLE_EQ(real1(call(bi_round, {num(1234.5678), num(2)})), 1234.57);
    EXPECT_DOUBLE_EQ(real1(call(bi_round, {num(1234.5678), num(-2)})), 1200.0);
    EXPECT_DOUBLE_EQ(real1(call(bi_bround, {num(0.125), num(2)})), 0.12);
    EXPECT_DOUBLE_EQ(real1(call(bi_bround, {num(250), num(-2)})), 200.0);
    EXPECT_DOUBLE_EQ(real1(call(bi_round, {num(250), num(-2)})), 300.0);
    EXPECT_DOUBLE_EQ(real1(call(bi_round, {num(1.25), num(12)})), 1.25);
    for (NRefPtr bad : {num(2.5), cnum(2, 1), num(3e9)})
        EXPECT_EQ(errorOf(bi_round, {num(1), bad}), err("Cannot convert arg to integer"));
    NRefPtr r = call(bi_round, {mat(1, 2, {1.234, 5.678}), num(1)});
    EXPECT_DOUBLE_EQ(asMatrix(r).data[1].re, 5.7);
}

TEST(MathRounding, IntTruncatesWithinThirtyTwoBits) {
    EXPECT_EQ(real1(call(bi_int, {num(-3.7)})), -3.0);
    Complex z = only(call(bi_int, {cnum(3.9, 8)}));
    EXPECT_EQ(z.re, 3.0);
    EXPECT_EQ(z.im, 0.0);
    EXPECT_EQ(real1(call(bi_int, {num(-2147483648.0)})), -2147483648.0);
    EXPECT_EQ(real1(call(bi_int, {num(2147483647.0)})), 2147483647.0);
    for (double bad : {3e9, 2147483647.5, -2147483649.0, std::nan("")})
        EXPECT_EQ(errorOf(bi_int, {num(bad)}), err("value range error in int()")) << bad;
}

TEST(MathRounding, FloorCeilSignFinite) {
    Complex f = only(call(bi_floor, {cnum(-1.5, 2.5)}));
    EXPECT_EQ(f.re, -2.0);
    EXPECT_EQ(f.im, 2.0);
    Complex c = only(call(bi_ceil, {cnum(-1.5, 2.5)}));
    EXPECT_EQ(c.re, -1.0);
    EXPECT_EQ(c.im, 3.0);

    Complex s = only(call(bi_sign, {cnum(-0.001, 4)}));
    EXPECT_EQ(s.re, -1.0);
    EXPECT_EQ(s.im, 1.0);
    EXPECT_EQ(real1(call(bi_sign, {num(0)})), 0.0);
    // The comparison tolerance makes small parts count as zero.
    NRefPtr before = call(bi_eps, {num(0.01)});
    EXPECT_EQ(real1(call(bi_sign, {num(-0.001)})), 0.0);
    call(bi_eps, {before});
    EXPECT_EQ(real1(call(bi_sign, {num(-0.001)})), -1.0);

    double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(real1(call(bi_finite, {cnum(1, 2)})), 1.0);
    EXPECT_EQ(real1(call(bi_finite, {cnum(1, inf)})), 0.0);
    EXPECT_EQ(real1(call(bi_finite, {num(std::nan(""))})), 0.0);
    EXPECT_EQ(real1(call(bi_finite, {num(-inf)})), 0.0);
}

TEST(MathParts, ModulusArgumentAndParts) {
    EXPECT_EQ(real1(call(bi_abs, {cnum(3, -4)})), 5.0);
    EXPECT_EQ(real1(call(bi_abs, {num(-2)})), 2.0);
    EXPECT_EQ(real1(call(bi_abs, {cnum(0, -7)})), 7.0);
    // Squaring would overflow here.
    EXPECT_DOUBLE_EQ(real1(call(bi_abs, {cnum(3e200, 4e200)})), 5e200);
    Complex cj = only(call(bi_conj, {cnum(1, 2)}));
    EXPECT_EQ(cj.im, -2.0);
    EXPECT_DOUBLE_EQ(real1(call(bi_arg, {cnum(-1, -0.0)})), 3.141592653589793);
    EXPECT_DOUBLE_EQ(real1(call(bi_arg, {cnum(0, -1)})), -3.141592653589793 / 2);
    Complex re = only(call(bi_real, {cnum(1, 2)}));
    Complex im = only(call(bi_imag, {cnum(1, 2)}));
    EXPECT_EQ(re.re, 1.0);
    EXPECT_EQ(re.im, 0.0);
    EXPECT_EQ(im.re, 2.0);
    EXPECT_EQ(im.im, 0.0);
}
