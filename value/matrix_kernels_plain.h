// The plain loops behind the matrix kernels for small matrices (see
// matrix_kernels.h for what each computes).
#pragma once

#include <cstdint>
#include <vector>

#include "value/value.h"

bool plainInvert(Complex* a, std::int32_t n);  // false when singular
Complex plainDeterminant(Complex* a, std::int32_t n);
std::int32_t plainRank(Complex* a, std::int32_t rows, std::int32_t cols);

// The determinant's implicit row scaling: 1 / the largest |re| + |im| of each
// row. False when a row is all zeros (the determinant is then 0 + 0i).
bool determinantRowScales(const Complex* a, std::int32_t n, std::vector<double>& scale);
