// The dense kernels for the x86-64 baseline (SSE2, two doubles a vector).
#include <emmintrin.h>

#include <cstdint>

#include "value/dense_isa.h"

namespace dense {
namespace {

struct Simd {
    using V = __m128d;
    static constexpr int W = 2;
    static V load(const double* p) { return _mm_load_pd(p); }
    static void store(double* p, V v) { _mm_store_pd(p, v); }
    static V set1(double x) { return _mm_set1_pd(x); }
    static V zero() { return _mm_setzero_pd(); }
    static V add(V a, V b) { return _mm_add_pd(a, b); }
    static V sub(V a, V b) { return _mm_sub_pd(a, b); }
    static V mul(V a, V b) { return _mm_mul_pd(a, b); }
    // a > b ? a : b in every lane (b when either is NaN).
    static V max(V a, V b) { return _mm_max_pd(a, b); }
    static V abs(V a) { return _mm_andnot_pd(_mm_set1_pd(-0.0), a); }
    static V keepBits(V a, V mask) { return _mm_and_pd(a, mask); }
};

}  // namespace
}  // namespace dense

#include "value/dense_simd.h"

const dense::Kernels& dense::sse2Kernels() {
    static constexpr Kernels table = makeKernels<2, 2, 4, 2>();
    return table;
}
