#include <cmath>
#include <complex>

#include "builtins/math.h"
#include "math_call.h"

using namespace mathtest;
using C = std::complex<double>;

namespace {
constexpr double kPi = 3.141592653589793;

void expectNear(C got, C want, double tol) {
    EXPECT_NEAR(got.real(), want.real(), tol) << got << " vs " << want;
    EXPECT_NEAR(got.imag(), want.imag(), tol) << got << " vs " << want;
}
}  // namespace

TEST(MathElementary, SquareRootAndLogOfNegativeRealsTakeThePositiveBranch) {
    // -4 with either sign of zero imaginary part (negation gives -0).
    for (double im : {0.0, -0.0}) {
        C s = complex1(call(bi_sqrt, {cnum(-4, im)}));
        EXPECT_EQ(s, C(0, 2));
        C l = complex1(call(bi_log, {cnum(-1, im)}));
        EXPECT_DOUBLE_EQ(l.real(), 0.0);
        EXPECT_DOUBLE_EQ(l.imag(), kPi);
    }
    expectNear(complex1(call(bi_sqrt, {cnum(3, 4)})), C(2, 1), 1e-15);
}

TEST(MathElementary, ElementWiseKeepsShape) {
    NRefPtr r = call(bi_sqrt, {mat(2, 3, {1, 4, 9, 16, 25, -36})});
    const NNum& m = asMatrix(r);
    ASSERT_EQ(m.rows, 2);
    ASSERT_EQ(m.cols, 3);
    EXPECT_EQ(m.at(1, 1).re, 5.0);
    EXPECT_EQ(m.at(1, 2).re, 0.0);
    EXPECT_EQ(m.at(1, 2).im, 6.0);
}

TEST(MathElementary, HyperbolicInversesNearZeroUseTheSeries) {
    for (double x : {1e-4, -5e-4, 1e-9, 0.0, 0.5, -2.0, 30.0}) {
        EXPECT_NEAR(real1(call(bi_asinh, {num(x)})), std::asinh(x), 1e-15 * (1 + std::fabs(x))) << x;
        EXPECT_EQ(only(call(bi_asinh, {num(x)})).im, 0.0);
    }
    for (double x : {1e-4, -5e-4, 1e-9, 0.5, -0.9}) {
        EXPECT_NEAR(real1(call(bi_atanh, {num(x)})), std::atanh(x), 1e-15) << x;
    }
    // The series, not the logarithm: for tiny x the result keeps every digit.
    EXPECT_EQ(real1(call(bi_asinh, {num(1e-9)})), 1e-9);
    EXPECT_EQ(real1(call(bi_acosh, {num(1)})), 0.0);
    // Beyond the range where x * x is finite.
    for (double x : {1e200, -3e300, 1.7e308}) EXPECT_DOUBLE_EQ(real1(call(bi_asinh, {num(x)})), std::asinh(x)) << x;
    EXPECT_DOUBLE_EQ(real1(call(bi_acosh, {num(1e300)})), std::acosh(1e300));
    EXPECT_NEAR(real1(call(bi_acosh, {num(10)})), std::acosh(10.0), 1e-14);
}

TEST(MathElementary, ForwardFunctionsOnComplexArguments) {
    for (C z : {C(0.5, -1.25), C(-2, 0.75)}) {
        Complex e{z.real(), z.imag()};
        expectNear(complex1(call(bi_sin, {makeNum(e)})), std::sin(z), 1e-14);
        expectNear(complex1(call(bi_cos, {makeNum(e)})), std::cos(z), 1e-14);
        expectNear(complex1(call(bi_tan, {makeNum(e)})), std::tan(z), 1e-14);
        expectNear(complex1(call(bi_sinh, {makeNum(e)})), std::sinh(z), 1e-14);
        expectNear(complex1(call(bi_cosh, {makeNum(e)})), std::cosh(z), 1e-14);
        expectNear(complex1(call(bi_tanh, {makeNum(e)})), std::tanh(z), 1e-14);
        expectNear(complex1(call(bi_exp, {makeNum(e)})), std::exp(z), 1e-14);
        expectNear(complex1(call(bi_log10, {makeNum(e)})), std::log10(z), 1e-14);
    }
    EXPECT_NEAR(real1(call(bi_log10, {num(1000)})), 3.0, 1e-15);
    EXPECT_EQ(only(call(bi_sin, {num(1)})).im, 0.0);
}

TEST(MathElementary, CubeRootOfComplexIsThePrincipalRoot) {
    C r = complex1(call(bi_cbrt, {cnum(-8, 1e-3)}));
    EXPECT_GT(r.real(), 0.0);  // not -2
    expectNear(r * r * r, C(-8, 1e-3), 1e-12);
}
