// Reading and storing parts of a numeric matrix: x[lo:hi] addresses elements
// in storage order (a subarray), x[r, c] a block of rows and columns (a
// submatrix). Indices count from 0; a negative bound is an open side (0 as a
// lower bound, the last index as an upper bound). A part never grows the
// matrix: every index must lie inside its current shape.
//
// The caller evaluates the subscript expressions, turns each into an index
// with subscriptIndex, resolves the part against the variable's matrix, and
// then reads or stores through the resolved part. Stores check the bounds
// again, so a matrix whose shape changed since the part was resolved is never
// written outside its elements.
#pragma once

#include <cstdint>

#include "value/value.h"

// The index of one subscript value: a 1x1 number whose real part is
// truncated toward zero ("Submatrix range error" for anything else, and for
// a value outside the signed 32-bit range).
std::int32_t subscriptIndex(int line, const NRefPtr& v);

// Elements lo..hi in storage order, after normalisation: 0 <= lo, hi < count.
// lo may be greater than hi (a reversed range); reads and stores both treat
// it as the range min..max.
struct Subarray {
    std::int32_t lo;
    std::int32_t hi;
};

// A block of columns clo..chi and rows rlo..rhi, normalised like Subarray.
struct Submatrix {
    std::int32_t clo;
    std::int32_t chi;
    std::int32_t rlo;
    std::int32_t rhi;
};

// Normalises open sides against the matrix and checks the bounds:
// "Subarray size error" / "Submatrix size error".
Subarray resolveSubarray(int line, const NNum& m, std::int32_t lo, std::int32_t hi);
Submatrix resolveSubmatrix(int line, const NNum& m, std::int32_t rlo, std::int32_t rhi, std::int32_t clo,
                           std::int32_t chi);

// A new 1xN row holding elements min..max of the range in storage order.
NRefPtr readSubarray(int line, const NNum& m, Subarray s);
// A new matrix holding the block, in forward order whatever the direction.
NRefPtr readSubmatrix(int line, const NNum& m, Submatrix s);

// Stores v into the part of m in place. A 1x1 source fills the part; a larger
// one is cut to fit; a smaller one is padded with 0. v must be a number:
// "Bad assignment with void expression" for no value or a file identifier,
// "Bad type operation for submatrix" for a string. Every check happens before
// the first element changes, so a failed store leaves m as it was. v may be m
// itself (x[1:2] = x).
void storeSubarray(int line, NNum& m, Subarray s, const NRefPtr& v);
void storeSubmatrix(int line, NNum& m, Submatrix s, const NRefPtr& v);
