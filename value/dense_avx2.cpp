// The dense kernels for AVX2 (four doubles a vector), compiled with -mavx2
// and never with fused multiply-add.
#include <immintrin.h>

#include <cstdint>

#include "value/dense_isa.h"

namespace dense {
namespace {

struct Simd {
    using V = __m256d;
    static constexpr int W = 4;
    static V load(const double* p) { return _mm256_load_pd(p); }
    static void store(double* p, V v) { _mm256_store_pd(p, v); }
    static V set1(double x) { return _mm256_set1_pd(x); }
    static V zero() { return _mm256_setzero_pd(); }
    static V add(V a, V b) { return _mm256_add_pd(a, b); }
    static V sub(V a, V b) { return _mm256_sub_pd(a, b); }
    static V mul(V a, V b) { return _mm256_mul_pd(a, b); }
    // a > b ? a : b in every lane (b when either is NaN).
    static V max(V a, V b) { return _mm256_max_pd(a, b); }
    static V abs(V a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
    static V keepBits(V a, V mask) { return _mm256_and_pd(a, mask); }
};

}  // namespace
}  // namespace dense

#include "value/dense_simd.h"

const dense::Kernels& dense::avx2Kernels() {
    static constexpr Kernels table = makeKernels<2, 2, 4, 2>();
    return table;
}
