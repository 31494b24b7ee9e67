// Pair kernels shared by the variadic reductions and the integer functions.
#pragma once

#include <cstdint>

#include "value/value.h"

std::int64_t gcdSigned(std::int64_t a, std::int64_t b);
Complex k_gcd(int line, Complex a, Complex b);
Complex k_lcm(int line, Complex a, Complex b);
Complex k_max(int line, Complex a, Complex b);
Complex k_min(int line, Complex a, Complex b);
