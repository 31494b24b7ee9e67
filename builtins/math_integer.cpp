// Integer functions: factorial, permutations, combinations, gcd and lcm.
// Elements are converted to 32-bit integers; arithmetic is in 64 bits.
#include <cmath>
#include <cstdint>

#include "builtins/math.h"
#include "builtins/math_reduce.h"
#include "value/convert.h"
#include "value/ops.h"

namespace {

double factorial(std::int64_t n) {
    double f = 1.0;
    // Past 170! the double is infinite; stopping there keeps fact(2^31-1) fast.
    for (std::int64_t k = 2; k <= n && std::isfinite(f); ++k) f *= static_cast<double>(k);
    return f;
}

double permutations(std::int64_t n, std::int64_t r) {
    if (n < 0 || r < 0) return 0.0;
    // One of the factors is n - n = 0.
    if (r > n) return 0.0;
    double p = 1.0;
    for (std::int64_t k = 0; k < r && std::isfinite(p); ++k) p *= static_cast<double>(n - k);
    return p;
}

double combinations(std::int64_t n, std::int64_t r) {
    if (n < 0 || r < 0) return 0.0;
    double p = permutations(n, r);
    if (std::isfinite(p)) {
        for (std::int64_t k = 2; k <= r; ++k) p /= static_cast<double>(k);
        return p;
    }
    // The falling factorial overflowed although the binomial may not: build
    // it as a running product of ratios, each at least 1, from the smaller
    // side.
    std::int64_t s = r < n - r ? r : n - r;
    double c = 1.0;
    for (std::int64_t k = 1; k <= s && std::isfinite(c); ++k)
        c = c * static_cast<double>(n - s + k) / static_cast<double>(k);
    return c;
}

Complex k_fact(int line, Complex a) { return {factorial(elementToInteger(line, a)), 0.0}; }
Complex k_perm(int line, Complex a, Complex b) {
    std::int64_t n = elementToInteger(line, a);
    std::int64_t r = elementToInteger(line, b);
    return {permutations(n, r), 0.0};
}
Complex k_comb(int line, Complex a, Complex b) {
    std::int64_t n = elementToInteger(line, a);
    std::int64_t r = elementToInteger(line, b);
    return {combinations(n, r), 0.0};
}

}  // namespace

std::int64_t gcdSigned(std::int64_t a, std::int64_t b) {
    while (b != 0) {
        std::int64_t r = a % b;
        a = b;
        b = r;
    }
    return a;
}

Complex k_gcd(int line, Complex a, Complex b) {
    std::int64_t x = elementToInteger(line, a);
    std::int64_t y = elementToInteger(line, b);
    return {static_cast<double>(gcdSigned(x, y)), 0.0};
}

Complex k_lcm(int line, Complex a, Complex b) {
    std::int64_t x = elementToInteger(line, a);
    std::int64_t y = elementToInteger(line, b);
    std::int64_t g = gcdSigned(x, y);
    // Only gcd(0, 0) is 0; the least common multiple of 0 and 0 is 0.
    if (g == 0) return {0.0, 0.0};
    return {static_cast<double>(x * (y / g)), 0.0};
}

QUARN_BUILTIN(bi_fact) { result = op1(line, args[0], k_fact); }
QUARN_BUILTIN(bi_perm) { result = op2(line, args[0], args[1], k_perm); }
QUARN_BUILTIN(bi_comb) { result = op2(line, args[0], args[1], k_comb); }
