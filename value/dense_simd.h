// The bodies of the dense kernels, written once over a vector type. Each file
// compiled for an instruction set defines `Simd` (its vector of W doubles and
// the few operations used) in an unnamed namespace inside namespace dense and
// then includes this file, so every instantiation stays private to it.
//
// Every operation is the plain IEEE one on each lane: a product is rounded,
// then the sum or difference, exactly as the scalar code of the same
// expression does (the build forbids fused multiply-add). Where an element is
// combined with others only the loop nesting changes, never the order of the
// operations on one element.
//
// No include: this file sees only what the including file gave it.

namespace dense {
namespace {

using V = Simd::V;
constexpr int W = Simd::W;

inline double absOf(double x) { return __builtin_fabs(x); }

// x with the bits of mask kept (mask is all ones or all zeros).
inline double keepBits(double x, double mask) {
    unsigned long long a, b;
    __builtin_memcpy(&a, &x, 8);
    __builtin_memcpy(&b, &mask, 8);
    a &= b;
    __builtin_memcpy(&x, &a, 8);
    return x;
}

// ------------------------------------------------------------- product tiles

template <int MR, int NV>
void complexTile(std::int64_t kc, const double* ap, const double* bp, double* tile) {
    constexpr int NR = NV * W;
    V cr[MR][NV], ci[MR][NV];
#pragma GCC unroll 8
    for (int i = 0; i < MR; ++i)
#pragma GCC unroll 8
        for (int v = 0; v < NV; ++v) {
            cr[i][v] = Simd::load(tile + i * NR + v * W);
            ci[i][v] = Simd::load(tile + MR * NR + i * NR + v * W);
        }
    for (std::int64_t k = 0; k < kc; ++k) {
        V br[NV], bi[NV];
#pragma GCC unroll 8
        for (int v = 0; v < NV; ++v) {
            br[v] = Simd::load(bp + v * W);
            bi[v] = Simd::load(bp + NR + v * W);
        }
#pragma GCC unroll 8
        for (int i = 0; i < MR; ++i) {
            const V ar = Simd::set1(ap[2 * i]);
            const V ai = Simd::set1(ap[2 * i + 1]);
#pragma GCC unroll 8
            for (int v = 0; v < NV; ++v) {
                // sum.re + (a.re b.re - a.im b.im), sum.im + (a.re b.im + a.im b.re)
                cr[i][v] = Simd::add(cr[i][v], Simd::sub(Simd::mul(ar, br[v]), Simd::mul(ai, bi[v])));
                ci[i][v] = Simd::add(ci[i][v], Simd::add(Simd::mul(ar, bi[v]), Simd::mul(ai, br[v])));
            }
        }
        ap += 2 * MR;
        bp += 2 * NR;
    }
#pragma GCC unroll 8
    for (int i = 0; i < MR; ++i)
#pragma GCC unroll 8
        for (int v = 0; v < NV; ++v) {
            Simd::store(tile + i * NR + v * W, cr[i][v]);
            Simd::store(tile + MR * NR + i * NR + v * W, ci[i][v]);
        }
}

template <int MR, int NV>
void realTile(std::int64_t kc, const double* ap, const double* bp, double* tile) {
    constexpr int NR = NV * W;
    V c[MR][NV];
#pragma GCC unroll 8
    for (int i = 0; i < MR; ++i)
#pragma GCC unroll 8
        for (int v = 0; v < NV; ++v) c[i][v] = Simd::load(tile + i * NR + v * W);
    for (std::int64_t k = 0; k < kc; ++k) {
        V b[NV];
#pragma GCC unroll 8
        for (int v = 0; v < NV; ++v) b[v] = Simd::load(bp + v * W);
#pragma GCC unroll 8
        for (int i = 0; i < MR; ++i) {
            const V a = Simd::set1(ap[i]);
#pragma GCC unroll 8
            for (int v = 0; v < NV; ++v) c[i][v] = Simd::add(c[i][v], Simd::mul(a, b[v]));
        }
        ap += MR;
        bp += NR;
    }
#pragma GCC unroll 8
    for (int i = 0; i < MR; ++i)
#pragma GCC unroll 8
        for (int v = 0; v < NV; ++v) Simd::store(tile + i * NR + v * W, c[i][v]);
}

// ------------------------------------------------------------- row updates

// a(c) -= f * p(c) for one column.
inline void subOne(double* are, double* aim, const double* pre, const double* pim, std::int32_t c, double fr,
                   double fi) {
    const double tr = fr * pre[c] - fi * pim[c];
    const double ti = fr * pim[c] + fi * pre[c];
    are[c] = are[c] - tr;
    aim[c] = aim[c] - ti;
}

// The same for the W columns from c (a multiple of W).
inline void subVector(double* are, double* aim, const double* pre, const double* pim, std::int32_t c, V fr, V fi,
                      V& newRe, V& newIm) {
    const V pr = Simd::load(pre + c);
    const V pi = Simd::load(pim + c);
    const V tr = Simd::sub(Simd::mul(fr, pr), Simd::mul(fi, pi));
    const V ti = Simd::add(Simd::mul(fr, pi), Simd::mul(fi, pr));
    newRe = Simd::sub(Simd::load(are + c), tr);
    newIm = Simd::sub(Simd::load(aim + c), ti);
    Simd::store(are + c, newRe);
    Simd::store(aim + c, newIm);
}

inline std::int32_t roundUp(std::int32_t c) { return (c + W - 1) / W * W; }

void subScaled(double* are, double* aim, const double* pre, const double* pim, std::int32_t from, std::int32_t to,
               double fr, double fi) {
    std::int32_t c = from;
    const std::int32_t head = roundUp(from) < to ? roundUp(from) : to;
    for (; c < head; ++c) subOne(are, aim, pre, pim, c, fr, fi);
    const V vfr = Simd::set1(fr), vfi = Simd::set1(fi);
    V re, im;
    for (; c + W <= to; c += W) subVector(are, aim, pre, pim, c, vfr, vfi, re, im);
    for (; c < to; ++c) subOne(are, aim, pre, pim, c, fr, fi);
}

void subScaledKeyed(double* are, double* aim, const double* pre, const double* pim, std::int32_t to, double fr,
                    double fi, const double* mask, double* largest, double* sum) {
    const V vfr = Simd::set1(fr), vfi = Simd::set1(fi);
    V most = Simd::zero(), total = Simd::zero();
    std::int32_t c = 0;
    for (; c + W <= to; c += W) {
        V re, im;
        subVector(are, aim, pre, pim, c, vfr, vfi, re, im);
        // max(y, x) gives y > x ? y : x, the order the pivot rule compares in.
        const V key = Simd::keepBits(Simd::max(Simd::abs(im), Simd::abs(re)), Simd::load(mask + c));
        most = Simd::max(key, most);
        total = Simd::add(total, key);
    }
    alignas(64) double lanesMost[W], lanesTotal[W];
    Simd::store(lanesMost, most);
    Simd::store(lanesTotal, total);
    double best = 0.0, s = 0.0;
    for (int l = 0; l < W; ++l) {
        if (lanesMost[l] > best) best = lanesMost[l];
        s = s + lanesTotal[l];
    }
    for (; c < to; ++c) {
        subOne(are, aim, pre, pim, c, fr, fi);
        const double x = absOf(are[c]), y = absOf(aim[c]);
        const double key = keepBits(y > x ? y : x, mask[c]);
        if (key > best) best = key;
        s = s + key;
    }
    *largest = best;
    *sum = s;
}

// x - x * y for one column (the rank's clearing of row k).
inline void clearOne(double* are, double* aim, std::int32_t c, double yr, double yi) {
    const double xr = are[c], xi = aim[c];
    const double tr = xr * yr - xi * yi;
    const double ti = xr * yi + xi * yr;
    are[c] = xr - tr;
    aim[c] = xi - ti;
}

void rankRow(double* are, double* aim, const double* pre, const double* pim, std::int32_t k, std::int32_t to,
             bool eliminate, double fr, double fi, double* largest) {
    if (eliminate) subScaled(are, aim, pre, pim, 0, k + 1, fr, fi);
    const double yr = are[k], yi = aim[k];
    double best = -__builtin_inf();
    auto one = [&](std::int32_t c) {
        if (eliminate) subOne(are, aim, pre, pim, c, fr, fi);
        clearOne(are, aim, c, yr, yi);
        const double key = absOf(are[c]) + absOf(aim[c]);
        if (key > best) best = key;
    };
    std::int32_t c = k + 1;
    const std::int32_t head = roundUp(c) < to ? roundUp(c) : to;
    for (; c < head; ++c) one(c);
    const V vfr = Simd::set1(fr), vfi = Simd::set1(fi);
    const V vyr = Simd::set1(yr), vyi = Simd::set1(yi);
    V most = Simd::set1(-__builtin_inf());
    for (; c + W <= to; c += W) {
        V xr, xi;
        if (eliminate) {
            subVector(are, aim, pre, pim, c, vfr, vfi, xr, xi);
        } else {
            xr = Simd::load(are + c);
            xi = Simd::load(aim + c);
        }
        const V tr = Simd::sub(Simd::mul(xr, vyr), Simd::mul(xi, vyi));
        const V ti = Simd::add(Simd::mul(xr, vyi), Simd::mul(xi, vyr));
        const V re = Simd::sub(xr, tr), im = Simd::sub(xi, ti);
        Simd::store(are + c, re);
        Simd::store(aim + c, im);
        // max(key, most) keeps most when key is NaN.
        most = Simd::max(Simd::add(Simd::abs(re), Simd::abs(im)), most);
    }
    alignas(64) double lanes[W];
    Simd::store(lanes, most);
    for (int l = 0; l < W; ++l)
        if (lanes[l] > best) best = lanes[l];
    for (; c < to; ++c) one(c);
    if (largest) *largest = best;
}

template <int CMR, int CNV, int RMR, int RNV>
constexpr Kernels makeKernels() {
    return Kernels{CMR,       CNV * W,    complexTile<CMR, CNV>, RMR, RNV * W, realTile<RMR, RNV>,
                   subScaled, subScaledKeyed, rankRow};
}

}  // namespace
}  // namespace dense
