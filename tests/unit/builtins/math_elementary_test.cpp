// The forward functions with formulas of their own on complex arguments, and
// the principal cube root;
// the inverse functions and the branch cuts are the script tests'
// (math/inverse.qn, value/arithmetic.qn).
#include <cmath>
#include <complex>

#include "builtins/math.h"
#include "math_call.h"

using namespace mathtest;
using C = std::complex<double>;

namespace {
void expectNear(C got, C want, double tol) {
    EXPECT_NEAR(got.real(), want.real(), tol) << got << " vs " << want;
    EXPECT_NEAR(got.imag(), want.imag(), tol) << got << " vs " << want;
}
}  // namespace

TEST(MathElementary, ForwardFunctionsOnComplexArguments) {
    for (C z : {C(0.5, -1.25), C(-2, 0.75)}) {
        Complex e{z.real(), z.imag()};
        // The others are the standard library's own functions.
        expectNear(complex1(call(bi_tan, {makeNum(e)})), std::tan(z), 1e-14);
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
