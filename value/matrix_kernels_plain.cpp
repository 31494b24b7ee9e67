// The inverse, determinant and rank as plain loops over the element array,
// one element at a time: the quickest way for small matrices, and the rules
// the split-row kernels of matrix_kernels.cpp follow for large ones.
#include "value/matrix_kernels_plain.h"

#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "value/ops.h"

namespace {

// Pivot magnitude used by the determinant and the rank.
inline double magnitude1(Complex z) { return std::fabs(z.re) + std::fabs(z.im); }

inline Complex csub(Complex a, Complex b) { return {a.re - b.re, a.im - b.im}; }

class Grid {
public:
    Grid(Complex* a, std::int32_t cols) : a_(a), cols_(cols) {}
    Complex& operator()(std::int32_t r, std::int32_t c) const {
        return a_[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(c)];
    }
    void swapRows(std::int32_t r1, std::int32_t r2) const {
        for (std::int32_t c = 0; c < cols_; ++c) std::swap((*this)(r1, c), (*this)(r2, c));
    }
    void swapCols(std::int32_t c1, std::int32_t c2, std::int32_t rows) const {
        for (std::int32_t r = 0; r < rows; ++r) std::swap((*this)(r, c1), (*this)(r, c2));
    }

private:
    Complex* a_;
    std::int32_t cols_;
};

}  // namespace

bool plainInvert(Complex* data, std::int32_t n) {
    Grid a(data, n);
    std::vector<std::int32_t> useCount(n, 0), pivotRow(n, 0), pivotCol(n, 0);
    for (std::int32_t i = 0; i < n; ++i) {
        double big = 0.0;
        std::int32_t irow = -1, icol = -1;
        for (std::int32_t j = 0; j < n; ++j) {
            if (useCount[j] == 1) continue;
            for (std::int32_t k = 0; k < n; ++k) {
                if (useCount[k] == 0) {
                    double x = std::fabs(a(j, k).re);
                    double y = std::fabs(a(j, k).im);
                    // The best so far is the larger part's magnitude: keeping
                    // only the real part would let a later exact zero displace
                    // an element chosen for its imaginary part. A NaN real part
                    // stays the best, as it always was for real matrices.
                    if (x >= big || y >= big) {
                        big = y > x ? y : x;
                        irow = j;
                        icol = k;
                    }
                } else if (useCount[k] > 1) {
                    return false;
                }
            }
        }
        // Only NaN elements remain: no element can serve as pivot.
        if (irow < 0) return false;
        ++useCount[icol];
        if (irow != icol) a.swapRows(irow, icol);
        pivotRow[i] = irow;
        pivotCol[i] = icol;
        Complex pivot = a(icol, icol);
        if (pivot.re == 0.0 && pivot.im == 0.0) return false;
        Complex pivinv = cdiv({1.0, 0.0}, pivot);
        // Setting the pivot to 1 first makes the inverse build up in place.
        a(icol, icol) = {1.0, 0.0};
        for (std::int32_t c = 0; c < n; ++c) a(icol, c) = cmul(a(icol, c), pivinv);
        for (std::int32_t r = 0; r < n; ++r) {
            if (r == icol) continue;
            Complex f = a(r, icol);
            a(r, icol) = {0.0, 0.0};
            for (std::int32_t c = 0; c < n; ++c) a(r, c) = csub(a(r, c), cmul(f, a(icol, c)));
        }
    }
    for (std::int32_t l = n - 1; l >= 0; --l) {
        if (pivotRow[l] != pivotCol[l]) a.swapCols(pivotRow[l], pivotCol[l], n);
    }
    return true;
}

bool determinantRowScales(const Complex* a, std::int32_t n, std::vector<double>& scale) {
    scale.resize(n);
    for (std::int32_t i = 0; i < n; ++i) {
        const Complex* row = a + static_cast<std::size_t>(i) * n;
        double big = 0.0;
        for (std::int32_t j = 0; j < n; ++j) {
            double m = magnitude1(row[j]);
            if (m > big) big = m;
        }
        if (big == 0.0) return false;
        scale[i] = 1.0 / big;
    }
    return true;
}

Complex plainDeterminant(Complex* data, std::int32_t n) {
    Grid a(data, n);
    const Complex zero{0.0, 0.0};
    std::vector<double> scale;
    if (!determinantRowScales(data, n, scale)) return zero;
    Complex d{1.0, 0.0};
    for (std::int32_t j = 0; j < n; ++j) {
        for (std::int32_t i = 0; i < j; ++i) {
            Complex sum = a(i, j);
            for (std::int32_t k = 0; k < i; ++k) sum = csub(sum, cmul(a(i, k), a(k, j)));
            a(i, j) = sum;
        }
        double big = 0.0;
        std::int32_t imax = j;
        for (std::int32_t i = j; i < n; ++i) {
            Complex sum = a(i, j);
            for (std::int32_t k = 0; k < j; ++k) sum = csub(sum, cmul(a(i, k), a(k, j)));
            a(i, j) = sum;
            double merit = scale[i] * magnitude1(sum);
            if (merit >= big) {
                big = merit;
                imax = i;
            }
        }
        if (imax != j) {
            a.swapRows(imax, j);
            d = {-d.re, -d.im};
            scale[imax] = scale[j];
        }
        if (magnitude1(a(j, j)) < 1e-10) return zero;
        if (j != n - 1) {
            Complex inv = cdiv({1.0, 0.0}, a(j, j));
            for (std::int32_t i = j + 1; i < n; ++i) a(i, j) = cmul(a(i, j), inv);
        }
    }
    for (std::int32_t j = 0; j < n; ++j) d = cmul(d, a(j, j));
    return d;
}

std::int32_t plainRank(Complex* data, std::int32_t m, std::int32_t n) {
    Grid a(data, n);
    std::int32_t count = 0;
    std::int32_t steps = m < n ? m : n;
    for (std::int32_t k = 0; k < steps; ++k) {
        std::int32_t prow = k, pcol = k;
        double big = magnitude1(a(k, k));
        for (std::int32_t i = k; i < m; ++i) {
            for (std::int32_t j = k; j < n; ++j) {
                double mag = magnitude1(a(i, j));
                if (mag > big) {
                    big = mag;
                    prow = i;
                    pcol = j;
                }
            }
        }
        if (prow != k) a.swapRows(prow, k);
        if (pcol != k) a.swapCols(pcol, k, m);
        if (magnitude1(a(k, k)) < 1e-10) break;
        // The pivot is read once: dividing it by itself first would leave the
        // rest of the row unscaled.
        Complex pivot = a(k, k);
        for (std::int32_t c = 0; c < n; ++c) a(k, c) = cdiv(a(k, c), pivot);
        for (std::int32_t i = k + 1; i < m; ++i) {
            Complex f = a(i, k);
            for (std::int32_t c = 0; c < n; ++c) a(i, c) = csub(a(i, c), cmul(f, a(k, c)));
        }
        for (std::int32_t j = k + 1; j < n; ++j) {
            for (std::int32_t r = 0; r < m; ++r) a(r, j) = csub(a(r, j), cmul(a(r, j), a(r, k)));
        }
        ++count;
    }
    return count;
}
