// The dense kernels for AVX-512 (eight doubles a vector), compiled with
// -mavx512f and never with fused multiply-add.
#include <immintrin.h>

#include <cstdint>

#include "value/dense_isa.h"

namespace dense {
namespace {

struct Simd {
    using V = __m512d;
    static constexpr int W = 8;
    static V load(const double* p) { return _mm512_load_pd(p); }
    static void store(double* p, V v) { _mm512_store_pd(p, v); }
    static V set1(double x) { return _mm512_set1_pd(x); }
    static V zero() { return _mm512_setzero_pd(); }
    static V add(V a, V b) { return _mm512_add_pd(a, b); }
    static V sub(V a, V b) { return _mm512_sub_pd(a, b); }
    static V mul(V a, V b) { return _mm512_mul_pd(a, b); }
    // a > b ? a : b in every lane (b when either is NaN).
    // (The masked form with every lane chosen: the plain one starts from an
    // undefined vector that GCC 12 warns about.)
    static V max(V a, V b) { return _mm512_mask_max_pd(b, 0xFF, a, b); }
    static V abs(V a) { return _mm512_abs_pd(a); }
    static V keepBits(V a, V mask) {
        return _mm512_castsi512_pd(_mm512_and_si512(_mm512_castpd_si512(a), _mm512_castpd_si512(mask)));
    }
};

}  // namespace
}  // namespace dense

#include "value/dense_simd.h"

const dense::Kernels& dense::avx512Kernels() {
    static constexpr Kernels table = makeKernels<4, 2, 8, 2>();
    return table;
}
