// Numerical kernels on the element array of a complex matrix (row by row),
// working in place: inverse, determinant and rank. They never raise; the
// matrix built-ins check shapes and turn the outcome into a result, a
// message or the interruption. The row operations run on the dense kernels
// of value/dense.h, with the same pivots and the same bits as plain loops.
#pragma once

#include <cstdint>

#include "value/value.h"

enum class KernelOutcome { Done, Singular, Interrupted };

// Gauss-Jordan elimination with full pivoting. Done: a[] holds the inverse;
// otherwise the contents of a[] are unspecified.
KernelOutcome invertInPlace(Complex* a, std::int32_t n);

// Crout LU decomposition with implicit row scaling and partial pivoting.
// Near-singular matrices (a zero row, a pivot below 1e-10) give 0 + 0i.
// a[] is left as the decomposition leaves it. Done or Interrupted.
KernelOutcome determinantInPlace(Complex* a, std::int32_t n, Complex& determinant);

// Gaussian elimination with full pivoting; stops at the first pivot below
// 1e-10. a[] is left as the elimination leaves it. Done or Interrupted.
KernelOutcome rankInPlace(Complex* a, std::int32_t rows, std::int32_t cols, std::int32_t& rank);
