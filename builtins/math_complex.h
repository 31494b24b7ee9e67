// Bridges between the value element and std::complex for the math kernels,
// and the principal logarithm and square root that the elementary functions
// share.
#pragma once

#include <cmath>
#include <complex>

#include "value/value.h"

using StdComplex = std::complex<double>;

// A zero imaginary part is taken as +0 so that the branch cuts of sqrt, log
// and arg treat every real number alike: negation turns 0 into -0, and
// sqrt(-4) must still be +2i.
inline StdComplex toStd(Complex z) { return {z.re, z.im == 0.0 ? 0.0 : z.im}; }
inline Complex fromStd(StdComplex z) { return {z.real(), z.imag()}; }
inline Complex realResult(double x) { return {x, 0.0}; }

const StdComplex kI{0.0, 1.0};  // the imaginary unit

// Principal logarithm; log 0 is -infinity with imaginary part 0.
inline StdComplex plog(StdComplex z) {
    if (z.imag() == 0.0) {
        double x = z.real();
        if (x > 0.0) return {std::log(x), 0.0};
        if (x == 0.0) return {-INFINITY, 0.0};
        if (x < 0.0) return {std::log(-x), 3.141592653589793};
    }
    return std::log(z);
}

// Principal square root with the branch cut of a +0 imaginary part.
inline StdComplex psqrt(StdComplex z) {
    if (z.imag() == 0.0) {
        double x = z.real();
        if (x >= 0.0) return {std::sqrt(x), 0.0};
        if (x < 0.0) return {0.0, std::sqrt(-x)};
    }
    return std::sqrt(z);
}
