// Bridges between the value element and std::complex for the math kernels.
#pragma once

#include <complex>

#include "value/value.h"

using StdComplex = std::complex<double>;

// A zero imaginary part is taken as +0 so that the branch cuts of sqrt, log
// and arg treat every real number alike: negation turns 0 into -0, and
// sqrt(-4) must still be +2i.
inline StdComplex toStd(Complex z) { return {z.re, z.im == 0.0 ? 0.0 : z.im}; }
inline Complex fromStd(StdComplex z) { return {z.real(), z.imag()}; }
inline Complex realResult(double x) { return {x, 0.0}; }
