// Reads and in-place stores of subarrays and submatrices.
#include "value/subscript.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "value/raise.h"

std::int32_t subscriptIndex(int line, const NRefPtr& v) {
    const NNum* m = asNum(v);
    if (!m || m->cols != 1 || m->rows != 1) raiseError(line, "Submatrix range error");
    // The real part truncated toward zero; NaN and values past the 32-bit
    // range have no index (they would otherwise wrap onto some other index).
    double re = m->data[0].re;
    if (!(re > -2147483649.0 && re < 2147483648.0)) raiseError(line, "Submatrix range error");
    return static_cast<std::int32_t>(re);
}

namespace {

// Open sides become 0 and last; true when both bounds then lie below n.
bool normalise(std::int32_t& lo, std::int32_t& hi, std::int64_t n) {
    if (lo < 0) lo = 0;
    if (hi < 0) hi = static_cast<std::int32_t>(n - 1);
    return lo < n && hi < n && lo >= 0 && hi >= 0;
}

bool inside(std::int32_t lo, std::int32_t hi, std::int64_t n) { return lo >= 0 && hi >= 0 && lo < n && hi < n; }

void checkArray(int line, const NNum& m, const Subarray& s) {
    if (!inside(s.lo, s.hi, static_cast<std::int64_t>(m.count()))) raiseError(line, "Subarray size error");
}

void checkBlock(int line, const NNum& m, const Submatrix& s) {
    if (!inside(s.clo, s.chi, m.cols) || !inside(s.rlo, s.rhi, m.rows)) raiseError(line, "Submatrix size error");
}

// The source of a store as a number, with the messages of the wrong kinds.
const NNum& storeSource(int line, const NRefPtr& v) {
    if (const NNum* n = asNum(v)) return *n;
    if (asString(v)) raiseError(line, "Bad type operation for submatrix");
    raiseError(line, "Bad assignment with void expression");
}

}  // namespace

Subarray resolveSubarray(int line, const NNum& m, std::int32_t lo, std::int32_t hi) {
    if (!normalise(lo, hi, static_cast<std::int64_t>(m.count()))) raiseError(line, "Subarray size error");
    return {lo, hi};
}

Submatrix resolveSubmatrix(int line, const NNum& m, std::int32_t rlo, std::int32_t rhi, std::int32_t clo,
                           std::int32_t chi) {
    bool rowsFit = normalise(rlo, rhi, m.rows);
    bool colsFit = normalise(clo, chi, m.cols);
    if (!rowsFit || !colsFit) raiseError(line, "Submatrix size error");
    return {clo, chi, rlo, rhi};
}

NRefPtr readSubarray(int line, const NNum& m, Subarray s) {
    checkArray(line, m, s);
    std::int32_t lo = std::min(s.lo, s.hi), hi = std::max(s.lo, s.hi);
    std::int32_t n = hi - lo + 1;
    NNum* r = new NNum(n, 1, NNum::Uninit{});
    NRefPtr hold(r);
    std::memcpy(r->data, m.data + lo, static_cast<std::size_t>(n) * sizeof(Complex));
    return hold;
}

NRefPtr readSubmatrix(int line, const NNum& m, Submatrix s) {
    checkBlock(line, m, s);
    std::int32_t clo = std::min(s.clo, s.chi), chi = std::max(s.clo, s.chi);
    std::int32_t rlo = std::min(s.rlo, s.rhi), rhi = std::max(s.rlo, s.rhi);
    std::int32_t cols = chi - clo + 1, rows = rhi - rlo + 1;
    NNum* r = new NNum(cols, rows, NNum::Uninit{});
    NRefPtr hold(r);
    for (std::int32_t i = 0; i < rows; ++i)
        std::memcpy(r->data + static_cast<std::size_t>(i) * cols, &m.at(rlo + i, clo),
                    static_cast<std::size_t>(cols) * sizeof(Complex));
    return hold;
}

// Stores treat a reversed range like reads do (the range min..max), so a
// compound assignment through x[2:0] writes back the block it read.

void storeSubarray(int line, NNum& m, Subarray s, const NRefPtr& v) {
    const NNum& src = storeSource(line, v);
    checkArray(line, m, s);
    std::int32_t lo = std::min(s.lo, s.hi), hi = std::max(s.lo, s.hi);
    std::size_t n = static_cast<std::size_t>(hi - lo) + 1;
    Complex* dst = m.data + lo;
    if (src.cols == 1 && src.rows == 1) {
        std::fill(dst, dst + n, src.data[0]);
        return;
    }
    std::size_t have = std::min(n, src.count());
    // memmove: the source may be this same matrix (x[1:3] = x).
    if (have) std::memmove(dst, src.data, have * sizeof(Complex));
    std::fill(dst + have, dst + n, Complex{0.0, 0.0});
}

void storeSubmatrix(int line, NNum& m, Submatrix s, const NRefPtr& v) {
    const NNum& given = storeSource(line, v);
    checkBlock(line, m, s);
    std::int32_t clo = std::min(s.clo, s.chi), chi = std::max(s.clo, s.chi);
    std::int32_t rlo = std::min(s.rlo, s.rhi), rhi = std::max(s.rlo, s.rhi);
    std::int32_t cols = chi - clo + 1, rows = rhi - rlo + 1;
    if (given.cols == 1 && given.rows == 1) {
        const Complex z = given.data[0];
        for (std::int32_t i = 0; i < rows; ++i) std::fill(&m.at(rlo + i, clo), &m.at(rlo + i, clo) + cols, z);
        return;
    }
    // A block store from the matrix itself reads a copy, as rows may overlap
    // in any direction.
    NRefPtr copy;
    const NNum* src = &given;
    if (src == &m) {
        copy = NRefPtr(m.clone());
        src = static_cast<const NNum*>(copy.get());
    }
    std::int32_t useRows = std::min(rows, src->rows), useCols = std::min(cols, src->cols);
    for (std::int32_t i = 0; i < rows; ++i) {
        Complex* dst = &m.at(rlo + i, clo);
        std::int32_t c = 0;
        if (i < useRows) {
            std::memcpy(dst, &src->at(i, 0), static_cast<std::size_t>(useCols) * sizeof(Complex));
            c = useCols;
        }
        std::fill(dst + c, dst + cols, Complex{0.0, 0.0});
    }
}
