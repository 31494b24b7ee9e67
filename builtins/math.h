// Scalar mathematics: elementary functions, complex parts, rounding, integer
// combinatorics, max/min/lcm/gcd reductions, the associated Legendre function
// and the random generator. Element-wise built-ins apply a kernel to every
// element through op1/op2/op3.
#pragma once

#include <cstdint>

#include "exec/exec.h"

#ifndef QUARN_BUILTIN
#define QUARN_BUILTIN(name)                                                                      \
    void name([[maybe_unused]] NContext& ctx, [[maybe_unused]] int line, [[maybe_unused]] ArgList& args, \
              [[maybe_unused]] NRefPtr& result)
#endif

// Elementary functions.
QUARN_BUILTIN(bi_sin);
QUARN_BUILTIN(bi_cos);
QUARN_BUILTIN(bi_tan);
QUARN_BUILTIN(bi_asin);
QUARN_BUILTIN(bi_acos);
QUARN_BUILTIN(bi_atan);  // atan$1, atan$2
QUARN_BUILTIN(bi_sinh);
QUARN_BUILTIN(bi_cosh);
QUARN_BUILTIN(bi_tanh);
QUARN_BUILTIN(bi_asinh);
QUARN_BUILTIN(bi_acosh);
QUARN_BUILTIN(bi_atanh);
QUARN_BUILTIN(bi_exp);
QUARN_BUILTIN(bi_sqrt);
QUARN_BUILTIN(bi_cbrt);
QUARN_BUILTIN(bi_log);  // log$1, log$2
QUARN_BUILTIN(bi_log10);

// Complex parts.
QUARN_BUILTIN(bi_abs);
QUARN_BUILTIN(bi_conj);
QUARN_BUILTIN(bi_arg);
QUARN_BUILTIN(bi_real);  // real$1, re$1
QUARN_BUILTIN(bi_imag);  // imag$1, im$1

// Rounding and tests.
QUARN_BUILTIN(bi_sign);
QUARN_BUILTIN(bi_floor);
QUARN_BUILTIN(bi_ceil);
QUARN_BUILTIN(bi_round);   // round$1, round$2
QUARN_BUILTIN(bi_bround);  // bround$1, bround$2
QUARN_BUILTIN(bi_int);
QUARN_BUILTIN(bi_finite);

// Reductions (variadic).
QUARN_BUILTIN(bi_max);
QUARN_BUILTIN(bi_min);
QUARN_BUILTIN(bi_lcm);
QUARN_BUILTIN(bi_gcd);

// Integer functions.
QUARN_BUILTIN(bi_fact);
QUARN_BUILTIN(bi_perm);
QUARN_BUILTIN(bi_comb);

// Random numbers.
QUARN_BUILTIN(bi_random);  // random$0, random$1, random$2
QUARN_BUILTIN(bi_srand);   // srand$0, srand$1

// Associated Legendre function: legendre$2, legendre$3.
QUARN_BUILTIN(bi_legendre);

// The generator behind random(): 32-bit Mersenne Twister, seeded with 5489
// before the first draw unless seeded earlier.
void seedRandom(std::uint32_t seed);
std::uint32_t nextRandom();
