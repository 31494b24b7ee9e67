// The plain loops behind the matrix kernels for small matrices (see
// matrix_kernels.h for what each computes).
#pragma once

#include <cstdint>

#include "value/value.h"

bool plainInvert(Complex* a, std::int32_t n);  // false when singular
Complex plainDeterminant(Complex* a, std::int32_t n);
std::int32_t plainRank(Complex* a, std::int32_t rows, std::int32_t cols);
