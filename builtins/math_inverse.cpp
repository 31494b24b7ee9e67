// Inverse trigonometric and hyperbolic functions on complex elements. Real
// arguments inside the real domain take the real library function, so results
// stay exactly real.
//
// Elsewhere each function has a closed form through the principal logarithm
// and square root, kept wherever it is accurate. Measured against a
// high-precision reference, the closed forms fail in a few regions only, and
// there the C library's complex functions compute the same value stably
// (rescaling, reflection identities, series):
//  - near 0 the logarithm of a number close to 1 keeps only its absolute
//    error, so the relative error of the small part grows as 1/|z|;
//  - in the half-plane where z and the square root added to it point opposite
//    ways (upper for asin and acos, left for asinh) the sum cancels, and the
//    error grows as |z|^2;
//  - far from 0 the quotient in atan and atanh nears -1, its logarithm keeps
//    only the absolute error of the small part, and past 2^53 the 1 in 1 + iz
//    or 1 + z is lost and the result takes the wrong sign;
//  - for huge |z|, z * z overflows (asin, acos, asinh, acosh);
//  - at the poles of atan and atanh the closed form gives NaN parts beside
//    the infinite one;
//  - acosh's form lands on the other branch (real part < 0) in the left
//    half-plane, and next to the segment (-1, 1), where the real part is
//    below the logarithm's rounding error, it may come out negative.
// The region is decided from the argument alone, so results outside these
// regions keep the closed form's bits. On a branch cut the library is handed
// the side of the cut (the sign of a zero part) that the closed form takes,
// so every cut keeps its branch: asin(2) has a negative imaginary part.
#include <cmath>

#include "builtins/math.h"
#include "builtins/math_complex.h"
#include "value/ops.h"
#include "value/raise.h"

namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kLn2 = 0.6931471805599453;
// Past this magnitude x * x overflows in the real inverse hyperbolic
// formulas; there sqrt(x * x + 1) equals |x| to double precision, so the
// logarithm of 2|x| is the same value without the overflow. The complex
// forms square z as well and overflow at the same place.
constexpr double kHugeArgument = 1e150;
// Inside this radius the closed forms lose more than ten ulps to the
// logarithm of a number near 1.
constexpr double kNearZero = 0.125;
// Beyond this radius the closed forms of asin, acos and asinh in their
// cancelling half-plane, and those of atan and atanh everywhere, lose more
// than ten ulps, and more the larger |z|.
constexpr double kFar = 4.0;
// Next to the segment (-1, 1) the real part of acosh is about |y|; below this
// it can drown in the logarithm's rounding error (a few 1e-16).
constexpr double kSegmentBand = 1e-12;
// At the poles of atan and atanh, and so close beside them that the quotient
// of the closed form overflows, the limits are known.
constexpr double kBesidePole = 1e-300;

double squaredModulus(Complex a) { return a.re * a.re + a.im * a.im; }
bool nearZero(Complex a) { return squaredModulus(a) < kNearZero * kNearZero; }
bool beyond(Complex a, double radius) { return squaredModulus(a) > radius * radius; }
bool partBeyond(Complex a, double limit) { return std::fabs(a.re) > limit || std::fabs(a.im) > limit; }

StdComplex complexAsin(StdComplex z) { return -kI * plog(kI * z + psqrt(1.0 - z * z)); }

// asin and acos: the upper half-plane cancels, and so does the cut below -1,
// which the closed form takes from above.
bool asinCancels(Complex a) { return (a.im > 0.0 || (a.im == 0.0 && a.re < 0.0)) && beyond(a, kFar); }
// Where asin and acos go to the library rather than the closed form.
bool asinByLibrary(Complex a) { return nearZero(a) || asinCancels(a) || partBeyond(a, kHugeArgument); }
// The closed form takes the cut beyond 1 from below and the cut below -1
// from above.
StdComplex asinCutSide(Complex a) { return {a.re, a.im == 0.0 ? (a.re > 0.0 ? -0.0 : 0.0) : a.im}; }

Complex k_asin(int, Complex a) {
    if (a.im == 0.0 && a.re >= -1.0 && a.re <= 1.0) return realResult(std::asin(a.re));
    if (asinByLibrary(a)) return fromStd(std::asin(asinCutSide(a)));
    return fromStd(complexAsin(toStd(a)));
}
Complex k_acos(int, Complex a) {
    if (a.im == 0.0 && a.re >= -1.0 && a.re <= 1.0) return realResult(std::acos(a.re));
    if (asinByLibrary(a)) return fromStd(std::acos(asinCutSide(a)));
    StdComplex s = complexAsin(toStd(a));
    return {kHalfPi - s.real(), -s.imag()};
}
Complex k_atan(int, Complex a) {
    if (a.im == 0.0) return realResult(std::atan(a.re));
    bool pole = std::fabs(a.im) == 1.0 && std::fabs(a.re) < kBesidePole;
    if (nearZero(a) || beyond(a, kFar) || pole) {
        // The closed form gives +pi/2 on both cuts of the imaginary axis.
        return fromStd(std::atan(StdComplex(a.re == 0.0 ? 0.0 : a.re, a.im)));
    }
    StdComplex z = toStd(a);
    return fromStd(StdComplex(0.0, -0.5) * plog((1.0 + kI * z) / (1.0 - kI * z)));
}
Complex k_atan2(int line, Complex a, Complex b) {
    if (a.im != 0.0 || b.im != 0.0) raiseError(line, "Argument for axis must be real number in atan()");
    return realResult(std::atan2(a.re, b.re));
}

Complex k_asinh(int, Complex a) {
    if (a.im == 0.0) {
        double x = a.re;
        if (std::fabs(x) > kHugeArgument) return realResult(std::copysign(std::log(std::fabs(x)) + kLn2, x));
        if (x > 0.001) return realResult(std::log(std::sqrt(x * x + 1.0) + x));
        if (x < -0.001) return realResult(-std::log(std::sqrt(x * x + 1.0) - x));
        // Near 0 the logarithm loses digits; the series does not.
        return realResult((1.0 - x * x / 6.0) * x);
    }
    // The left half-plane cancels, and so does the cut below -i, which the
    // closed form takes from the left; the cut above i it takes from the right.
    bool cancels = (a.re < 0.0 || (a.re == 0.0 && a.im < 0.0)) && beyond(a, kFar);
    if (nearZero(a) || cancels || partBeyond(a, kHugeArgument))
        return fromStd(std::asinh(StdComplex(a.re == 0.0 ? std::copysign(0.0, a.im) : a.re, a.im)));
    StdComplex z = toStd(a);
    return fromStd(plog(z + psqrt(z * z + 1.0)));
}
Complex k_acosh(int, Complex a) {
    if (a.im == 0.0 && a.re >= 1.0) {
        if (a.re > kHugeArgument) return realResult(std::log(a.re) + kLn2);
        return realResult(std::log(a.re + std::sqrt(a.re * a.re - 1.0)));
    }
    bool otherBranch = a.re < 0.0 || (a.re == 0.0 && a.im < 0.0);
    bool besideSegment = a.re < 1.0 && std::fabs(a.im) < kSegmentBand;
    // Every cut of acosh lies on the real axis and is taken from above.
    if (nearZero(a) || otherBranch || besideSegment || partBeyond(a, kHugeArgument))
        return fromStd(std::acosh(toStd(a)));
    StdComplex z = toStd(a);
    return fromStd(plog(z + psqrt(z * z - 1.0)));
}
Complex k_atanh(int, Complex a) {
    if (a.im == 0.0 && a.re > -1.0 && a.re < 1.0) {
        double x = a.re;
        if (std::fabs(x) > 0.001) return realResult(0.5 * std::log((1.0 + x) / (1.0 - x)));
        return realResult((x * x / 3.0 + 1.0) * x);
    }
    bool pole = std::fabs(a.re) == 1.0 && std::fabs(a.im) < kBesidePole;
    // Every cut of atanh lies on the real axis and is taken from above.
    if (nearZero(a) || beyond(a, kFar) || pole) return fromStd(std::atanh(toStd(a)));
    StdComplex z = toStd(a);
    StdComplex l = plog((1.0 + z) / (1.0 - z));
    return {0.5 * l.real(), 0.5 * l.imag()};
}

}  // namespace

QUARN_BUILTIN(bi_asin) { result = op1(line, args[0], k_asin); }
QUARN_BUILTIN(bi_acos) { result = op1(line, args[0], k_acos); }
QUARN_BUILTIN(bi_atan) {
    if (args.size() >= 2)
        result = op2(line, args[0], args[1], k_atan2);
    else
        result = op1(line, args[0], k_atan);
}
QUARN_BUILTIN(bi_asinh) { result = op1(line, args[0], k_asinh); }
QUARN_BUILTIN(bi_acosh) { result = op1(line, args[0], k_acosh); }
QUARN_BUILTIN(bi_atanh) { result = op1(line, args[0], k_atanh); }
