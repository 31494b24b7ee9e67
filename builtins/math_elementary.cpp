// Elementary functions on complex elements: the trigonometric, hyperbolic and
// exponential functions, square root, logarithms and cube root (the inverse
// functions are in math_inverse.cpp). Real arguments take the real library
// function where the complex formula reduces to it, so results stay exactly
// real.
#include <cmath>

#include "builtins/math.h"
#include "builtins/math_complex.h"
#include "value/ops.h"

namespace {

constexpr double kLog10E = 0.4342944819032518;

Complex k_sin(int, Complex a) {
    if (a.im == 0.0) return realResult(std::sin(a.re));
    return fromStd(std::sin(toStd(a)));
}
Complex k_cos(int, Complex a) {
    if (a.im == 0.0) return realResult(std::cos(a.re));
    return fromStd(std::cos(toStd(a)));
}
Complex k_tan(int, Complex a) {
    if (a.im == 0.0) return realResult(std::tan(a.re));
    return fromStd(-kI * std::tanh(kI * toStd(a)));
}
Complex k_sinh(int, Complex a) {
    if (a.im == 0.0) return realResult(std::sinh(a.re));
    return fromStd(std::sinh(toStd(a)));
}
Complex k_cosh(int, Complex a) {
    if (a.im == 0.0) return realResult(std::cosh(a.re));
    return fromStd(std::cosh(toStd(a)));
}
Complex k_tanh(int, Complex a) {
    if (a.im == 0.0) return realResult(std::tanh(a.re));
    return fromStd(std::tanh(toStd(a)));
}
Complex k_exp(int, Complex a) {
    if (a.im == 0.0) return realResult(std::exp(a.re));
    return fromStd(std::exp(toStd(a)));
}
Complex k_sqrt(int, Complex a) { return fromStd(psqrt(toStd(a))); }
Complex k_log(int, Complex a) { return fromStd(plog(toStd(a))); }
Complex k_log10(int, Complex a) {
    StdComplex l = plog(toStd(a));
    return {l.real() * kLog10E, l.imag() * kLog10E};
}

Complex k_cbrt(int, Complex a) {
    if (a.im == 0.0) {
        double r = std::pow(std::fabs(a.re), 1.0 / 3.0);
        return realResult(a.re < 0.0 ? -r : r);
    }
    return fromStd(std::exp(plog(toStd(a)) / 3.0));
}

Complex k_logBase(int, Complex a, Complex b) {
    if (a.im == 0.0 && b.im == 0.0) return realResult(std::log(a.re) / std::log(b.re));
    StdComplex la = plog(toStd(a)), lb = plog(toStd(b));
    return fromStd(la / lb);
}

}  // namespace

QUARN_BUILTIN(bi_sin) { result = op1(line, args[0], k_sin); }
QUARN_BUILTIN(bi_cos) { result = op1(line, args[0], k_cos); }
QUARN_BUILTIN(bi_tan) { result = op1(line, args[0], k_tan); }
QUARN_BUILTIN(bi_sinh) { result = op1(line, args[0], k_sinh); }
QUARN_BUILTIN(bi_cosh) { result = op1(line, args[0], k_cosh); }
QUARN_BUILTIN(bi_tanh) { result = op1(line, args[0], k_tanh); }
QUARN_BUILTIN(bi_exp) { result = op1(line, args[0], k_exp); }
QUARN_BUILTIN(bi_sqrt) { result = op1(line, args[0], k_sqrt); }
QUARN_BUILTIN(bi_cbrt) { result = op1(line, args[0], k_cbrt); }
QUARN_BUILTIN(bi_log) {
    if (args.size() >= 2)
        result = op2(line, args[0], args[1], k_logBase);
    else
        result = op1(line, args[0], k_log);
}
QUARN_BUILTIN(bi_log10) { result = op1(line, args[0], k_log10); }
