// Numerical kernels on the element array of a complex matrix (row by row),
// working in place: inverse, determinant and rank. They never raise; the
// matrix built-ins check shapes and turn a failed inverse into a message.
#pragma once

#include <cstdint>

#include "value/value.h"

// Gauss-Jordan elimination with full pivoting. On success a[] holds the
// inverse; on failure (singular) the contents of a[] are unspecified.
bool invertInPlace(Complex* a, std::int32_t n);

// Crout LU decomposition with implicit row scaling and partial pivoting.
// Near-singular matrices (a zero row, a pivot below 1e-10) give 0 + 0i.
// a[] is destroyed.
Complex determinantInPlace(Complex* a, std::int32_t n);

// Gaussian elimination with full pivoting; stops at the first pivot below
// 1e-10. a[] is destroyed.
std::int32_t rankInPlace(Complex* a, std::int32_t rows, std::int32_t cols);
